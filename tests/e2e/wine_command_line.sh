#!/usr/bin/env bash
# tavo.exe started by a script host with exact command lines under Wine: the switches, the
# single-word cases, the empty word, the lease lookup and the errors on the parent's console.
set -u
tavo=$1
probe=$2
source "$(dirname "$0")/lib/wine.sh"
source "$(dirname "$0")/lib/cases.sh"
install_for_lookup "$c_drive/scripts"
set_wine_temp 'C:\scripts'
script=$c_drive/scripts/wmac.cmd

# run LINE: starts tavo.exe with exactly LINE as its command line (\uXXXX for odd characters);
# prints "exit N" and what it wrote on the console that started it.
# A probe that prints nothing did not run (Wine failed to start it, rarely, under load); it
# always prints "exit N" when it did, so it is asked again, up to three times.
run() {
  local out
  for _ in 1 2 3; do
    out=$(probe run "$1")
    [ -n "$out" ] && break
  done
  printf '%s\n' "$out"
}

# run_ok LINE: "exit 0" when tavo.exe ended with status 0 and wrote no message of its own, else
# all that run printed. The scripts that tavo.exe starts share that console, and one of them may
# say that it found no script: a later conversion of the same run had already replaced it.
run_ok() {
  local out
  out=$(run "$1")
  if [ "$(head -1 <<<"$out")" = "exit 0" ] && ! grep -q '^tavo: ' <<<"$out"; then
    echo "exit 0"
  else
    printf '%s\n' "$out"
  fi
}

# Each conversion switch keeps its result in every published place. The clipboard is read again
# for a moment: Wine's clipboard service takes over what an exiting tavo.exe left there.
while read -r switch address expected; do
  check_eq "$switch exits 0" "exit 0" "$(run_ok "C:\\tavo.exe $switch $address")"
  eventually_eq "$switch clipboard" "$expected" probe clipboard
  check_eq "$switch stored" "$expected" "$(published_tavo)"
  check_eq "$switch script" "$(printf '@set tavo=\r\n@set tavo=%s\r\n' "$expected" | od -c)" \
    "$(od -c <"$script")"
done < <(switch_cases)

# A quoted program name, single words, the empty word, blanks and a tab.
while IFS='|' read -r line expected; do
  check_eq "[$line] exits 0" "exit 0" "$(run_ok "$line")"
  eventually_eq "[$line] clipboard" "$(printf '%b' "$expected")" probe clipboard
done <<'CASES'
"C:\tavo.exe" /:- 00:1A:2B|00-1a-2b
C:\tavo.exe 001A2B3C4D5E|00:1a:2b:3c:4d:5e
C:\tavo.exe 00.1A.2B|00:.1:a.:2b
C:\tavo.exe 00:1A:2B|00-1a-2b
C:\tavo.exe /DHCP|/d:hc:p
C:\tavo.exe  | 
C:\tavo.exe /:- 00:1A |
C:\tavo.exe /:-\u000900:1A|/::\t0
C:\tavo.exe 00-1A-2B  /:.|/-.
C:\tavo.exe /??|/?:?
C:\tavo.exe --help x|--:he:lp: x
C:\tavo.exe -h |-h: 
CASES

# "/?" alone is answered, not converted, where the user can see it, and nothing is published: on
# the console that started tavo on the NT family; else (every 9x, and NT started as from Explorer,
# with no console) in a message box "TAVO", and tavo.exe ends with status 0 once it is closed.
# The usage says where TAVO is kept on the family it runs on.
before="$(published_tavo)|$(settled_clipboard)|$(od -c <"$script")"
if on_9x; then store='c:\autoexec.bat'; else store='HKEY_CURRENT_USER\Environment'; fi
usage_in_box() {  # NAME VERB: /? through the probe's VERB; its box answered from outside
  probe_background usage "$2" 'C:\tavo.exe /?'
  local runner=$background box
  box=$(probe message-box TAVO | tr -d '\r')
  wait "$runner"
  check_eq "$1: /? exits 0 once the box is closed" "exit 0" "$(head -1 "$work/usage.out")"
  check_eq "$1: the box holds the usage" "Usage: tavo.exe [SWITCH...] ADDRESS" "$(head -1 <<<"$box")"
  check_true "$1: the usage says where TAVO is kept" 'grep -qF "$store" <<<"$box"'
}
if on_9x; then
  usage_in_box "9x, from a console" run
