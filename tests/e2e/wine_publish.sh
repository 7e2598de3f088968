#!/usr/bin/env bash
# Every result of tavo.exe published under Wine: clipboard, TAVO in the registry with its
# broadcast, the command script and its start, the window line; and the faults around them.
set -u
tavo=$1
probe=$2
source "$(dirname "$0")/lib/wine.sh"

temp_dir='C:\tavotemp'
mkdir -p "$c_drive/tavotemp"
set_wine_temp "$temp_dir"
script=$c_drive/tavotemp/wmac.cmd

# A batch file that runs `call` on a script as a user's would, and writes what TAVO then is; run
# by `cmd /u`, it writes UTF-16, so every character shows as it is.
printf '@echo off\r\nset tavo=\r\ncall "%%~1"\r\nsetlocal EnableDelayedExpansion\r\necho [!tavo!]> "%%~2"\r\n' \
  >"$c_drive/check.cmd"
# called_value STARTS: the value that `call` on the script sets, once the run of the script that
# tavo.exe started after STARTS of them has ended. A cmd that wrote nothing did not run (Wine
# fails to start a program now and then under load), so it is started again, up to three times.
called_value() {
  script_ran "$1"
  for _ in 1 2 3; do
    rm -f "$c_drive/called.txt"
    wine_cmd cmd /u /c 'C:\check.cmd' "$temp_dir\\wmac.cmd" 'C:\called.txt' >/dev/null
    [ -e "$c_drive/called.txt" ] && break
  done
  iconv -f UTF-16LE -t UTF-8 "$c_drive/called.txt" 2>/dev/null | tr -d '\r\n'
}

# The command that an unescaped "&x" would run, planted where cmd.exe looks for it.
for dir in "$c_drive/tavotemp" "$(dirname "$tavo")"; do
  printf '@echo planted> C:\\planted.txt\r\n' >"$dir/x.cmd"
done

# The NT family stores TAVO in the registry and tells every window; 9x appends to autoexec.bat.
if ! on_9x; then
  probe_background listen listen 30000
  listener=$background
  await "the listening window" grep -q ready "$work/listen.out"
fi
# What Wine traces of the processes that tavo.exe starts: one line for each start of the script.
script_starts() { grep -c 'NtCreateUserProcess.*wmac\.cmd' "$work/tavo.out"; }
# script_ran STARTS: waits for a start of the script after STARTS of them, then for it to end.
script_ran() {
  await "tavo.exe to start the script" test "$(script_starts)" -gt "$1"
  await "the started script to end" eval '! pgrep -f "wmac[.]cmd" >/dev/null'
}

WINEDEBUG=+process start_tavo
check_eq "nothing printed before a conversion" "0" "$(probe inked)"
starts=$(script_starts)
probe settext Text1 "00:1A:2B:33:44:55"
check_eq "Text2" "00-1a-2b-33-44-55" "$(probe gettext Text2)"
check_eq "clipboard" "00-1a-2b-33-44-55" "$(settled_clipboard)"
check_eq "TAVO stored for later sessions" "00-1a-2b-33-44-55" "$(published_tavo)"
check_eq "script bytes" "$(printf '@set tavo=\r\n@set tavo=00-1a-2b-33-44-55\r\n' | od -c)" \
  "$(od -c <"$script")"
check_eq "call on the script sets TAVO exactly" "[00-1a-2b-33-44-55]" "$(called_value "$starts")"
[ "$(probe inked)" -gt 0 ]
check_eq "the result is printed on the window" "0" "$?"
started_through_cmd() { grep -q 'cmd.exe.*wmac.cmd' "$work/tavo.out" && echo yes || echo no; }
eventually_eq "the script was started through cmd.exe" "yes" started_through_cmd
if on_9x; then
  check_eq "9x: the registry is left alone" "(none)" "$(user_env TAVO)"
else
  wait "$listener"
  check_true "a separate window heard the broadcast" \
    'grep -qx "setting Environment" "$work/listen.out"'
fi

# Hostile text: & | " % must reach TAVO as they are and start nothing.
starts=$(script_starts)
probe settext Text1 '00:\u0026x:\u007cy:\u0022z:\u0025p\u0025'
hostile='00-&x-|y-"z-%p'
check_eq "hostile: Text2" "$hostile" "$(probe gettext Text2)"
check_eq "hostile: script escapes it" "$(printf '@set tavo=\r\n@set tavo=00-^&x-^|y-^"z-%%%%p\r\n' | od -c)" \
  "$(od -c <"$script")"
check_eq "hostile: call sets exactly the text" "[$hostile]" "$(called_value "$starts")"
check_true "hostile: the planted command never ran" '! [ -e "$c_drive/planted.txt" ]'
# COMMAND.COM cannot set a value with | < or > exactly, so 9x keeps the last one it could.
check_eq "hostile: stored for later sessions" \
  "$(on_9x && echo 00-1a-2b-33-44-55 || echo "$hostile")" "$(published_tavo)"

# A text with a line break gets no script at all.
probe settext Text1 '0\u000a1'
check_true "line break: no script" '! [ -e "$script" ]'
check_eq "line break: still on the clipboard" $'0\n:1' "$(settled_clipboard)"

