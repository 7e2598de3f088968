#!/usr/bin/env python3
"""Makes a copy of a Windows exe that sees the system DLLs as strictly as Windows shows them.

Wine is more forgiving than Windows in three ways that matter here:
- It implements every W function even when it reports Windows 98. Windows 95, 98 and ME export
  the W names too, but almost all are stubs that fail with ERROR_CALL_NOT_IMPLEMENTED.
- Its WideCharToMultiByte and MultiByteToWideChar accept every flag on every code page. Windows
  accepts only 0 and WC_ERR_INVALID_CHARS (MB_ERR_INVALID_CHARS) for UTF-8, with no
  default-character arguments, and Windows 95 and NT 4.0 do not know WC_NO_BEST_FIT_CHARS.
- Its GetProcAddress finds every function that Wine has, whatever Windows it reports; 95, 98 and
  ME lack the later calls that tavo looks up at run time (the per-monitor DPI calls).

For each system DLL that the exe imports this writes a proxy DLL that forwards every import to
the real DLL, except: the conversion functions check their arguments as Windows does, and in
the 9x family the stubbed W functions fail as they do there and GetProcAddress does not find
the later calls. The copy of the exe imports the proxies instead (KERNEL32.dll becomes
KERNEL9X.dll, a name of the same length).

    windows_layer.py EXE OUT_FOLDER ARCH FAMILY     ARCH: i686 or x86_64; FAMILY: 9x or nt

Writes OUT_FOLDER/<exe name> and the proxy DLLs beside it.
"""
import os
import re
import struct
import subprocess
import sys

import pe

# The W functions that 95, 98 and ME implement (MSDN "Windows 95 General Limitations", KB
# Q210341); lstrcpyW and lstrcatW came with 98, and are kept as 98 has them.
NATIVE = {
    "ExtTextOutW", "TextOutW", "GetCharWidthW", "GetTextExtentPointW", "GetTextExtentPoint32W",
    "GetTextExtentExPointW", "MessageBoxW", "MessageBoxExW", "EnumResourceLanguagesW",
    "EnumResourceNamesW", "EnumResourceTypesW", "FindResourceW", "FindResourceExW",
    "GetCommandLineW", "lstrlenW", "lstrcpyW", "lstrcatW", "MultiByteToWideChar",
    "WideCharToMultiByte",
}
# Documented failure values other than 0.
FAILURE = {"CreateFileW": "(ULONG_PTR)-1", "FindFirstFileW": "(ULONG_PTR)-1",
           "GetFileAttributesW": "(ULONG_PTR)-1", "SearchPathW": "0"}
SYSTEM_DLLS = {"KERNEL32.DLL", "USER32.DLL", "GDI32.DLL", "ADVAPI32.DLL"}

# The calls that check their arguments as Windows does. The conversions' UTF-8 rules hold on
# both families; the 9x layer also refuses WC_NO_BEST_FIT_CHARS, as Windows 95 does, and does not
# find the calls that came with later Windows.
STRICT = {
    "WideCharToMultiByte": """
int WINAPI strict_WideCharToMultiByte(UINT cp, DWORD flags, LPCWCH text, int length, LPSTR out,
                                      int size, LPCCH default_char, LPBOOL used_default) {
  if (is_utf8(cp) && (flags & ~(DWORD)WC_ERR_INVALID_CHARS)) return refuse(ERROR_INVALID_FLAGS);
  if (is_utf8(cp) && (default_char || used_default)) return refuse(ERROR_INVALID_PARAMETER);
  if (NINE_X && (flags & WC_NO_BEST_FIT_CHARS)) return refuse(ERROR_INVALID_FLAGS);
  return WideCharToMultiByte(cp, flags, text, length, out, size, default_char, used_default);
}""",
    "MultiByteToWideChar": """
int WINAPI strict_MultiByteToWideChar(UINT cp, DWORD flags, LPCCH text, int length, LPWSTR out,
                                      int size) {
  if (is_utf8(cp) && (flags & ~(DWORD)MB_ERR_INVALID_CHARS)) return refuse(ERROR_INVALID_FLAGS);
  return MultiByteToWideChar(cp, flags, text, length, out, size);
}""",
    "GetProcAddress": """
FARPROC WINAPI strict_GetProcAddress(HMODULE module, LPCSTR name) {
  static const char* const later[] = {"GetDpiForWindow", "AdjustWindowRectExForDpi",
                                      "EnableNonClientDpiScaling"};
  for (int i = 0; NINE_X && HIWORD((ULONG_PTR)name) && i < 3; ++i) {
    if (!lstrcmpA(name, later[i])) return (FARPROC)(ULONG_PTR)refuse(ERROR_PROC_NOT_FOUND);
  }
  return GetProcAddress(module, name);
}""",
}
STRICT_SIZES = {"WideCharToMultiByte": 32, "MultiByteToWideChar": 24, "GetProcAddress": 8}
PRELUDE = """#include <windows.h>
#ifndef WC_ERR_INVALID_CHARS
#define WC_ERR_INVALID_CHARS 0x80
#endif
#define NINE_X %d
static ULONG_PTR fail(ULONG_PTR value) {
  SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
  return value;
}
static int refuse(DWORD error) {
  SetLastError(error);
  return 0;
}
static int is_utf8(UINT cp) {
  return cp == CP_UTF8 || ((cp == CP_ACP || cp == CP_THREAD_ACP) && GetACP() == CP_UTF8) ||
         (cp == CP_OEMCP && GetOEMCP() == CP_UTF8);
}
"""


