#!/usr/bin/env bash
# Builds the plug-in and its tools, then loads the plug-in the way a host does and prints its
# version and the answers of its query exports.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh
cmake --preset default >/dev/null
cmake --build --preset default
exec build/default/bin/webrill-probe "$@"
