#!/usr/bin/env bash
# Takes the README's pictures of tavo.exe's window, drawn by Wine at 96 and 144 DPI, into
# doc/screenshots/window-96dpi.png and window-144dpi.png. Build the win32 preset first.
set -u
cd "$(dirname "$0")/.."
tavo=$PWD/build/win32/tavo.exe
probe=$PWD/build/win32/tavo_probe.exe
if [ ! -f "$tavo" ] || [ ! -f "$probe" ]; then
  echo "screenshots.sh: no build/win32/tavo.exe; run cmake --preset win32 and build it" >&2
  exit 1
fi
source tests/e2e/lib/wine.sh

# Wine draws the caption and frame itself, as Windows does, rather than leave them to an X window
# manager, which this display has none of; in the fonts that Wine brings for Windows programs
# (fonts-wine): Tahoma, and Marlett for the caption's buttons.
wine_cmd reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null
cp /usr/share/wine/fonts/*.ttf "$c_drive/windows/Fonts/" || give_up "no fonts-wine: run scripts/setup.sh"

mkdir -p doc/screenshots
for dpi in 96 144; do
  wine_cmd reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
  start_tavo
  probe paste "Physical Address. . . : 00-1A-2B-3C-4D-5E"
  eventually_eq "converted at $dpi DPI" "00:1a:2b:3c:4d:5e" probe gettext Text2
  probe snapshot 'C:\window.bmp' || give_up "no picture at $dpi DPI"
  # The BMP (24-bit, rows from the bottom up) as a PNG, which a README can show.
  python3 - "$c_drive/window.bmp" "doc/screenshots/window-${dpi}dpi.png" <<'PY'
import struct, sys, zlib
data = open(sys.argv[1], "rb").read()
start = struct.unpack_from("<I", data, 10)[0]
width, height = struct.unpack_from("<ii", data, 18)
stride = (width * 3 + 3) & ~3
rows = []
for y in reversed(range(height)):
    blue_green_red = data[start + y * stride:start + y * stride + width * 3]
    red_green_blue = bytearray(blue_green_red)
    red_green_blue[0::3], red_green_blue[2::3] = blue_green_red[2::3], blue_green_red[0::3]
    rows.append(b"\0" + bytes(red_green_blue))  # each row unfiltered


def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))


with open(sys.argv[2], "wb") as out:
    out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
              + chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + chunk(b"IEND", b""))
PY
  close_tavo "at $dpi DPI"
done
finish
