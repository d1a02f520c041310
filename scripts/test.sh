#!/usr/bin/env bash
# Installs what is missing, then configures, builds and tests every preset that CI checks.
# Exits non-zero on the first failure.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh
presets=${WEBRILL_PRESETS:-"default i386 asan tsan"}
for preset in $presets; do
  echo "== $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done
