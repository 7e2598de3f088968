#!/usr/bin/env bash
# The native tavo as a program: pastes on standard input, each result printed, its registry
# stand-in and command script written, end of input ends it with status 0.
set -u
tavo=$1
source "$(dirname "$0")/lib/native.sh"

# Without a desktop the clipboard is the process's own, so there is no message.
check_eq "each published result is printed; end of input ends it with 0" \
  $'00:1a:2b\n00:11:22\nexit 0' "$(printf '00-1A-2B\r\n001122\n' | run)"
check_eq "the registry stand-in holds TAVO" $'HKEY_CURRENT_USER\tEnvironment\tTAVO\t00:11:22' \
  "$(cat "$registry")"
check_eq "the command script holds the last result" $'@set tavo=\r\n@set tavo=00:11:22\r' \
  "$(cat "$script")"

check_eq "hostile text is printed as it is" $'x-&y\nexit 0' "$(printf 'x:&y\n' | run)"
check_eq "hostile text is escaped in the script" $'@set tavo=\r\n@set tavo=x-^&y\r' \
  "$(cat "$script")"
check_eq "the registry keeps one TAVO line" "1" "$(grep -c TAVO "$registry")"

# The desktop clipboard: a stand-in for each tool records its arguments and what it was given.
# Each paste empties the clipboard and sets the result, twice (the conversion, then the window),
# as UTF-8 and with no line end. Each row installs only the tools it names, in a PATH of their
# own: the session's tool is used where it is installed, and without one there is no clipboard,
# and no message, as without a session.
stand_in() {  # FOLDER TOOL: the recording stand-in for TOOL in FOLDER
  mkdir -p "$1"
  printf '#!/bin/sh
PATH=/usr/bin:/bin
{ echo "$(basename "$0") $*"; cat; echo "|"; } >>"%s/calls.txt"
' \
    "$work" >"$1/$2"
  chmod +x "$1/$2"
}
while IFS='|' read -r tools session clear set; do
  rm -rf "$work/calls.txt" "$work/path"
  mkdir -p "$work/path"
  for tool in $tools; do stand_in "$work/path" "$tool"; done
  # shellcheck disable=SC2086
  printf '\xc3\x84B-1F\n' | "${tavo_env[@]}" $session PATH="$work/path" "$tavo" \
    >"$work/out.txt" 2>"$work/err.txt"
  expected=""
  [ -n "$set" ] && expected=$(printf '%s\n|\n%s\näb:1f|\n%s\n|\n%s\näb:1f|' "$clear" "$set" "$clear" "$set")
  check_eq "$session with [$tools]: the tool's calls" "$expected" "$(cat "$work/calls.txt" 2>/dev/null)"
  check_eq "$session with [$tools]: printed, no message" "äb:1f" "$(cat "$work/out.txt" "$work/err.txt")"
done <<'CASES'
xclip wl-copy|DISPLAY=:99|xclip -selection clipboard -in|xclip -selection clipboard -in
xclip wl-copy|WAYLAND_DISPLAY=wayland-9|wl-copy --clear|wl-copy --type text/plain;charset=utf-8
xclip wl-copy|WAYLAND_DISPLAY=wayland-9 DISPLAY=:99|wl-copy --clear|wl-copy --type text/plain;charset=utf-8
xclip|WAYLAND_DISPLAY=wayland-9 DISPLAY=:99|xclip -selection clipboard -in|xclip -selection clipboard -in
wl-copy|DISPLAY=:99||
|WAYLAND_DISPLAY=wayland-9 DISPLAY=:99||
CASES

# A lookup on a desktop without its clipboard tool logs every match and ends with status 0.
write_listing "$work/dhcp.txt"
printf '%s\r\n' "$work/dhcp.txt" >"$work/index.txt"
(cd "$places/cwd" && "${tavo_env[@]}" WAYLAND_DISPLAY=wayland-9 DISPLAY=:99 PATH="$work/no-tools" \
  "$tavo" /dhcp "$work/index.txt" lab7 >/dev/null 2>"$work/err.txt")
check_eq "a lookup without a clipboard tool: exit status and message" "0|" "$?|$(cat "$work/err.txt")"
check_eq "a lookup without a clipboard tool: every match is logged" "2" \
  "$(grep -c '^Searchdate:' "$state/findout.txt")"

# A clipboard tool that quits without reading, as one does with a stale DISPLAY: writing a text
# larger than the pipe's buffer to it fails, and only that step is lost.
mkdir -p "$work/bin"
printf '#!/bin/sh\nexit 1\n' >"$work/bin/xclip"
chmod +x "$work/bin/xclip"
rm -f "$script"
head -c 300000 /dev/zero | tr '\0' 'a' >"$work/long.txt"
echo >>"$work/long.txt"
"${tavo_env[@]}" DISPLAY=:99 PATH="$work/bin:$PATH" "$tavo" <"$work/long.txt" >"$work/out.txt" \
  2>"$work/err.txt"
check_eq "a clipboard tool that quits early: exit status" "0" "$?"
check_eq "a clipboard tool that quits early: the result is printed" "450000" \
  "$(wc -c <"$work/out.txt")"
check_true "a clipboard tool that quits early: the script is written" '[ -s "$script" ]'
check_true "a clipboard tool that quits early: the failed step is named" \
  'grep -q "^tavo: clipboard: xclip failed$" "$work/err.txt"'

# Memory running out is reported like any failure: while a paste is converted, and while a line
# is read. Under a sanitizer, which reserves more address space than the limit allows, tavo
# cannot start at all, so these checks are left out there.
if (ulimit -v 300000 && "$tavo" </dev/null >/dev/null 2>&1); then
  out_of_memory() {  # MB: one line of that many megabytes under a 300 MB limit; "status N"
    (
      ulimit -v 300000
      head -c "$(($1 * 1000000))" /dev/zero | tr '\0' 'a' | run >/dev/null
      echo "status $?"
    )
  }
  check_eq "out of memory converting a paste: reported, and the loop goes on" \
    $'status 0\ntavo: std::bad_alloc' "$(out_of_memory 100; cat "$work/err.txt")"
  check_eq "out of memory reading a line: a failure" \
    $'status 1\ntavo: cannot read standard input' "$(out_of_memory 400; cat "$work/err.txt")"
fi

check_eq "empty input ends at once, with no message" "exit 0" "$(run </dev/null)"
finish