# cmd.exe reads the script in the console's code page (437 here), not the ANSI one (1252): a
# letter of both reaches TAVO exactly, and one that 437 lacks gets no script, not a half one.
# (On 9x the input box holds ANSI text, so Ω cannot be typed there.)
in_437() { printf '%s' "$1" | iconv -t CP437; }
starts=$(script_starts)
probe settext Text1 '\u00DC-1'
check_eq "Ü: the script is in the console's code page" \
  "$(in_437 $'@set tavo=\r\n@set tavo=ü:1\r\n' | od -c)" "$(od -c <"$script")"
check_eq "Ü: call sets exactly ü:1" "[ü:1]" "$(called_value "$starts")"
if ! on_9x; then
  starts=$(script_starts)
  probe settext Text1 '\u03A9-1'
  check_eq "Ω, which 1252 lacks: call sets exactly Ω:1" "[Ω:1]" "$(called_value "$starts")"
fi
probe settext Text1 '\u20AC-1'
check_true "€, which 437 lacks: no script" '! [ -e "$script" ]'
check_eq "€, which 437 lacks: still on the clipboard" "€:1" "$(settled_clipboard)"

# The clipboard held open by another program, until it lets go: while it is held, no program can
# open it, and tavo's change handler fails at its clipboard steps after the publication went on
# without them. The failure ends only that change.
hold_clipboard
starts=$(script_starts)
probe settext Text1 "AA-BB-CC"
check_eq "held clipboard: Text2" "aa:bb:cc" "$(probe gettext Text2)"
check_eq "held clipboard: stored" "aa:bb:cc" "$(published_tavo)"
check_eq "held clipboard: script" "[aa:bb:cc]" "$(called_value "$starts")"
release_clipboard "held clipboard"

# The same failure in a handler that tavo deferred, as it does for a paste.
hold_clipboard tavo
check_eq "deferred: held for tavo's Text1" "held for Text1" "$(head -1 "$work/hold.out")"
probe settext Text1 "DD-EE"
eventually_eq "deferred: Text2" "dd:ee" probe gettext Text2
check_eq "deferred: stored" "dd:ee" "$(published_tavo)"
release_clipboard "deferred"
check_true "deferred: tavo.exe still runs" 'kill -0 "$tavo_pid"'
probe settext Text1 "11-22-33"
eventually_eq "deferred: the next change converts as before" "11:22:33" probe clipboard
close_tavo "after the held clipboard"

# "temp" names a missing folder: nothing fails visibly, the rest is published.
set_wine_temp 'C:\no-such-folder'
start_tavo
probe settext Text1 "11-22"
check_eq "missing temp: Text2" "11:22" "$(probe gettext Text2)"
check_eq "missing temp: clipboard" "11:22" "$(settled_clipboard)"
check_eq "missing temp: stored" "11:22" "$(published_tavo)"
check_true "missing temp: still running" 'kill -0 "$tavo_pid"'
check_true "missing temp: no folder made" '! [ -e "$c_drive/no-such-folder" ]'
close_tavo "missing temp"

# A window that stops answering holds a broadcast up for its time-out of 5 s, no longer; once it
# has been hung for 5 s, not at all. Its program answers after 60 s.
if ! on_9x; then
  install_for_lookup
  probe_background hang hang 60000
  hanger=$background
  await "the window that stops answering" grep -q ready "$work/hang.out"
  elapsed_ms() {  # LINE: runs it through the probe; prints its output, then the milliseconds
    local start end
    start=$(date +%s%N)
    probe run "$1"
    end=$(date +%s%N)
    printf '\n%s\n' "$(((end - start) / 1000000))"
  }
  result=$(elapsed_ms 'C:\tavo.exe /:- 00:1A')
  check_eq "a hung window: the conversion ends" "exit 0" "$(head -1 <<<"$result")"
  ms=$(tail -1 <<<"$result")
  check_true "a hung window: after waiting out the broadcast's time-out, and no longer" \
    '[ "$ms" -ge 4500 ] && [ "$ms" -lt 30000 ]' "$ms ms"
  check_eq "a hung window: stored" "00-1a" "$(published_tavo)"
  result=$(elapsed_ms 'C:\tavo.exe /:- 00:1B')
  ms=$(tail -1 <<<"$result")
  check_true "a window hung for 5 s is not waited for" '[ "$ms" -lt 4500 ]' "$ms ms"
  kill "$hanger" 2>/dev/null
fi

# Shown Windows 98, tavo appends to c:\autoexec.bat and leaves the registry alone.
wine_cmd reg add 'HKCU\Software\Wine\AppDefaults\tavo.exe' /v Version /d win98 /f >/dev/null
wine_cmd reg delete 'HKCU\Environment' /v TAVO /f >/dev/null
# A last line ended by a lone LF, as a Unix editor ends it, and an old editor's end-of-file mark
# after it. COMMAND.COM ends a line only at CR.
printf 'PATH C:\\WINDOWS;C:\\WINDOWS\\COMMAND\n\x1a' >"$c_drive/autoexec.bat"
start_tavo
probe settext Text1 "00-11"
probe settext Text1 "22:3%"
probe settext Text1 '\u00DC-1'
probe settext Text1 '\u20AC-1'
check_eq "9x: the user's line stays whole, then a SET line for each value COMMAND.COM can read" \
  "$(printf 'PATH C:\\WINDOWS;C:\\WINDOWS\\COMMAND\n\r\nSET TAVO=00:11\r\nSET TAVO=22-3%%%%\r\nSET TAVO=\x81:1\r\n' | od -c)" \
  "$(od -c <"$c_drive/autoexec.bat")"
check_eq "9x: registry untouched" "(none)" "$(user_env TAVO)"
close_tavo "9x"

finish
