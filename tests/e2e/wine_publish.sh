#!/usr/bin/env bash
# Every result of tavo.exe published under Wine: clipboard, TAVO in the registry with its
# broadcast, the command script and its start, the window line; and the faults around them.
set -u
tavo=$1
probe=$2
source "$(dirname "$0")/wine_env.sh"

temp_dir='C:\tavotemp'
mkdir -p "$c_drive/tavotemp"
set_wine_temp "$temp_dir"
script=$c_drive/tavotemp/wmac.cmd

# A batch file that runs `call` on a script as a user's would, and writes what TAVO then is.
printf '@echo off\r\nset tavo=\r\ncall "%%~1"\r\nsetlocal EnableDelayedExpansion\r\necho [!tavo!]> "%%~2"\r\n' \
  >"$c_drive/check.cmd"
called_value() {  # the value that `call` on the script sets
  rm -f "$c_drive/called.txt"
  wine_cmd cmd /c 'C:\check.cmd' "$temp_dir\\wmac.cmd" 'C:\called.txt' >/dev/null
  tr -d '\r\n' <"$c_drive/called.txt"
}

# The command that an unescaped "&x" would run, planted where cmd.exe looks for it.
for dir in "$c_drive/tavotemp" "$(dirname "$tavo")"; do
  printf '@echo planted> C:\\planted.txt\r\n' >"$dir/x.cmd"
done

# The NT family stores TAVO in the registry and tells every window; 9x appends to autoexec.bat.
if ! on_9x; then
  probe listen 30000 >"$work/listen.out" 2>&1 &
  listener=$!
  for _ in $(seq 100); do grep -q ready "$work/listen.out" 2>/dev/null && break; sleep 0.1; done
fi

WINEDEBUG=+process start_tavo
check_eq "nothing printed before a conversion" "0" "$(probe inked)"
probe settext Text1 "00:1A:2B:33:44:55"
check_eq "Text2" "00-1a-2b-33-44-55" "$(probe gettext Text2)"
check_eq "clipboard" "00-1a-2b-33-44-55" "$(probe clipboard)"
check_eq "TAVO stored for later sessions" "00-1a-2b-33-44-55" "$(published_tavo)"
check_eq "script bytes" "$(printf '@set tavo=\r\n@set tavo=00-1a-2b-33-44-55\r\n' | od -c)" \
  "$(od -c <"$script")"
check_eq "call on the script sets TAVO exactly" "[00-1a-2b-33-44-55]" "$(called_value)"
[ "$(probe inked)" -gt 0 ]
check_eq "the result is printed on the window" "0" "$?"
sleep 1
check_eq "the script was started through cmd.exe" "yes" \
  "$(grep -q 'cmd.exe.*wmac.cmd' "$work/tavo.out" && echo yes || echo no)"
if on_9x; then
  check_eq "9x: the registry is left alone" "(none)" "$(user_env TAVO)"
else
  wait "$listener"
  check_eq "a separate window heard the broadcast" "yes" \
    "$(grep -qx 'setting Environment' "$work/listen.out" && echo yes || echo no)"
fi

# Hostile text: & | " % must reach TAVO as they are and start nothing.
probe settext Text1 '00:\u0026x:\u007cy:\u0022z:\u0025p\u0025'
hostile='00-&x-|y-"z-%p'
check_eq "hostile: Text2" "$hostile" "$(probe gettext Text2)"
check_eq "hostile: script escapes it" "$(printf '@set tavo=\r\n@set tavo=00-^&x-^|y-^"z-%%%%p\r\n' | od -c)" \
  "$(od -c <"$script")"
check_eq "hostile: call sets exactly the text" "[$hostile]" "$(called_value)"
sleep 1
check_eq "hostile: the planted command never ran" "no" \
  "$([ -e "$c_drive/planted.txt" ] && echo yes || echo no)"
# COMMAND.COM cannot set a value with | < or > exactly, so 9x keeps the last one it could.
check_eq "hostile: stored for later sessions" \
  "$(on_9x && echo 00-1a-2b-33-44-55 || echo "$hostile")" "$(published_tavo)"

# A text with a line break gets no script at all.
probe settext Text1 '0\u000a1'
check_eq "line break: no script" "no" "$([ -e "$script" ] && echo yes || echo no)"
check_eq "line break: still on the clipboard" $'0\n:1' "$(probe clipboard)"

# A result that the ANSI code page (1252 here) cannot hold gets no script either, not a half one.
# (On 9x the input box itself holds ANSI text, so such a result cannot arise there.)
if ! on_9x; then
  probe settext Text1 "00-11" >/dev/null
  probe settext Text1 '\u03A9-1'
  check_eq "outside the code page: no script" "no" "$([ -e "$script" ] && echo yes || echo no)"
  check_eq "outside the code page: still on the clipboard" "Ω:1" "$(probe clipboard)"
fi

# The clipboard held open by another program.
probe hold-clipboard 4000 >"$work/hold.out" 2>&1 &
holder=$!
for _ in $(seq 100); do grep -q held "$work/hold.out" 2>/dev/null && break; sleep 0.1; done
probe settext Text1 "AA-BB-CC"
check_eq "held clipboard: Text2" "aa:bb:cc" "$(probe gettext Text2)"
check_eq "held clipboard: stored" "aa:bb:cc" "$(published_tavo)"
check_eq "held clipboard: script" "[aa:bb:cc]" "$(called_value)"
wait "$holder"
probe click >/dev/null
wait_tavo_end >/dev/null

# "temp" names a missing folder: nothing fails visibly, the rest is published.
set_wine_temp 'C:\no-such-folder'
start_tavo
probe settext Text1 "11-22"
check_eq "missing temp: Text2" "11:22" "$(probe gettext Text2)"
check_eq "missing temp: clipboard" "11:22" "$(probe clipboard)"
check_eq "missing temp: stored" "11:22" "$(published_tavo)"
check_eq "missing temp: still running" "yes" "$(kill -0 "$tavo_pid" && echo yes)"
check_eq "missing temp: no folder made" "no" \
  "$([ -e "$c_drive/no-such-folder" ] && echo yes || echo no)"
probe click >/dev/null
wait_tavo_end >/dev/null

# Shown Windows 98, tavo appends to c:\autoexec.bat and leaves the registry alone.
wine_cmd reg add 'HKCU\Software\Wine\AppDefaults\tavo.exe' /v Version /d win98 /f >/dev/null
wine_cmd reg delete 'HKCU\Environment' /v TAVO /f >/dev/null
rm -f "$c_drive/autoexec.bat"
start_tavo
probe settext Text1 "00-11"
probe settext Text1 "22:3%"
check_eq "9x: two SET lines" "$(printf 'SET TAVO=00:11\r\nSET TAVO=22-3%%%%\r\n' | od -c)" \
  "$(od -c <"$c_drive/autoexec.bat")"
check_eq "9x: registry untouched" "(none)" "$(user_env TAVO)"
probe click >/dev/null
wait_tavo_end >/dev/null

finish
