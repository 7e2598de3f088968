#!/usr/bin/env bash
# Installs what is needed, builds tavo for Linux and Windows, and starts the Linux tavo: each
# line typed (or piped) in is pasted into its input box; end of input closes it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh >/dev/null
for preset in native win32; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" >/dev/null
done
echo "built build/native/tavo and build/win32/tavo.exe" >&2
exec build/native/tavo "$@"
