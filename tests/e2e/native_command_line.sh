#!/usr/bin/env bash
# The Linux tavo with the same command lines as tavo.exe: switches, single words, the empty
# word, the lease lookup in the temporary folder, and errors with status 1 on standard error.
set -u
tavo=$1
source "$(dirname "$0")/lib/native.sh"
exec </dev/null

while read -r switch address expected; do
  check_eq "$switch prints its result once and exits 0" "$(printf '%s\nexit 0' "$expected")" \
    "$(run "$switch" "$address")"
  check_eq "$switch registry" "$expected" "$(tavo_value)"
  check_eq "$switch script" "$(printf '@set tavo=\r\n@set tavo=%s\r\n' "$expected" | od -c)" \
    "$(od -c <"$script")"
done < <(switch_cases)

check_eq "a bare word" $'00:1a:2b:3c:4d:5e\nexit 0' "$(run 001A2B3C4D5E)"
check_eq "a dotted word" $'00:.1:a.:2b\nexit 0' "$(run 00.1A.2B)"
check_eq "a colon word goes to the input box" $'00-1a-2b\nexit 0' "$(run 00:1A:2B)"
check_eq "/DHCP is a word like any other" $'/d:hc:p\nexit 0' "$(run /DHCP)"
check_eq "one empty argument is an empty text: interactive" "exit 0" "$(run "")"
check_eq "two empty arguments join to one blank: the empty word" $' \nexit 0' "$(run "" "")"
check_eq "a trailing empty argument after a switch only ends" $'\nexit 0' "$(run /:- 00:1A "")"
check_eq "a tab stays inside the word" $'/::\t0\nexit 0' "$(run $'/:-\t00:1A')"

# The only texts answered instead of converted: the usage and the version, with nothing published
# and no file touched (the files of the last conversion stay byte for byte).
files() {  # every file that tavo may write, with its time and its bytes
  ls -lAR --time-style=+%s.%N "$places" 2>&1
  od -c "$script" "$registry"
}
before=$(files)
result=$(run --help)
check_eq "--help: the usage, then exit 0" \
  "Usage: tavo [SWITCH...] ADDRESS|exit 0" \
  "$(head -1 <<<"$result")|$(tail -1 <<<"$result")"
check_true "--help: it points to the manual page" \
  'grep -q "See man tavo for the rest." <<<"$result"'
check_eq "-h is --help" "$result" "$(run -h)"
check_eq "--version" $'tavo '"$(sed -n 's/^project(tavo VERSION \([0-9.]*\).*/\1/p' "$(dirname "$0")/../../CMakeLists.txt")"$'\nexit 0' \
  "$(run --version)"
check_eq "answering publishes nothing and touches no file" "$before" "$(files)"
# Near misses convert as before.
while IFS='|' read -r expected args; do
  eval "set -- $args"
  check_eq "near miss [$args]" "$(printf '%b' "$expected")" "$(run "$@")"
done <<'CASES'
/?:?\nexit 0|/??
--:he:lp: x\nexit 0|--help x
-h: \nexit 0|-h ""
CASES

write_listing "$work/dhcp1.txt"
printf '%s\r\n' "$work/dhcp1.txt" "$work/dhcp1.txt" "" >"$work/index.txt"
mkdir -p "$state"
printf 'stale' >"$state/datas.txt"
# In the C locale, whose own date format has a two-digit year.
before=$(date +%m/%d/%Y)
check_eq "/dhcp prints each converted address and exits 0" \
  $'3c-52-82-0f-1e-77\n64-51-06-a1-66-b5\n3c-52-82-0f-1e-77\n64-51-06-a1-66-b5\nexit 0' \
  "$(LC_ALL=C run /dhcp "$work/index.txt" lab7)"
after=$(date +%m/%d/%Y)
logged=$(sed -n 's/^Searchdate:   \([^ ]*\) .*/\1/p' "$state/findout.txt" | tail -1)
check_true "/dhcp dates the log with the day of the run, the year in four digits" \
  '[ "$logged" = "$before" ] || [ "$logged" = "$after" ]' "$logged"
check_eq "/dhcp empties the work file" "0" "$(stat -c %s "$state/datas.txt")"
check_eq "/dhcp log bytes" "$( (one_pass_log; one_pass_log) | od -c)" \
  "$(dated_log "$state/findout.txt")"
check_eq "/dhcp publishes the last address" "64-51-06-a1-66-b5" "$(tavo_value)"

check_eq "/dhcp without an index" \
  $'exit 1\ntavo: /dhcp: the index file name is missing; use /dhcp INDEXFILE TERM' "$(run /dhcp)"
check_eq "/dhcp without a term" \
  $'exit 1\ntavo: /dhcp: the search term is missing; use /dhcp INDEXFILE TERM' \
  "$(run /dhcp "$work/index.txt")"
check_eq "/dhcp with a missing index" \
  "$(printf 'exit 1\ntavo: cannot open %s: No such file or directory' "$work/none.txt")" \
  "$(run /dhcp "$work/none.txt" lab7)"
check_eq "/dhcp with a folder as the index" \
  "$(printf 'exit 1\ntavo: cannot open %s: not a plain file' "$work")" "$(run /dhcp "$work" lab7)"
finish
