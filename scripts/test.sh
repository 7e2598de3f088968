#!/usr/bin/env bash
# Installs what is needed, checks the formatting, builds every preset and runs every test:
# native unit and program tests, the same under AddressSanitizer and UBSan, and tavo.exe
# under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
status=0
echo "== format"
# shellcheck disable=SC2046
clang-format --dry-run -Werror $(git ls-files '*.cpp' '*.h' 2>/dev/null || find src tests tools -name '*.cpp' -o -name '*.h') || status=1
for preset in native asan win32; do
  echo "== $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset" || status=1
done
exit $status
