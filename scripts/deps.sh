#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the benchmarks need. Safe to run again:
# nothing is downloaded when everything is already there.
set -euo pipefail

native=(
  build-essential cmake ninja-build pkg-config git clang clang-format
  libgtest-dev libgmock-dev libbenchmark-dev
  libpcre2-dev libicu-dev libsqlite3-dev sqlite3 libsimpleini-dev
  qemu-user gcc-multilib g++-multilib
)
# i386 builds of the libraries the plug-in and its tests link against.
i386=(libgtest-dev:i386 libgmock-dev:i386 libpcre2-dev:i386 libicu-dev:i386 libsqlite3-dev:i386)

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

missing() {
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' || echo "$p"
  done
}

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
  need_update=1
fi

todo=$(missing "${native[@]}" "${i386[@]}")
if [ -n "$todo" ]; then
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  # shellcheck disable=SC2086
  $sudo apt-get install -y -qq --no-install-recommends $todo
elif [ "${need_update:-0}" = 1 ]; then
  $sudo apt-get update -qq
fi
