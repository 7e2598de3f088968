#!/usr/bin/env bash
# Installs every Debian package that tavo's builds and tests need; safe to run again.
# wine32 (for the real 32-bit tavo.exe) is installed only where this kernel runs 32-bit programs,
# and is optional: where it cannot be had, the win32 Wine suites skip and say why, and the wine64
# suites still run. A list that apt cannot fetch is not the end; a needed package that cannot be
# installed is, with its name and apt's reason.
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/runs_32bit.sh

needed=(
  cmake g++ ninja-build googletest libgtest-dev clang-format clang libclang-rt-14-dev
  g++-mingw-w64-i686-win32 binutils-mingw-w64-i686 g++-mingw-w64-x86-64-win32
  wine wine64 fonts-wine xvfb xdotool xclip x11-utils time python3 ripgrep
  dpkg-dev lintian unzip man-db strace
)
# Why the win32 Wine suites cannot run here, for them to report; absent when they can.
wine32_note=build/wine32-unavailable.txt

say() { echo "setup.sh: $*" >&2; }

if [ "$(id -u)" -ne 0 ]; then
  say "run as root (it installs Debian packages)"
  exit 1
fi

missing() {  # PACKAGE...: prints those not installed
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
  done
}

export DEBIAN_FRONTEND=noninteractive
apt=(apt-get -y -q -o DPkg::Lock::Timeout=300)
updated=no
update() {  # once a run, or again with "again": a list that fails is named, the rest are used
  [ "$updated" = yes ] && [ "${1:-}" != again ] && return 0
  updated=yes
  local log
  log=$(mktemp)
  if ! "${apt[@]}" update >"$log" 2>&1; then
    say "apt-get update could not fetch every list; going on with those that arrived:"
    # each failed list with the reason apt gave on the line after it
    awk '/^Err:/ { $1 = ""; list = $0; next } list { sub(/^ +/, ""); print "  " list ": " $0; list = "" }' \
      "$log" >&2
  fi
  rm -f "$log"
}

reason() {  # PACKAGE: apt's reason why it cannot be installed, on one line
  local log
  log=$("${apt[@]}" install -s --no-install-recommends "$1" 2>&1)
  { grep -m1 -E ' : (Pre)?Depends: |Conflicts: |Breaks: ' <<<"$log"; grep -E '^E: ' <<<"$log" | tail -1; } |
    sed -E 's/^ +//; s/ +/ /g' | paste -sd';' | sed 's/;/; /g'
}

install() {  # PACKAGE...: status 0 when all are installed; tried again after this run's update
  "${apt[@]}" install --no-install-recommends "$@" >/dev/null 2>&1 && return 0
  [ "$updated" = yes ] && return 1
  update
  "${apt[@]}" install --no-install-recommends "$@" >/dev/null 2>&1
}

mapfile -t todo < <(missing "${needed[@]}")
if [ ${#todo[@]} -gt 0 ]; then
  say "installing ${todo[*]}"
  update
  if ! install "${todo[@]}"; then
    update again  # a mirror in the middle of a sync may have settled
    status=0
    for p in "${todo[@]}"; do
      if [ -z "$(missing "$p")" ] || install "$p"; then continue; fi
      say "cannot install $p: $(reason "$p")"
      status=1
    done
    [ $status = 0 ] || exit 1
  fi
fi

mkdir -p build
if ! runs_32bit; then
  say "this kernel runs no 32-bit programs: wine32 is not installed; the wine64 suites test the" \
    "64-bit build of the same sources"
  echo "this kernel runs no 32-bit programs, so Wine cannot start the 32-bit tavo.exe" >"$wine32_note"
elif [ -n "$(missing wine32:i386)" ]; then
  dpkg --print-foreign-architectures | grep -qx i386 || { dpkg --add-architecture i386 && update again; }
  if install wine32:i386; then
    rm -f "$wine32_note"
  else
    why=$(reason wine32:i386)
    say "wine32:i386 cannot be installed, so the win32 Wine suites will skip: $why"
    echo "wine32:i386 could not be installed: $why" >"$wine32_note"
  fi
else
  rm -f "$wine32_note"
fi
say "all needed packages present"
