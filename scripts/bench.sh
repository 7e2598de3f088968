#!/usr/bin/env bash
# Builds the native preset and measures the lease lookup against grep -F and ripgrep.
#   scripts/bench.sh [--wine] [SIZE_MB [RUNS [FOLDER]]]     defaults: 256 MB, 15 runs, temp folder
# With --wine, tavo.exe's scan under Wine is compared with the native scan too: the real
# tavo.exe where this kernel runs 32-bit programs and wine32 is installed, else the wine64 build of the same sources.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh >/dev/null
cmake --preset native >/dev/null
cmake --build --preset native --target tavo lookup_bench >/dev/null
if [ "${1:-}" = --wine ]; then
  shift
  source scripts/runs_32bit.sh
  if runs_32bit && [ -x /usr/lib/wine/wine ]; then
    preset=win32 loader=wine
  else
    preset=wine64 loader=/usr/lib/wine/wine64
    export WINELOADER=$loader
  fi
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --target tavo plain_read >/dev/null
  wine_work=$(mktemp -d)
  export WINEPREFIX=$wine_work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  source tests/e2e/lib/xvfb.sh
  start_xvfb "$wine_work"
  trap 'WINEPREFIX=$WINEPREFIX wineserver -k >/dev/null 2>&1; kill $xvfb_pid; rm -rf "$wine_work"' EXIT
  "$loader" wineboot -i >/dev/null 2>&1 </dev/null
  wineserver -p >/dev/null 2>&1 </dev/null || true  # already running after wineboot
  mkdir -p "$WINEPREFIX/drive_c/temp"
  export TAVO_WINE_EXE=$PWD/build/$preset/tavo.exe TAVO_WINE=$loader
  export TAVO_WINE_PLAIN=$PWD/build/$preset/plain_read.exe
  build/native/lookup_bench build/native/tavo "$@"
else
  exec build/native/lookup_bench build/native/tavo "$@"
fi