def read_imports(data):
    """[(offset of the DLL name, DLL name, [function names])] from a PE file's import table."""
    image = pe.Image(data)
    plus, offset = image.plus, image.offset

    def text(at):
        return data[at:data.index(b"\0", at)].decode("ascii")

    imports = []
    at = offset(image.directory(1)[0])
    while True:
        lookup, _, _, name_rva, thunks = struct.unpack_from("<IIIII", data, at)
        if name_rva == 0:
            break
        names = []
        entry = offset(lookup or thunks)
        width, ordinal = (8, 1 << 63) if plus else (4, 1 << 31)
        while True:
            value = int.from_bytes(data[entry:entry + width], "little")
            if value == 0:
                break
            if not value & ordinal:
                names.append(text(offset(value & 0x7FFFFFFF) + 2))
            entry += width
        imports.append((offset(name_rva), text(offset(name_rva)), names))
        at += 20
    return imports


def library_exports(dll, arch):
    """{name: argument bytes} of a DLL, from MinGW's import libraries; the i686 one carries the
    stdcall sizes, which the x86_64 calling convention does not need."""
    def symbols(triplet, pattern):
        library = "/usr/%s/lib/lib%s.a" % (triplet, dll.lower()[:-4])
        out = subprocess.run([triplet + "-nm", "-g", library], capture_output=True, text=True,
                             check=True).stdout
        return re.finditer(pattern, out, re.M)

    sizes = {m.group(1): int(m.group(2))
             for m in symbols("i686-w64-mingw32", r" T _(\w+)@(\d+)$")}
    if arch == "i686":
        return sizes
    return {m.group(1): sizes.get(m.group(1), 0)
            for m in symbols("x86_64-w64-mingw32", r" T (\w+)$")}


def is_stub(name, exports, family):
    return (family == "9x" and name.endswith("W") and name[:-1] + "A" in exports
            and name not in NATIVE)


def write_proxy(folder, dll, proxy, names, arch, family):
    exports = library_exports(dll, arch)
    real = dll[:-4]
    stubs, lines = [], ["LIBRARY %s" % proxy, "EXPORTS"]
    decorate = (lambda size: "@%d" % size) if arch == "i686" else (lambda size: "")
    for name in names:
        if name in STRICT:
            stubs.append(STRICT[name])
            lines.append("  %s = strict_%s%s" % (name, name, decorate(STRICT_SIZES[name])))
            continue
        if not is_stub(name, exports, family):
            lines.append("  %s = %s.%s" % (name, real, name))
            continue
        size = exports[name]
        arguments = ", ".join("ULONG_PTR a%d" % i for i in range(size // 4)) or "void"
        stubs.append("ULONG_PTR WINAPI stub_%s(%s) { return fail(%s); }"
                     % (name, arguments, FAILURE.get(name, "0")))
        lines.append("  %s = stub_%s%s" % (name, name, decorate(size)))
    base = os.path.join(folder, proxy[:-4])
    with open(base + ".c", "w") as source:
        source.write(PRELUDE % (family == "9x"))
        source.write("\n".join(stubs) + "\n")
    with open(base + ".def", "w") as definition:
        definition.write("\n".join(lines) + "\n")
    subprocess.run(["%s-w64-mingw32-gcc-win32" % arch, "-shared", "-O1", "-o", base + ".dll",
                    base + ".c", base + ".def", "-static-libgcc"], check=True)
    return [name for name in names if is_stub(name, exports, family)]


def main():
    exe, folder, arch, family = sys.argv[1:5]
    os.makedirs(folder, exist_ok=True)
    data = bytearray(open(exe, "rb").read())
    for name_at, dll, names in read_imports(bytes(data)):
        if dll.upper() not in SYSTEM_DLLS:
            continue
        proxy = re.sub("32\\.", "9X." if family == "9x" else "NT.", dll, count=1, flags=re.I)
        assert len(proxy) == len(dll)
        stubbed = write_proxy(folder, dll.upper(), proxy, names, arch, family)
        data[name_at:name_at + len(dll)] = proxy.encode("ascii")
        if stubbed:
            print("%s -> %s: stubbed as on 9x: %s" % (dll, proxy, " ".join(stubbed)))
    with open(os.path.join(folder, os.path.basename(exe)), "wb") as out:
        out.write(data)


if __name__ == "__main__":
    main()
