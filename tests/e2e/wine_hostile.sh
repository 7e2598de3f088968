#!/usr/bin/env bash
# tavo.exe under Wine on long and odd input and under faults: the longest command line, a 1 MB
# paste, index files that name themselves, a folder or a device, a log that cannot be written
# and a listed file that is gone. Each gives its status and message and loses nothing already
# written.
set -u
tavo=$1
probe=$2
source "$(dirname "$0")/lib/wine.sh"
source "$(dirname "$0")/lib/cases.sh"
install_for_lookup
# No script console may take the focus from the window here.
set_wine_temp 'C:\no-such-folder'
log=$c_drive/temp/findout.txt
write_listing "$c_drive/leases/a.txt"
lookup='C:\tavo.exe /dhcp C:\leases\index.txt lab7'
index() { printf '%s\r\n' "$@" >"$c_drive/leases/index.txt"; }
fails_with() {  # NAME MESSAGE-START: the last run ended with status 1 and that message
  check_eq "$1: status" "exit 1" "$(head -1 <<<"$result")"
  check_eq "$1: message" "tavo: $2" "$(sed -n 2p <<<"$result" | cut -c1-$((${#2} + 6)))"
}

# The longest command line Windows takes: 32,766 characters and the terminating zero.
check_eq "32,767-character command line" "exit 0" \
  "$(probe run-long 'C:\tavo.exe /:- ' '0A:' 32766)"
clipboard_length() { settled_clipboard | wc -c; }
eventually_eq "its whole result is on the clipboard" "32750" clipboard_length
check_eq "and stored for later sessions" "32750" "$(published_tavo | wc -c)"

# A paste of 1 MB into the window: all of it arrives, and its last word is converted.
start_tavo
probe paste-long x 1048576 ' 00-1A-2B'
# Wine hands the paste over through its clipboard service, and tavo defers its handler.
eventually_eq "1 MB paste: all of it in Text1" "1048585" probe textlength Text1
eventually_eq "1 MB paste: the last word converted" "00:1a:2b" probe gettext Text2
close_tavo "1 MB paste"

# Index files that name themselves, a folder or a device.
index 'C:\leases\index.txt'
result=$(probe run "$lookup")
check_eq "an index naming itself is searched like a listing" "exit 0" "$result"
for target in 'C:\leases' NUL CON; do
  index "$target"
  result=$(probe run "$lookup")
  fails_with "an index naming $target" "cannot open $target"
done

# A log that cannot be written (a folder stands in its place: tests run as root, for whom
# Wine's read-only files stay writable): the match's summary is on the clipboard, and what
# was there stays.
index 'C:\leases\a.txt'
rm -f "$log"
mkdir "$log"
printf 'old entry\r\n' >"$log/kept.txt"
result=$(probe run "$lookup")
fails_with "unwritable findout.txt" 'cannot open c:\temp\findout.txt'
check_eq "unwritable findout.txt: what was there stays" "old entry" "$(tr -d '\r' <"$log/kept.txt")"
first_clipboard_line() { settled_clipboard | head -1 | tr -d '\r'; }
eventually_eq "unwritable findout.txt: the summary is on the clipboard" "Hostname ws-lab7" \
  first_clipboard_line
check_eq "unwritable findout.txt: the conversion published TAVO" "3c-52-82-0f-1e-77" \
  "$(published_tavo)"
rm -rf "$log"

# A clipboard that another program holds refuses the lookup's summary: the lookup ends there,
# after the match's conversion published its address and before its log entry.
index 'C:\leases\a.txt'
rm -f "$log"
hold_clipboard
result=$(probe run "$lookup")
fails_with "a held clipboard" "the clipboard is held by another program"
check_eq "a held clipboard: the match's address is published" "3c-52-82-0f-1e-77" \
  "$(published_tavo)"
check_true "a held clipboard: no entry logged for the match" '! [ -s "$log" ]'
release_clipboard "a held clipboard"

# A sparse line of 1.4 GB (it costs no disk) before a lease line: found, tavo.exe growing by
# less than 16 MB over a run on a small listing. Then the same listing cut to 100 MB as soon as
# tavo.exe has it open, as a program rewriting it does: tavo.exe ends with status 0, having met
# the end of the file there.
sparse_run() {  # INDEX: tavo.exe looks for ws.x; "STATUS PEAK_KIB"
  /usr/bin/time -f '%M' -o "$work/time.txt" timeout 120 wine "$c_drive/tavo.exe" /dhcp "$1" ws.x \
    >"$work/sparse.out" 2>&1 </dev/null
  echo "$? $(cat "$work/time.txt")"
}
sparse_listing() {
  rm -f "$c_drive/leases/sparse.txt"
  truncate -s 1400M "$c_drive/leases/sparse.txt"
  printf '\r\n10.0.0.9 - m - 00:1A - l - D- ws.x\r\n' >>"$c_drive/leases/sparse.txt"
}
index 'C:\leases\a.txt'
read -r _ small_kib <<<"$(sparse_run 'C:\leases\index.txt')"
sparse_listing
index 'C:\leases\sparse.txt'
rm -f "$log"
read -r status kib <<<"$(sparse_run 'C:\leases\index.txt')"
check_eq "a 1.4 GB line before a lease: exit 0, found" "0 1" "$status $(grep -c '^Searchdate:' "$log")"
check_true "a 1.4 GB line before a lease: under 16 MB more than a small listing" \
  '[ "$kib" -lt $((small_kib + 16384)) ]' "$kib KiB against $small_kib"
sparse_listing
rm -f "$log"
(
  for _ in $(seq 3000); do
    ls -l /proc/[0-9]*/fd/ 2>/dev/null | grep -q 'leases/sparse.txt$' && break
    sleep 0.005
  done
  truncate -s 100M "$c_drive/leases/sparse.txt"
) &
cutter=$!
read -r status _ <<<"$(sparse_run 'C:\leases\index.txt')"
wait "$cutter"
check_eq "a listing cut while read: exit 0, nothing found, no message" "0 no|" \
  "$status $([ -e "$log" ] && echo yes || echo no)|$(cat "$work/sparse.out")"
rm -f "$c_drive/leases/sparse.txt"

# A listed file that is gone by its turn: what came before stays logged.
index 'C:\leases\a.txt' 'C:\leases\gone.txt' 'C:\leases\a.txt'
result=$(probe run "$lookup")
fails_with "a listed file gone" 'cannot open C:\leases\gone.txt'
check_eq "a listed file gone: the first listing's entries stay" "$(one_pass_log | od -c)" \
  "$(dated_log "$log")"
finish
