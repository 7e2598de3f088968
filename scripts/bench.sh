#!/usr/bin/env bash
# Builds the native preset and measures the lease lookup against grep -F.
#   scripts/bench.sh [SIZE_MB [RUNS [FOLDER]]]     defaults: 256 MB, 5 runs, the temporary folder
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh >/dev/null
cmake --preset native >/dev/null
cmake --build --preset native --target tavo lookup_bench >/dev/null
exec build/native/lookup_bench build/native/tavo "$@"
