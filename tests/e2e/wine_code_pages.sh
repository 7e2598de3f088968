#!/usr/bin/env bash
# tavo.exe where the ANSI code page is UTF-8 (65001, Windows 10 1903 and later) or double-byte
# (932, Shift-JIS), with the conversion functions as strict as Windows makes them: what is
# published is exact, and the lookup matches characters, not bytes. Wine picks the code page
# from the locale: hi_IN has no ANSI code page of its own and gets UTF-8, ja_JP gets 932.
set -u
tavo=$1
probe=$2
source "$(dirname "$0")/lib/wine.sh"
install_for_lookup "$c_drive/scripts"
set_wine_temp 'C:\scripts'
script=$c_drive/scripts/wmac.cmd
log=$c_drive/temp/findout.txt
lookup='C:\tavo.exe /dhcp C:\leases\index.txt'
printf 'C:\\leases\\a.txt\r\n' >"$c_drive/leases/index.txt"

# in_locale LOCALE ARGS...: the probe, and so tavo.exe, with that locale's ANSI code page.
in_locale() {
  local locale=$1 out
  shift
  out=$(mktemp "$work/probe.XXXXXX")
  env LC_ALL="$locale" wine "$probe" "$@" >"$out" 2>/dev/null </dev/null
  cat "$out"
}
# stored_tavo: the user's TAVO as the registry holds it, read in UTF-16 whatever the console's
# code page.
stored_tavo() {
  wine reg export 'HKCU\Environment' "$work/env.reg" /y >/dev/null 2>&1 </dev/null
  iconv -f UTF-16 -t UTF-8 "$work/env.reg" | tr -d '\r' | sed -n 's/^"TAVO"="\(.*\)"$/\1/p'
}
lease() {  # IP MAC NAME: one lease line as the DHCP server prints it
  printf '%-16s - 255.255.255.0  - %s   - INACTIVE               -D- %s\r\n' "$@"
}

check_eq "UTF-8: the code page" "exit 0" "$(in_locale hi_IN.UTF-8 run 'C:\tavo.exe /:- 00:1A:\u03A9B')"
check_eq "UTF-8: TAVO stored" "00-1a-Ωb" "$(stored_tavo)"
check_eq "UTF-8: the script sets it" \
  "$(printf '@set tavo=\r\n@set tavo=00-1a-\xce\xa9b\r\n' | od -c)" "$(od -c <"$script")"
eventually_eq "UTF-8: clipboard" "00-1a-Ωb" probe clipboard

lease 10.0.0.5 00-11-22-33-44-55 'ws-Ωlab.corp' >"$c_drive/leases/a.txt"
rm -f "$log"
check_eq "UTF-8 lookup: exits 0" "exit 0" "$(in_locale hi_IN.UTF-8 run "$lookup \\u03A9lab")"
check_eq "UTF-8 lookup: one entry, with the host name in UTF-8" "1" \
  "$(grep -c " ws-Ωlab"$'\r$' "$log")"
check_eq "UTF-8 lookup: the address is published" "00-11-22-33-44-55" "$(stored_tavo)"

# Shift-JIS: 83 41 is one character, so "AB" after it does not begin a match.
{
  lease 10.0.0.7 66-77-88-99-aa-bb 'AB-pc.corp'
  lease 10.0.0.8 00-11-22-33-44-55 $'\x83AB-pc.corp'
} >"$c_drive/leases/a.txt"
rm -f "$log"
check_eq "932 lookup: exits 0" "exit 0" "$(in_locale ja_JP.UTF-8 run "$lookup AB")"
check_eq "932 lookup: a second byte begins no match" "1" "$(grep -c '^Searchdate:' "$log")"
check_eq "932 lookup: the match's address is published" "66-77-88-99-aa-bb" "$(stored_tavo)"
finish
