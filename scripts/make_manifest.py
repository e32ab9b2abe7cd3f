#!/usr/bin/env python3
"""Writes the assembly manifest that lets a host use PopUpMenu.dll without registration.

Everything COM needs is read from the compiled type library, the one the DLL embeds and registers:
the library's identifier and version, and for each class its identifier; each class's ProgID is
the library's name, a point and the class's name, as registration writes it. The dual interfaces
are declared with the system's automation marshaler, as registering the type library does, so
that their calls can cross apartments.

  make_manifest.py PopUpMenu.tlb --name PopUpMenu.sxs --version 1.0.0.0 --arch x86|amd64
                   --dll PopUpMenu.dll -o PopUpMenu.sxs.manifest
"""
import argparse
import os
import struct
import sys
import uuid
from xml.sax.saxutils import quoteattr

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from arrange_typelib import TypeLibrary  # noqa: E402  (the MSFT reader next to this script)

TKIND_DISPATCH, TKIND_COCLASS = 4, 5
TYPEFLAG_FDUAL = 0x40
# The automation (type library) marshaler and IDispatch.
AUTOMATION_MARSHALER = "{00020424-0000-0000-C000-000000000046}"
IID_IDISPATCH = "{00020400-0000-0000-C000-000000000046}"
ARCHITECTURES = ("x86", "amd64")


def guid_at(library, offset):
    """The GUID stored at an offset of the GUID table, as registry text."""
    start, _ = library.segments["Guid"]
    raw = bytes(library.data[start + offset:start + offset + 16])
    return "{" + str(uuid.UUID(bytes_le=raw)).upper() + "}"


def read_identity(library):
    """(name, tlbid, "major.minor", classes, dual interfaces); classes and interfaces as (name, guid)."""
    name = library.name_at(library.i32(0x38))
    tlbid = guid_at(library, library.i32(0x08))
    version = struct.unpack_from("<HH", library.data, 0x18)
    classes, interfaces = [], []
    for index, type_name in enumerate(library.type_names()):
        info = library.typeinfo_at(index)
        kind = library.i32(info) & 0xF
        guid = guid_at(library, library.i32(info + 0x2C))
        if kind == TKIND_COCLASS:
            classes.append((type_name, guid))
        elif kind == TKIND_DISPATCH and library.i32(info + 0x30) & TYPEFLAG_FDUAL:
            interfaces.append((type_name, guid))
    return name, tlbid, f"{version[0]}.{version[1]}", classes, interfaces


def manifest(assembly, version, arch, dll, identity):
    library_name, tlbid, tlb_version, classes, interfaces = identity
    a = quoteattr
    lines = [
        '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>',
        '<assembly xmlns="urn:schemas-microsoft-com:asm.v1" manifestVersion="1.0">',
        f'  <assemblyIdentity type="win32" name={a(assembly)} version={a(version)} processorArchitecture={a(arch)}/>',
        f'  <file name={a(dll)}>',
    ]
    for class_name, clsid in classes:
        lines.append(f'    <comClass clsid={a(clsid)} progid={a(library_name + "." + class_name)}'
                     f' threadingModel="Apartment" tlbid={a(tlbid)} description={a(class_name)}/>')
    lines.append(f'    <typelib tlbid={a(tlbid)} version={a(tlb_version)} helpdir=""/>')
    lines.append('  </file>')
    for interface_name, iid in interfaces:
        lines.append(f'  <comInterfaceExternalProxyStub name={a(interface_name)} iid={a(iid)}'
                     f' proxyStubClsid32="{AUTOMATION_MARSHALER}" baseInterface="{IID_IDISPATCH}" tlbid={a(tlbid)}/>')
    lines.append('</assembly>')
    return "\n".join(lines) + "\n"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("typelib")
    parser.add_argument("--name", required=True, help="the assembly's name")
    parser.add_argument("--version", required=True, help="the assembly's version, four numbers")
    parser.add_argument("--arch", required=True, choices=ARCHITECTURES)
    parser.add_argument("--dll", required=True, help="the DLL's file name")
    parser.add_argument("-o", "--output", required=True)
    args = parser.parse_args()
    if len(args.version.split(".")) != 4 or not all(p.isdigit() for p in args.version.split(".")):
        raise ValueError(f"an assembly version has four numbers, not {args.version!r}")
    with open(args.typelib, "rb") as f:
        identity = read_identity(TypeLibrary(f.read()))
    if not identity[3]:
        raise ValueError(f"{args.typelib} describes no class")
    with open(args.output, "w", encoding="utf-8", newline="\r\n") as f:
        f.write(manifest(args.name, args.version, args.arch, args.dll, identity))


if __name__ == "__main__":
    try:
        main()
    except (OSError, ValueError) as e:
        sys.exit(f"make_manifest: {e}")
