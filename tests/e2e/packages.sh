#!/usr/bin/env bash
# The release packages, as built by `--target package` in the win32 and native presets: what each
# holds, that lintian finds no error in the Debian package, and that it installs, runs, shows its
# manual page and goes away again. Run as root (it installs the package).
set -u
cd "$(dirname "$0")/../.."
source tests/e2e/assert.sh
version=$(sed -n 's/^project(tavo VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)

zip=build/win32/tavo-$version-win32.zip
check_eq "the zip holds exactly the exe, the guide and the licence" $'LICENSE.txt\nguide.txt\ntavo.exe' \
  "$(unzip -Z1 "$zip" | LC_ALL=C sort)"
check_eq "its tavo.exe is the one the tests ran" "same" \
  "$(unzip -p "$zip" tavo.exe | cmp -s - build/win32/tavo.exe && echo same || echo different)"
for text in guide.txt LICENSE.txt; do
  check_eq "$text ends every line with CR LF" "0" "$(unzip -p "$zip" "$text" | grep -vc $'\r$')"
done
for section in "The command line" "The lease lookup" "Where every result goes" "Windows versions"; do
  check_eq "the guide has \"$section\"" "yes" \
    "$(unzip -p "$zip" guide.txt | grep -q "^## $section"$'\r$' && echo yes || echo no)"
done

deb=$(ls build/native/tavo_"$version"_*.deb)
check_eq "the Debian package holds the program, its manual page and its documents" \
  "$(printf '%s\n' ./usr/bin/tavo ./usr/share/doc/tavo/changelog.gz ./usr/share/doc/tavo/copyright \
    ./usr/share/man/man1/tavo.1.gz)" \
  "$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | LC_ALL=C sort)"
check_eq "it declares the libraries it needs" "yes" \
  "$(dpkg-deb -f "$deb" Depends | grep -q 'libc6' && echo yes || echo no)"
check_eq "it recommends the clipboard tools" "xclip | wl-clipboard" "$(dpkg-deb -f "$deb" Recommends)"
check_eq "lintian finds no error" "" "$(lintian "$deb" 2>/dev/null | grep '^E:')"

export DEBIAN_FRONTEND=noninteractive
apt-get install -y -qq "./$deb" >/dev/null 2>&1
work=$(mktemp -d)
check_eq "installed: /usr/bin/tavo converts" "00-1a-2b" \
  "$(env -u DISPLAY -u WAYLAND_DISPLAY XDG_CONFIG_HOME="$work" TMPDIR="$work" temp="$work" \
    /usr/bin/tavo /:- 00:1A:2B 2>&1)"
check_eq "installed: man -w finds the page" "/usr/share/man/man1/tavo.1.gz" "$(man -w tavo 2>&1)"
apt-get remove -y -qq tavo >/dev/null 2>&1
check_eq "removed: /usr/bin/tavo is gone" "no" "$([ -e /usr/bin/tavo ] && echo yes || echo no)"
rm -rf "$work"
finish
