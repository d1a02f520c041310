#!/usr/bin/env bash
# The plug-in exports exactly the twelve functions of the host interface. On i386 each takes its
# argument by the standard calling convention: the callee removes the 4-byte record pointer.
set -euo pipefail
plugin=$1
expected="ExecutePluginCommand GetAppMinVersion GetCustomCommands GetData GetEvents GetLogEx GetModuleDescription GetModuleType GetPluginIntfVersion MultiThreadSupport ProcessData ShowOptionsDialog"
actual=$(nm -D --defined-only "$plugin" | awk '$2 ~ /^[TtWw]$/ || $2 ~ /^[BDRV]$/ {print $3}' | sort | tr '\n' ' ' | sed 's/ $//')
if [ "$actual" != "$expected" ]; then
  echo "exported: $actual"
  echo "expected: $expected"
  exit 1
fi
if file -L "$plugin" | grep -q 'ELF 32-bit'; then
  disassembly=$(objdump -d --no-show-raw-insn "$plugin")
  for fn in $expected; do
    if [ "$fn" = GetPluginIntfVersion ]; then want='ret *$'; else want='ret +\$0x4'; fi
    body=$(awk -v f="<$fn>:" '$2 == f {on=1; next} on && /^$/ {exit} on' <<<"$disassembly")
    if ! grep -Eq "$want" <<<"$body"; then
      echo "$fn does not return with '$want':"
      echo "$body" | tail -5
      exit 1
    fi
  done
  echo "stdcall returns checked"
fi
echo "exports ok: $expected"
