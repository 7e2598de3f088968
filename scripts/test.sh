#!/usr/bin/env bash
# Installs what is needed, checks the formatting, builds every preset and runs every test:
# native unit and program tests, the same under AddressSanitizer and UBSan and under
# ThreadSanitizer, tavo.exe under Wine (or, where the kernel cannot run 32-bit programs, the same
# sources built for wine64), the release packages (built, checked, installed and removed, by the
# win32 and native presets), the programs built as a packager builds them, without the tests
# or googletest, and each fuzz target for a bounded time (FUZZ_SECONDS, default 60) from its
# seeds. WINE_REPEAT=N runs each Wine suite N times in a row, stopping at the first failure
# (default 1).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
status=0
echo "== format"
# shellcheck disable=SC2046
clang-format --dry-run -Werror $(git ls-files '*.cpp' '*.h' 2>/dev/null || find src tests tools bench fuzz -name '*.cpp' -o -name '*.h') || status=1
for preset in native asan tsan win32 wine64; do
  echo "== $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  repeat=()
  case $preset in win32 | wine64) repeat=(--repeat "until-fail:${WINE_REPEAT:-1}") ;; esac
  ctest --preset "$preset" "${repeat[@]}" || status=1
done
echo "== packagers' builds: the programs alone, googletest not looked for"
for preset in native win32; do
  folder=build/$preset-packager
  cmake --preset "$preset" -B "$folder" -DBUILD_TESTING=OFF -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON \
    -Wno-dev >/dev/null 2>&1 && cmake --build "$folder" >/dev/null || status=1
done
[ -x build/native-packager/tavo ] && [ -f build/win32-packager/tavo.exe ] &&
  [ ! -e build/native-packager/tavo_unit_tests ] || { echo "packagers' builds: wrong programs"; status=1; }
echo "== fuzz"
bash scripts/fuzz.sh "${FUZZ_SECONDS:-60}" || status=1
exit $status
