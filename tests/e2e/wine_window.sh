#!/usr/bin/env bash
# tavo.exe's window under Wine, driven from outside by tavo_probe.exe.
set -u
tavo=$1
probe=$2
source "$(dirname "$0")/lib/wine.sh"

set_wine_temp 'C:\no-such-folder'  # no script: its console would take the focus
start_tavo
# The controls are the themed ones of Common Controls 6, which the manifest asks for.
layout_96="caption TAVO (convert MAC-Adress)
client 304 114
Text1 Edit cc6 16 16 273 25 single \"\"
Text2 Edit cc6 16 56 273 25 single \"\"
Command1 Button cc6 16 96 273 17 single \"Close\"
tab Text1 Text2 Command1 -> Text1"
check_eq "window layout at 96 DPI" "$layout_96" "$(probe layout)"
check_eq "text boxes use the default GUI font" "guifont" "$(probe font)"
check_eq "focus in Text1 at start" "Text1" "$(probe focus)"

# expect_converted NAME TEXT1 TEXT2: Text2, the clipboard (inside and outside Wine), focus and
# selections after a change of Text1.
expect_converted() {
  # A paste's change handler runs once the paste has let go of the clipboard: wait for it.
  eventually_eq "$1: Text2" "$3" probe gettext Text2
  eventually_eq "$1: clipboard" "$3" probe clipboard
  eventually_eq "$1: X clipboard" "$3" x_clipboard
  # The handler's last steps, after the clipboard: the focus back in Text1, all of it selected.
  eventually_eq "$1: focus" "Text1" probe focus
  local length
  length=$(printf '%s' "$2" | iconv -f UTF-8 -t UTF-16LE | wc -c)
  eventually_eq "$1: Text1 all selected" "0 $((length / 2))" probe getsel Text1
  check_eq "$1: Text2 all selected" "0 $(($(printf '%s' "$3" | iconv -f UTF-8 -t UTF-16LE | wc -c) / 2))" \
    "$(probe getsel Text2)"
}

probe settext Text1 "00-1A-2B-3C-4D-5E"
expect_converted "dash address set" "00-1A-2B-3C-4D-5E" "00:1a:2b:3c:4d:5e"

probe paste "Physical Address. . . : 00:1A:2B:3C:4D:5E"
# Wine hands the pasted text over through its clipboard service, which may lag behind.
eventually_eq "a paste replaces the whole input" "Physical Address. . . : 00:1A:2B:3C:4D:5E" \
  probe gettext Text1
expect_converted "colon line pasted" "Physical Address. . . : 00:1A:2B:3C:4D:5E" \
  "00-1a-2b-3c-4d-5e"

probe paste "001A2B3C4D5E"
expect_converted "bare digits pasted" "001A2B3C4D5E" "00:1a:2b:3c:4d:5e"

probe paste '\u00C4\u00D6-1F'
expect_converted "non-ASCII pasted" "ÄÖ-1F" "äö:1f"

probe type Text1 "AB"
check_eq "typing replaces the selected input" "B" "$(probe gettext Text1)"
expect_converted "typed character" "B" "b"

probe type Text2 "zz"
check_eq "typing into Text2 changes Text2" "zz" "$(probe gettext Text2)"
check_eq "typing into Text2 leaves Text1" "B" "$(probe gettext Text1)"
check_eq "typing into Text2 leaves the clipboard" "b" "$(settled_clipboard)"

probe settext Text1 ""
check_eq "empty input keeps Text2" "zz" "$(probe gettext Text2)"
check_eq "empty input: clipboard holds Text2" "zz" "$(settled_clipboard)"
check_eq "empty input: focus" "Text1" "$(probe focus)"

close_tavo "the window"

start_tavo
close_tavo "the close box" close

# layout_at DPI: the layout at 96 DPI with every place and size scaled to DPI, rounded as MulDiv
# rounds; the controls' text, kind and order stay.
layout_at() {
  awk -v dpi="$1" '{ for (i = 1; i <= NF; i++) if ($i ~ /^[0-9]+$/) $i = int(($i * dpi + 48) / 96)
    print }' <<<"$layout_96"
}
client_at() { layout_at "$1" | awk '$1 == "client" { print $2, $3 }'; }

# The window moved to monitors of other DPIs and back: Windows suggests a rectangle for the new
# DPI and sends WM_DPICHANGED. Wine draws the frame at the system DPI whatever the message says,
# so the suggested rectangle is that frame around the client area at the new DPI.
start_tavo
read -r _ _ _ width height <<<"$(probe window)"
read -r client_width client_height <<<"$(client_at 96)"
while read -r dpi left top; do
  read -r new_width new_height <<<"$(client_at "$dpi")"
  suggested="$left $top $((width - client_width + new_width)) $((height - client_height + new_height))"
  probe dpi-changed "$dpi" $suggested
  check_eq "WM_DPICHANGED to $dpi: the window takes the suggested rectangle" "window $suggested" \
    "$(probe window)"
  check_eq "WM_DPICHANGED to $dpi: the layout at $dpi DPI" "$(layout_at "$dpi")" "$(probe layout)"
  check_eq "WM_DPICHANGED to $dpi: the text boxes use the GUI font made for it" "guifont" \
    "$(probe font "$dpi")"
done <<'ROWS'
144 40 30
192 10 20
120 0 0
96 5 5
ROWS
probe settext Text1 "00-1A-2B"
check_eq "after the DPI changes the input still converts" "00:1a:2b" "$(probe gettext Text2)"
close_tavo "after the DPI changes"

# The system DPI, which Wine 8 reads from LogPixels under HKCU\Control Panel\Desktop when a
# program starts: the window is drawn at it from the start, in the system's GUI font.
for dpi in 120 144 192; do
  wine_cmd reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
  start_tavo
  check_eq "window layout at $dpi DPI" "$(layout_at "$dpi")" "$(probe layout)"
  check_eq "text boxes at $dpi DPI use the default GUI font" "guifont" "$(probe font)"
  close_tavo "at $dpi DPI"
done

finish
