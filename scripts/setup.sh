#!/usr/bin/env bash
# Installs every Debian package that tavo's builds and tests need; safe to run again.
set -euo pipefail

packages=(
  cmake g++ ninja-build googletest libgtest-dev clang-format clang libclang-rt-14-dev
  g++-mingw-w64-i686-win32 binutils-mingw-w64-i686 g++-mingw-w64-x86-64-win32
  wine wine32:i386 wine64 xvfb xdotool xclip x11-utils time python3 ripgrep
  dpkg-dev lintian unzip man-db strace
)

if [ "$(id -u)" -ne 0 ]; then
  echo "setup.sh: run as root (it installs Debian packages)" >&2
  exit 1
fi

missing() {
  local p
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
  done
}

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi

todo=$(missing)
if [ -n "$todo" ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  # shellcheck disable=SC2086
  apt-get install -y -qq --no-install-recommends $todo
fi
echo "setup.sh: all packages present"