else
  result=$(run 'C:\tavo.exe /?' | tr -d '\r')
  check_eq "/? exits 0" "exit 0" "$(head -1 <<<"$result")"
  check_eq "/? writes the usage to the console" \
    "Usage: tavo.exe [SWITCH...] ADDRESS" \
    "$(sed -n 2p <<<"$result")"
  check_true "/? says where TAVO is kept" 'grep -qF "$store" <<<"$result"'
  check_eq "/? points to the guide" "See guide.txt for the rest." "$(tail -1 <<<"$result")"
  # Redirected, as "tavo.exe /? > help.txt" and "tavo.exe /? | more" are: standard output.
  wine "$c_drive/tavo.exe" '/?' >"$work/help.txt" 2>"$work/help.err" </dev/null
  check_eq "/? redirected: exit 0, the usage on standard output, nothing on standard error" \
    "0|$(sed -n 2p <<<"$result")|" "$?|$(head -1 "$work/help.txt" | tr -d '\r')|$(cat "$work/help.err")"
  usage_in_box "NT, with no console" run-alone
fi
check_eq "/? publishes nothing" "$before" "$(published_tavo)|$(settled_clipboard)|$(od -c <"$script")"
rm -f "$c_drive/temp/datas.txt"
check_eq "two blanks: exits 0" "exit 0" "$(run_ok 'C:\tavo.exe -s  /dhcp C:\leases\index.txt lab7')"
check_true "two blanks: the lookup behind them never runs" '! [ -e "$c_drive/temp/datas.txt" ]'

# The lease lookup over a realistic listing, listed twice, with a trailing empty index line.
write_listing "$c_drive/leases/dhcp1.txt"
printf 'C:\\leases\\dhcp1.txt\r\nC:\\leases\\dhcp1.txt\r\n\r\n' >"$c_drive/leases/index.txt"
printf 'stale' >"$c_drive/temp/datas.txt"
rm -f "$c_drive/temp/findout.txt"
check_eq "/dhcp exits 0" "exit 0" "$(run_ok 'C:\tavo.exe /dhcp C:\leases\index.txt lab7')"
check_eq "/dhcp empties the work file" "0" "$(stat -c %s "$c_drive/temp/datas.txt")"
check_eq "/dhcp logs two entries per listing, in file order" \
  "$( (one_pass_log; one_pass_log) | od -c)" "$(dated_log "$c_drive/temp/findout.txt")"
check_eq "/dhcp dates each entry" "4" \
  "$(grep -cE '^Searchdate:   [0-9]+/[0-9]+/[0-9]+ [0-9]+:[0-9]{2}:[0-9]{2}' "$c_drive/temp/findout.txt")"
clipboard_bytes() { settled_clipboard | od -c; }
eventually_eq "/dhcp leaves the last summary on the clipboard" "$(last_summary | od -c)" \
  clipboard_bytes
check_eq "/dhcp publishes the last address" "64-51-06-a1-66-b5" "$(published_tavo)"
check_eq "/dhcp with a trailing blank exits 0" "exit 0" \
  "$(run_ok 'C:\tavo.exe /dhcp C:\leases\index.txt lab7 ')"
eventually_eq "/dhcp with a trailing blank: the summary stays" "$(last_summary | od -c)" \
  clipboard_bytes
check_eq "/dhcp with a trailing blank: the address stays" "64-51-06-a1-66-b5" "$(published_tavo)"

