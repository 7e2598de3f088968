#!/usr/bin/env python3
"""Prints what the application manifest of a Windows exe asks of Windows, one request a line.

    manifest.py EXE

The manifest is the resource that Windows reads when it starts the process: type RT_MANIFEST (24),
ID 1. Each element is looked for in the namespace that Windows reads it in, so one in another
namespace counts as missing; the namespace of trustInfo is printed, since Windows XP knows only
asm.v2's. Prints "no manifest" when the exe has none and "not XML: <reason>" when it does not
parse.
"""
import sys
import xml.etree.ElementTree as ElementTree

import pe

ASM_V1 = "{urn:schemas-microsoft-com:asm.v1}"
ASM_V3 = "{urn:schemas-microsoft-com:asm.v3}"
COMPATIBILITY = "{urn:schemas-microsoft-com:compatibility.v1}"
SETTINGS_2005 = "{http://schemas.microsoft.com/SMI/2005/WindowsSettings}"
SETTINGS_2016 = "{http://schemas.microsoft.com/SMI/2016/WindowsSettings}"
TRUST = ("urn:schemas-microsoft-com:asm.v2", "urn:schemas-microsoft-com:asm.v3")
SYSTEMS = {
    "{e2011457-1546-43c5-a5fe-008deee3d3f0}": "Vista",
    "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}": "7",
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}": "8",
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}": "8.1",
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}": "10",
}


def identity(element):
    if element is None:
        return "missing"
    return " ".join(element.get(key, "-") for key in
                    ("name", "version", "processorArchitecture", "publicKeyToken"))


def requests(root):
    yield "assembly " + ("asm.v1" if root.tag == ASM_V1 + "assembly" else root.tag)
    yield "identity " + identity(root.find(ASM_V1 + "assemblyIdentity"))
    for namespace in TRUST:
        level = root.find("{%s}trustInfo/{%s}security/{%s}requestedPrivileges/"
                          "{%s}requestedExecutionLevel" % ((namespace,) * 4))
        if level is not None:
            yield "execution level %s, uiAccess %s, in %s" % (
                level.get("level"), level.get("uiAccess"), namespace.rsplit(":", 1)[1])
    systems = root.findall(COMPATIBILITY + "compatibility/" + COMPATIBILITY + "application/" +
                           COMPATIBILITY + "supportedOS")
    yield "supportedOS " + " ".join(SYSTEMS.get(s.get("Id", "").lower(), s.get("Id", "?"))
                                    for s in systems)
    settings = ASM_V3 + "application/" + ASM_V3 + "windowsSettings/"
    for name, namespace in (("dpiAware", SETTINGS_2005), ("dpiAwareness", SETTINGS_2016)):
        value = root.find(settings + namespace + name)
        yield "%s %s" % (name, "missing" if value is None else value.text.strip())
    for dependency in root.findall(ASM_V1 + "dependency/" + ASM_V1 + "dependentAssembly/" +
                                   ASM_V1 + "assemblyIdentity"):
        yield "dependency " + identity(dependency)


def main():
    manifest = pe.Image(open(sys.argv[1], "rb").read()).resource(24, 1)
    if manifest is None:
        print("no manifest")
        return
    try:
        root = ElementTree.fromstring(manifest)
    except ElementTree.ParseError as error:
        print("not XML: %s" % error)
        return
    print("\n".join(requests(root)))


if __name__ == "__main__":
    main()
