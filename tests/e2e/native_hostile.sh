#!/usr/bin/env bash
# The Linux tavo on long and odd input: a 32,767-character command line, a 1 MB pasted line,
# a 100 MB listing line without a line end, NUL and other bytes in listings, and index files
# that name themselves, a folder or a device. Nothing may crash, hang or write elsewhere.
set -u
tavo=$1
source "$(dirname "$0")/assert.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/tmp"
# run ARGS...: as in the command-line test, with every file tavo may write inside $work/tmp.
run() {
  env -u DISPLAY -u WAYLAND_DISPLAY XDG_CONFIG_HOME="$work/tmp/config" TMPDIR="$work/tmp" \
    XDG_STATE_HOME="$work/tmp/state" temp="$work/tmp" timeout 120 "$tavo" "$@" \
    >"$work/out.txt" 2>"$work/err.txt"
  echo "exit $?"
}
peak_kib() {  # ARGS...: tavo's peak resident memory
  # Freed blocks that AddressSanitizer holds back to catch a use after free are not tavo's.
  ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}quarantine_size_mb=0" \
    env -u DISPLAY XDG_CONFIG_HOME="$work/tmp/config" TMPDIR="$work/tmp" temp="$work/tmp" \
    XDG_STATE_HOME="$work/tmp/state" /usr/bin/time -f %M -o "$work/time.txt" "$tavo" "$@" >/dev/null 2>&1 </dev/null
  cat "$work/time.txt"
}

# A command line as long as Windows allows: the switch and one address of 32,750 characters.
address=$(printf '0A:%.0s' $(seq 10916))0A
check_eq "a 32,767-character command line converts" "exit 0" "$(run /:- "$address" </dev/null)"
check_eq "its result is whole" "32750" "$(tr -d '\n' <"$work/out.txt" | wc -c)"

# A pasted line of 1 MB: the last word is converted, the rest kept out of the way.
head -c 1048576 /dev/zero | tr '\0' 'x' >"$work/paste.txt"
printf ' 00-1A-2B\n' >>"$work/paste.txt"
check_eq "a 1 MB paste" "exit 0" "$(run <"$work/paste.txt")"
check_eq "a 1 MB paste converts its last word" "00:1a:2b" "$(cat "$work/out.txt")"

# Listings with NUL bytes, bytes above 127, lone CR and LF, and a 100 MB line without an end.
printf '%s\r\n' "$work/good" >"$work/index.txt"
{
  printf '10.0.0.1 - m - 00:1A - l - D- ws\0a.x\r'
  printf '10.0.0.2 - m - 00:1B - l - D- \xff\xfe\xe4.x\n10.0.0.3 - m - 00:1C - l - D- ws-c.x\r\n'
  printf '\n\r\r\nws\n'
} >"$work/good"
check_eq "odd bytes in a listing" "exit 0" "$(run /dhcp "$work/index.txt" ws)"
check_eq "odd bytes: each lease line converted" $'00-1a\n00-1b' "$(cat "$work/out.txt")"
check_eq "odd bytes: two log entries" "2" "$(grep -ac '^Searchdate:' "$work/tmp/state/tavo/findout.txt")"
check_eq "odd bytes: NUL and U+FFFD reach the log as UTF-8" "yes" \
  "$(grep -aq $'ws\x00a' "$work/tmp/state/tavo/findout.txt" && grep -aq $'\xef\xbf\xbd' "$work/tmp/state/tavo/findout.txt" && echo yes || echo no)"

{ head -c 104857600 /dev/zero | tr '\0' 'y'; printf ' - m - 00:1A - l - D- ws.x'; } >"$work/good"
printf '%s\r\n' "$work/good" >"$work/index.txt"
check_eq "a 100 MB line without a line end" "exit 0" "$(run /dhcp "$work/index.txt" ws.x)"
check_eq "it is one lease" "00-1a" "$(cat "$work/out.txt")"
kib=$(peak_kib /dhcp "$work/index.txt" absent)
check_eq "its memory grows only with the line (under 3 x 100 MB)" "yes" \
  "$([ "$kib" -lt 307200 ] && echo yes || echo no)"
rm -f "$work/good"

# Index files that name themselves, a folder, or a device.
printf '%s\r\n' "$work/index.txt" >"$work/index.txt"
check_eq "an index naming itself is searched as a listing" "exit 0" \
  "$(run /dhcp "$work/index.txt" index)"
for target in "$work" /dev/null /dev/zero /dev/stdin; do
  printf '%s\r\n' "$target" >"$work/index.txt"
  check_eq "an index naming $target fails at once" "exit 1" \
    "$(run /dhcp "$work/index.txt" x </dev/null)"
  check_eq "an index naming $target: the message" "tavo: cannot open $target: not a plain file" \
    "$(cat "$work/err.txt")"
done
mkfifo "$work/pipe"
printf '%s\r\n' "$work/pipe" >"$work/index.txt"
check_eq "a pipe in the index is refused without waiting for a writer" "exit 1" \
  "$(run /dhcp "$work/index.txt" x)"

check_eq "nothing written outside the work folders" "" \
  "$(find "$work" -newer "$work/paste.txt" -type f ! -path "$work/tmp/*" ! -name '*.txt' \
      ! -name good)"
finish
