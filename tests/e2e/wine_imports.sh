#!/usr/bin/env bash
# tavo.exe loads on Windows 95, 98, ME and NT 4.0 to 11: every import is one those systems
# export, the PE header asks for Windows 4.0, and the version resource names both families.
# Later Windows read its manifest and give the 32-bit process 4 GB on a 64-bit system.
# The probe, which uses calls that only later systems have, shows that the checks can fail.
set -u
exe=$1
probe=$2
source "$(dirname "$0")/lib/assert.sh"
allowed=$(dirname "$0")/tools/imports_allowed.txt
objdump=i686-w64-mingw32-objdump

imports() {  # EXE: "DLL NAME" for each import, DLL in capitals
  $objdump -p "$1" | awk '/DLL Name:/ { dll = toupper($3) }
    /^\t[0-9a-f]+\t +[0-9]+ +[A-Za-z_?]/ { print dll, $NF }' | LC_ALL=C sort -u
}
not_allowed() {  # EXE: its imports that the list does not hold
  LC_ALL=C comm -23 <(imports "$1") <(awk '!/^#/ { for (i = 2; i <= NF; i++) print $1, $i }' \
    "$allowed" | LC_ALL=C sort -u)
}

check_true "tavo.exe imports something" '[ -n "$(imports "$exe")" ]'
check_eq "every import is one that 95, 98, ME and NT 4.0 export" "" "$(not_allowed "$exe")"
check_true "the check finds the probe's newer calls" \
  'not_allowed "$probe" | grep -q GetGUIThreadInfo'
check_eq "no import of the posix thread model" "" "$(imports "$exe" | grep -i winpthread)"

header=$($objdump -p "$exe")
field() { awk -v name="$1" '$1 == name { print $2 }' <<<"$header"; }
check_true "a 32-bit x86 exe" 'grep -q "file format pei-i386" <<<"$header"'
check_eq "subsystem version 4.0" "4.0" "$(field MajorSubsystemVersion).$(field MinorSubsystemVersion)"
check_eq "operating system version 4.0" "4.0" "$(field MajorOSystemVersion).$(field MinorOSystemVersion)"
check_eq "Windows GUI subsystem" "00000002" "$(field Subsystem)"
# IMAGE_FILE_LARGE_ADDRESS_AWARE in the file header's characteristics.
large_address_aware() {
  echo $(($($objdump -p "$1" | awk '$1 == "Characteristics" { print $2 }') & 0x20))
}
check_eq "large-address-aware" "32" "$(large_address_aware "$exe")"
check_eq "the check finds the flag missing in the probe" "0" "$(large_address_aware "$probe")"

# The application manifest, element by element in the namespaces Windows reads them in, with
# the version from project().
version=$(sed -n 's/^project(tavo VERSION \([0-9.]*\).*/\1/p' "$(dirname "$0")/../../CMakeLists.txt")
manifest=$(dirname "$0")/tools/manifest.py
check_eq "the manifest asks for what tavo needs, in forms that Windows XP reads" \
  "assembly asm.v1
identity tavo $version.0 x86 -
execution level asInvoker, uiAccess false, in asm.v2
supportedOS Vista 7 8 8.1 10
dpiAware true
dpiAwareness PerMonitorV2, PerMonitor
dependency Microsoft.Windows.Common-Controls 6.0.0.0 x86 6595b64144ccf1df" "$(python3 "$manifest" "$exe")"
check_eq "the check finds no manifest in the probe" "no manifest" "$(python3 "$manifest" "$probe")"

# VS_FIXEDFILEINFO begins with the signature FEEF04BD; dwFileOS is its ninth double word.
file_os=$(python3 - "$exe" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
at = data.find(struct.pack("<I", 0xFEEF04BD))
print("none" if at < 0 else "%08x" % struct.unpack_from("<I", data, at + 32)[0])
PY
)
check_eq "the version resource names both families (VOS__WINDOWS32)" "00000004" "$file_os"
finish
