#!/usr/bin/env bash
# The Linux tavo on long and odd input: a 32,767-character command line, a 1 MB pasted line,
# a 100 MB listing line without a line end, NUL and other bytes in listings, and index files
# that name themselves, a folder or a device. Nothing may crash, hang or write elsewhere.
set -u
tavo=$1
source "$(dirname "$0")/lib/native.sh"
# strace records every call that makes, writes or removes a file, so that a write outside the
# places shows, /tmp and the real home folder included.
runner=(timeout 120)
if strace -f -qq -o /dev/null true 2>/dev/null; then
  # LeakSanitizer cannot run under a tracer; the other suites look for leaks.
  tavo_env+=(ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0")
  runner+=(strace -f -qq -o "$work/trace.txt" -A
    -e trace=open,openat,creat,mkdir,mkdirat,unlink,unlinkat,rename,renameat,renameat2,link,symlink,truncate)
else
  echo "note: strace cannot trace here; writes outside the work folders are looked for in them only"
fi
# written_outside: each path that a successful traced call made, wrote, renamed or removed and
# that lies outside $places (a relative one counts as outside).
written_outside() {
  [ -f "$work/trace.txt" ] || return 0
  awk '!/= -1 / && (!/^[0-9]+ +(open|openat)\(/ || /O_WRONLY|O_RDWR|O_CREAT|O_TRUNC/)' \
    "$work/trace.txt" | grep -oE '"[^"]*"' | tr -d '"' | grep -vE "^($places|$work/sanitizer)/" | sort -u
}
peak_kib() {  # ARGS...: tavo's peak resident memory
  # Freed blocks that AddressSanitizer holds back to catch a use after free are not tavo's.
  "${tavo_env[@]}" ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}quarantine_size_mb=0" \
    /usr/bin/time -f %M -o "$work/time.txt" "$tavo" "$@" >/dev/null 2>&1 </dev/null
  cat "$work/time.txt"
}

# A command line as long as Windows allows: the switch and one address of 32,750 characters.
address=$(printf '0A:%.0s' $(seq 10916))0A
check_eq "a 32,767-character command line converts" "exit 0" "$(status /:- "$address" </dev/null)"
check_eq "its result is whole" "32750" "$(tr -d '\n' <"$work/out.txt" | wc -c)"

# A pasted line of 1 MB: the last word is converted, the rest kept out of the way.
head -c 1048576 /dev/zero | tr '\0' 'x' >"$work/paste.txt"
printf ' 00-1A-2B\n' >>"$work/paste.txt"
check_eq "a 1 MB paste" "exit 0" "$(status <"$work/paste.txt")"
check_eq "a 1 MB paste converts its last word" "00:1a:2b" "$(cat "$work/out.txt")"

# Listings with NUL bytes, bytes above 127, lone CR and LF, and a 100 MB line without an end.
printf '%s\r\n' "$work/good" >"$work/index.txt"
{
  printf '10.0.0.1 - m - 00:1A - l - D- ws\0a.x\r'
  printf '10.0.0.2 - m - 00:1B - l - D- \xff\xfe\xe4.x\n10.0.0.3 - m - 00:1C - l - D- ws-c.x\r\n'
  printf '\n\r\r\nws\n'
} >"$work/good"
check_eq "odd bytes in a listing" "exit 0" "$(status /dhcp "$work/index.txt" ws)"
check_eq "odd bytes: each lease line converted" $'00-1a\n00-1b' "$(cat "$work/out.txt")"
check_eq "odd bytes: two log entries" "2" "$(grep -ac '^Searchdate:' "$state/findout.txt")"
check_eq "odd bytes: NUL and U+FFFD reach the log as UTF-8" "yes" \
  "$(grep -aq $'ws\x00a' "$state/findout.txt" && grep -aq $'\xef\xbf\xbd' "$state/findout.txt" && echo yes || echo no)"

{ head -c 104857600 /dev/zero | tr '\0' 'y'; printf ' - m - 00:1A - l - D- ws.x'; } >"$work/good"
printf '%s\r\n' "$work/good" >"$work/index.txt"
check_eq "a 100 MB line without a line end" "exit 0" "$(status /dhcp "$work/index.txt" ws.x)"
check_eq "it is one lease" "00-1a" "$(cat "$work/out.txt")"
# Many short lines: memory stays flat, whatever the listing's size: a large listing is read a
# few megabytes at a time, whether it is 50 or 100 MB. Natively the whole run stays under 16 MB.
write_lines() {  # COUNT: lease lines without the term, CR LF each
  awk -v n="$1" 'BEGIN { for (i = 0; i < n; i++) printf "10.0.%d.%d - 255.255.0.0 - 00-1a-2b-%06x - NEVER -D- ws%d.x\r\n", i / 256 % 256, i % 256, i, i }'
}
write_lines 750000 >"$work/good"
half_kib=$(peak_kib /dhcp "$work/index.txt" absent)
write_lines 1500000 >"$work/good"
big_kib=$(peak_kib /dhcp "$work/index.txt" absent)
check_true "100 MB of short lines take no more memory than 50 MB, give or take 4 MB" \
  '[ "$big_kib" -lt $((half_kib + 4096)) ]' "$big_kib KiB against $half_kib KiB"
