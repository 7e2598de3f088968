#!/usr/bin/env bash
# The Debian package, as `--target package` builds it: what it holds, that lintian finds no
# error in it, and that it installs, runs, shows its manual page and goes away again. It installs
# the package, so it runs as root only.
#   native_packages.sh BUILD_FOLDER
set -u
build=$(realpath "$1")
cd "$(dirname "$0")/../.."
source tests/e2e/lib/assert.sh
if [ "$(id -u)" -ne 0 ]; then
  echo "skipped: installing the package needs root"
  exit 77
fi
version=$(sed -n 's/^project(tavo VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
cmake --build "$build" --target package >/dev/null 2>&1 || give_up "the package was not built"

deb=$(ls "$build"/tavo_"$version"_*.deb)
check_eq "the Debian package holds the program, its manual page and its documents" \
  "$(printf '%s\n' ./usr/bin/tavo ./usr/share/doc/tavo/changelog.gz ./usr/share/doc/tavo/copyright \
    ./usr/share/man/man1/tavo.1.gz)" \
  "$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | LC_ALL=C sort)"
check_true "it declares the libraries it needs" 'dpkg-deb -f "$deb" Depends | grep -q libc6'
check_eq "it recommends the clipboard tools" "xclip | wl-clipboard" "$(dpkg-deb -f "$deb" Recommends)"
check_eq "lintian finds no error" "" "$(lintian "$deb" 2>/dev/null | grep '^E:')"

export DEBIAN_FRONTEND=noninteractive
apt-get install -y -qq "$deb" >/dev/null 2>&1
work=$(mktemp -d)
check_eq "installed: /usr/bin/tavo converts" "00-1a-2b" \
  "$(env -u DISPLAY -u WAYLAND_DISPLAY XDG_CONFIG_HOME="$work" TMPDIR="$work" temp="$work" \
    /usr/bin/tavo /:- 00:1A:2B 2>&1)"
check_eq "installed: man -w finds the page" "/usr/share/man/man1/tavo.1.gz" "$(man -w tavo 2>&1)"
apt-get remove -y -qq tavo >/dev/null 2>&1
check_true "removed: /usr/bin/tavo is gone" '! [ -e /usr/bin/tavo ]'
rm -rf "$work"
finish
