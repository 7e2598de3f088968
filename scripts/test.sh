#!/usr/bin/env bash
# Installs what is needed, builds every preset and runs every test: native unit and program
# tests, the same under AddressSanitizer and UBSan, and tavo.exe under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
status=0
for preset in native asan win32; do
  echo "== $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset" || status=1
done
exit $status