sanitized=$(ldd "$tavo" 2>/dev/null | grep -cE 'libasan|libtsan')
if [ "$sanitized" = 0 ]; then
  check_true "100 MB of short lines: under 16 MB in all" '[ "$big_kib" -lt 16384 ]' "$big_kib KiB"
fi

# A sparse line of 1.4 GB (it costs no disk) before a lease line: found, in flat memory.
rm -f "$work/good"
truncate -s 1400M "$work/good"
printf '\r\n10.0.0.9 - m - 00:1A - l - D- ws.x\r\n' >>"$work/good"
check_eq "a 1.4 GB line before a lease: found" $'00-1a\nexit 0' "$(run /dhcp "$work/index.txt" ws.x)"
if [ "$sanitized" = 0 ]; then
  kib=$(peak_kib /dhcp "$work/index.txt" ws.x)
  check_true "a 1.4 GB line before a lease: under 16 MB" '[ "$kib" -lt 16384 ]' "$kib KiB"
fi

# The 1.4 GB line cut to 100 MB as soon as tavo has it open: tavo meets the end of the file
# there and ends with status 0, having found nothing.
rm -f "$work/good"
truncate -s 1400M "$work/good"
printf '\r\n10.0.0.9 - m - 00:1A - l - D- ws.x\r\n' >>"$work/good"
(cd "$places/cwd" && exec "${tavo_env[@]}" "$tavo" /dhcp "$work/index.txt" ws.x \
  >"$work/out.txt" 2>"$work/err.txt") &
cutting=$!
for _ in $(seq 1000); do
  [ "$(readlink /proc/$cutting/fd/* 2>/dev/null | grep -c "^$work/good$")" -gt 0 ] && break
  sleep 0.005
done
truncate -s 100M "$work/good"
wait "$cutting"
check_eq "a listing cut while read: exit 0, nothing found, no message" "0||" \
  "$?|$(cat "$work/out.txt")|$(grep -v '^==' "$work/err.txt")"

# A listing cut shorter while tavo reads it, as a DHCP server rewriting it does: tavo ends as
# after any listing, with status 0 and no crash, and has logged, in order, the matches of what it
# read before it met the cut. Each match is published, which makes the reading slow enough for
# the cut to come in its middle. (Under 16 MB, the listing is read on one thread.)
awk 'BEGIN { for (i = 0; i < 200000; i++) printf "10.%d.%d.%d - 255.255.0.0 - 00-1a-2b-%06x - NEVER -D- %s%d.x\r\n", i / 65536, i / 256 % 256, i % 256, i, (i % 50 == 0 ? "hit" : "ws"), i }' \
  >"$work/good"
tr -d '\n' <"$work/good" | tr '\r' '\n' | grep ' hit' | awk '{ print $1 }' >"$work/hits.txt"
rm -f "$state/findout.txt"
(cd "$places/cwd" && "${tavo_env[@]}" "$tavo" /dhcp "$work/index.txt" hit >/dev/null 2>"$work/err.txt") &
cutting=$!
sleep 0.2
truncate -s $(($(stat -c %s "$work/good") / 3)) "$work/good"
wait "$cutting"
check_eq "a listing cut while read: exit 0, no message" "0|" "$?|$(cat "$work/err.txt")"
tr -d '\r' <"$state/findout.txt" | grep -a 'IPaddress:' | awk '{ print $NF }' >"$work/logged.txt"
count=$(wc -l <"$work/logged.txt")
check_true "a listing cut while read: the first matches, in order" \
  'head -n "$count" "$work/hits.txt" | cmp -s - "$work/logged.txt"' "$count"
check_true "a listing cut while read: the cut came while it read" \
  '[ "$count" -gt 0 ] && [ "$count" -lt 4000 ]' "$count matches"

rm -f "$work/good"

# Index files that name themselves, a folder, or a device.
printf '%s\r\n' "$work/index.txt" >"$work/index.txt"
check_eq "an index naming itself is searched as a listing" "exit 0" \
  "$(status /dhcp "$work/index.txt" index)"
for target in "$work" /dev/null /dev/zero /dev/stdin; do
  printf '%s\r\n' "$target" >"$work/index.txt"
  check_eq "an index naming $target fails at once" "exit 1" \
    "$(status /dhcp "$work/index.txt" x </dev/null)"
  check_eq "an index naming $target: the message" "tavo: cannot open $target: not a plain file" \
    "$(cat "$work/err.txt")"
done
mkfifo "$work/pipe"
printf '%s\r\n' "$work/pipe" >"$work/index.txt"
check_eq "a pipe in the index is refused without waiting for a writer" "exit 1" \
  "$(status /dhcp "$work/index.txt" x)"

check_eq "nothing written outside the places tavo may write" "" "$(written_outside)"
check_eq "what tavo wrote in its places" \
  "config/tavo/registry|runtime/wmac.cmd|state/tavo/datas.txt|state/tavo/findout.txt" \
  "$(cd "$places" && find . -type f | sed 's|^\./||' | sort | paste -sd'|')"
finish
