#!/usr/bin/env bash
# The native tavo as a program: pastes on standard input, each result printed, its registry
# stand-in and command script written, end of input ends it with status 0.
set -u
tavo=$1
source "$(dirname "$0")/assert.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
run() {  # runs tavo without a desktop clipboard, with its files in $work
  env -u DISPLAY -u WAYLAND_DISPLAY XDG_CONFIG_HOME="$work/config" temp="$work" "$tavo" \
    2>"$work/err.txt"
}

out=$(printf '00-1A-2B\r\n001122\n' | run)
check_eq "exit status at end of input" "0" "$?"
check_eq "each published result is printed" $'00:1a:2b\n00:11:22' "$out"
check_eq "without a desktop the clipboard is the process's own, so no error" "" \
  "$(cat "$work/err.txt")"
check_eq "the registry stand-in holds TAVO" $'HKEY_CURRENT_USER\tEnvironment\tTAVO\t00:11:22' \
  "$(cat "$work/config/tavo/registry")"
check_eq "the command script holds the last result" $'@set tavo=\r\n@set tavo=00:11:22\r' \
  "$(cat "$work/wmac.cmd")"

out=$(printf 'x:&y\n' | run)
check_eq "hostile text is printed as it is" "x-&y" "$out"
check_eq "hostile text is escaped in the script" $'@set tavo=\r\n@set tavo=x-^&y\r' \
  "$(cat "$work/wmac.cmd")"
check_eq "the registry keeps one TAVO line" "1" "$(grep -c TAVO "$work/config/tavo/registry")"

out=$(run </dev/null)
check_eq "empty input ends at once" "0" "$?"
check_eq "no message without input" "" "$(cat "$work/err.txt")"
finish