# A listing of several read blocks whose every line nearly holds the term: the search passes
# many places to the full comparison, and the one match lies in the last line.
awk 'BEGIN { for (i = 0; i < 6000; i++)
  printf "10.1.%d.%d - 255.255.0.0 - 00-1a-2b-3c-%02x-%02x - NEVER EXPIRES -D- lab-pc-%04d.corp\r\n",
    i / 256, i % 256, i / 256, i % 256, i }' >"$c_drive/leases/many.txt"
printf 'C:\\leases\\many.txt\r\n' >"$c_drive/leases/many-index.txt"
rm -f "$c_drive/temp/findout.txt"
check_eq "a near miss in every line: exits 0" "exit 0" \
  "$(run_ok 'C:\tavo.exe /dhcp C:\leases\many-index.txt lab-pc-5999')"
check_eq "a near miss in every line: one entry" "1" "$(grep -c '^Searchdate:' "$c_drive/temp/findout.txt")"
check_eq "a near miss in every line: the last line's address" "00-1a-2b-3c-17-6f" "$(published_tavo)"

# AM and PM symbols that the ANSI code page lacks, as a Korean user has them: the time is logged
# as the A functions give it, with the code page's default character, and every match is logged.
international() {  # VALUE VALUE: the user's s1159 and s2359
  wine_cmd reg add 'HKCU\Control Panel\International' /v s1159 /d "$1" /f >/dev/null
  wine_cmd reg add 'HKCU\Control Panel\International' /v s2359 /d "$2" /f >/dev/null
}
international '오전' '오후'
rm -f "$c_drive/temp/findout.txt"
check_eq "AM and PM outside the code page: exits 0" "exit 0" \
  "$(run_ok 'C:\tavo.exe /dhcp C:\leases\index.txt lab7')"
check_eq "AM and PM outside the code page: every entry, its time as the A functions give it" "4" \
  "$(tr -d '\r' <"$c_drive/temp/findout.txt" | grep -acE '^Searchdate:   [0-9/]+ [0-9]+:[0-9]{2}:[0-9]{2} \?\?$')"
international AM PM

# Errors: status 1 and a message on the console of the program that started tavo.
while IFS='|' read -r line message; do
  check_eq "[$line] fails" "$(printf 'exit 1\ntavo: %s' "$message")" "$(run "$line")"
done <<'CASES'
C:\tavo.exe /dhcp|/dhcp: the index file name is missing; use /dhcp INDEXFILE TERM
C:\tavo.exe /dhcp C:\leases\index.txt|/dhcp: the search term is missing; use /dhcp INDEXFILE TERM
C:\tavo.exe /dhcp C:\leases\none.txt lab7|cannot open C:\leases\none.txt: File not found.
CASES
# A failing run ends as quickly as a normal one. Printed for the record, not checked: these
# machines are shared and noisy. Each figure is the median of five runs through the probe.
median_seconds() {  # LINE: how long `run LINE` takes
  local times=() start end
  for _ in 1 2 3 4 5; do
    start=$(date +%s%N)
    run "$1" >/dev/null
    end=$(date +%s%N)
    times+=($(((end - start) / 1000000)))
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n 3p
}
normal_ms=$(median_seconds 'C:\tavo.exe /dhcp C:\leases\index.txt lab7')
error_ms=$(median_seconds 'C:\tavo.exe /dhcp C:\leases\none.txt lab7')
awk -v e="$error_ms" -v n="$normal_ms" 'BEGIN {
  printf "report: error exit %.3f s, normal exit %.3f s, ratio %.2f\n", e / 1000, n / 1000, e / n }'

mv "$c_drive/temp" "$c_drive/temp.away"
result=$(run 'C:\tavo.exe /dhcp C:\leases\index.txt lab7')
check_eq "c:\\temp missing fails" "exit 1" "$(head -1 <<<"$result")"
check_true "c:\\temp missing names the work file" \
  'grep -qF "tavo: cannot open c:\temp\datas.txt" <<<"$result"'
mv "$c_drive/temp.away" "$c_drive/temp"
finish
