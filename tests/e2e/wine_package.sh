#!/usr/bin/env bash
# The Windows release, as `--target package` builds it: the zip holds exactly the exe that the
# tests ran, the guide with its sections, and the licence, with CR LF line ends.
#   wine_package.sh BUILD_FOLDER
set -u
build=$(realpath "$1")
cd "$(dirname "$0")/../.."
source tests/e2e/lib/assert.sh
version=$(sed -n 's/^project(tavo VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
cmake --build "$build" --target package >/dev/null 2>&1 || give_up "the package was not built"

zip=$build/tavo-$version-win32.zip
check_eq "the zip holds exactly the exe, the guide and the licence" $'LICENSE.txt\nguide.txt\ntavo.exe' \
  "$(unzip -Z1 "$zip" | LC_ALL=C sort)"
check_eq "its tavo.exe is the one the tests ran" "same" \
  "$(unzip -p "$zip" tavo.exe | cmp -s - "$build/tavo.exe" && echo same || echo different)"
for text in guide.txt LICENSE.txt; do
  check_eq "$text ends every line with CR LF" "0" "$(unzip -p "$zip" "$text" | grep -vc $'\r$')"
done
check_eq "the guide shows no picture's markup" "0" "$(unzip -p "$zip" guide.txt | grep -c '!\[')"
for section in "The command line" "The lease lookup" "Where every result goes" "Windows versions"; do
  check_eq "the guide has \"$section\"" "yes" \
    "$(unzip -p "$zip" guide.txt | grep -q "^## $section"$'\r$' && echo yes || echo no)"
done

finish
