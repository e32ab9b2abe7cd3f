#!/usr/bin/env python3
"""Checks the built PopUpMenu.dll without running it, from what objdump reads of the file.

  - the architecture: PE32 for i386 or PE32+ for x86-64;
  - the exports: exactly the entry points below, by name, with their ordinals;
  - the imports: system DLLs only (the C++ runtime is linked in, so hosts need nothing else);
  - the resources: the type library as TYPELIB 1 (language neutral), byte for byte the built
    PopUpMenu.tlb, and the CHECK bitmap;
  - with --version, the version resource: the project's version, the product and file names;
  - with --manifest, the DLL's assembly manifest: this module's processor, file name and version,
    and classes and a type library whose identifiers the module carries.
"""
import argparse
import os
import re
import subprocess
import sys
import uuid
import xml.etree.ElementTree as ElementTree

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import version_resource  # noqa: E402

EXPORTS = {"DllCanUnloadNow": 1, "DllGetClassObject": 2, "DllRegisterServer": 3, "DllUnregisterServer": 4,
           "DllInstall": 5}
SYSTEM_DLLS = {"advapi32.dll", "comctl32.dll", "gdi32.dll", "kernel32.dll", "msvcrt.dll", "ole32.dll",
               "oleaut32.dll", "user32.dll"}
MACHINES = {"i686": ("pei-i386", "010b", "i386"), "x86_64": ("pei-x86-64", "020b", "i386:x86-64")}
RT_BITMAP = 2
ASSEMBLY_ARCHITECTURES = {"i686": "x86", "x86_64": "amd64"}
ASSEMBLY_NAMESPACE = "{urn:schemas-microsoft-com:asm.v1}"
VFT_DLL, VOS_NT_WINDOWS32 = 2, 0x40004


def objdump(tool, *args):
    return subprocess.run([tool, *args], check=True, capture_output=True, text=True).stdout


def exports_of(private_headers):
    base = int(re.search(r"Export Address Table -- Ordinal Base (\d+)", private_headers).group(1))
    names = re.search(r"\[Ordinal/Name Pointer\] Table\n((?:\t\[ *\d+\] \S+\n)+)", private_headers)
    if not names:
        return {}
    return {name: int(index) + base for index, name in re.findall(r"\[ *(\d+)\] (\S+)", names.group(1))}


def resources_of(private_headers):
    """(type, name, language, size) of every resource, from objdump's resource directory dump."""
    section = private_headers.split("The .rsrc Resource Directory section:", 1)
    if len(section) < 2:
        return []
    found, path = [], {}
    for line in section[1].splitlines():
        entry = re.match(r"[0-9a-f]+( +)Entry: (?:name: \[[^\]]*\]: (\S+)|ID: (0x[0-9a-f]+|\d+)),", line)
        if entry:
            level = (len(entry.group(1)) - 3) // 2  # indented by 3 spaces for types, 5 names, 7 languages
            key = entry.group(2) if entry.group(2) else int(entry.group(3), 0)
            path[level] = key
            continue
        leaf = re.search(r"Leaf: Addr: 0x[0-9a-f]+, Size: (0x[0-9a-f]+)", line)
        if leaf:
            found.append((path.get(0), path.get(1), path.get(2), int(leaf.group(1), 16)))
    return found


def version_failures(module, version):
    try:
        info = version_resource.read(module)
    except (version_resource.FormatError, ValueError) as e:
        return [f"version resource: {e}"]
    failures = []
    fixed = info["fixed"]
    for field in ("file_version", "product_version"):
        if fixed[field] != version + ".0":
            failures.append(f"version resource: {field} {fixed[field]}, expected {version}.0")
    if (fixed["type"], fixed["os"]) != (VFT_DLL, VOS_NT_WINDOWS32):
        failures.append(f"version resource: file type {fixed['type']} and OS {fixed['os']:#x}, expected a DLL for NT")
    tables = [info["strings"].get(f"{lang:04x}{codepage:04x}") for lang, codepage in info["translations"]]
    if not tables or tables[0] is None:
        return failures + [f"version resource: no string table for the translations {info['translations']}"]
    expected = {"ProductName": "PopUpMenu", "OriginalFilename": "PopUpMenu.dll", "InternalName": "PopUpMenu",
                "FileVersion": version, "ProductVersion": version}
    for name, value in expected.items():
        if tables[0].get(name) != value:
            failures.append(f"version resource: {name} is {tables[0].get(name)!r}, expected {value!r}")
    return failures


def manifest_failures(module, manifest, machine, version):
    try:
        root = ElementTree.parse(manifest).getroot()
    except (OSError, ElementTree.ParseError) as e:
        return [f"assembly manifest: {e}"]
    failures = []
    identity = root.find(f"{ASSEMBLY_NAMESPACE}assemblyIdentity")
    file = root.find(f"{ASSEMBLY_NAMESPACE}file")
    if identity is None or file is None:
        return [f"assembly manifest {manifest}: no assemblyIdentity or no file"]
    if identity.get("processorArchitecture") != ASSEMBLY_ARCHITECTURES[machine]:
        failures.append(f"assembly manifest: processorArchitecture {identity.get('processorArchitecture')}, "
                        f"expected {ASSEMBLY_ARCHITECTURES[machine]} for {machine}")
    if version and identity.get("version") != version + ".0":
        failures.append(f"assembly manifest: version {identity.get('version')}, expected {version}.0")
    if file.get("name") != os.path.basename(module):
        failures.append(f"assembly manifest: names the file {file.get('name')}, not {os.path.basename(module)}")
    classes = file.findall(f"{ASSEMBLY_NAMESPACE}comClass")
    libraries = file.findall(f"{ASSEMBLY_NAMESPACE}typelib")
    if len(classes) != 3 or len(libraries) != 1:
        return failures + [f"assembly manifest: {len(classes)} classes and {len(libraries)} type libraries, "
                           "expected 3 and 1"]
    with open(module, "rb") as f:
        image = f.read()
    tlbid = libraries[0].get("tlbid")
    for element in classes + libraries:
        for attribute in ("clsid", "tlbid"):
            text = element.get(attribute)
            if text is not None and uuid.UUID(text).bytes_le not in image:
                failures.append(f"assembly manifest: {attribute} {text} is not an identifier of this module")
    for element in classes:
        if element.get("threadingModel") != "Apartment" or element.get("tlbid") != tlbid:
            failures.append(f"assembly manifest: class {element.get('progid')} is not an apartment class of {tlbid}")
    return failures


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--objdump", required=True)
    parser.add_argument("--machine", choices=MACHINES, required=True)
    parser.add_argument("--typelib", help="the built PopUpMenu.tlb, which the module must embed byte for byte")
    parser.add_argument("--version", help="the project's version, x.y.z")
    parser.add_argument("--manifest", help="the DLL's assembly manifest")
    parser.add_argument("module")
    args = parser.parse_args()

    failures = []
    file_header = objdump(args.objdump, "-f", args.module)
    private_headers = objdump(args.objdump, "-p", args.module)
    file_format, magic, architecture = MACHINES[args.machine]

    if f"file format {file_format}" not in file_header:
        failures.append(f"not a {file_format} file")
    if not re.search(rf"architecture: {re.escape(architecture)},", file_header):
        failures.append(f"architecture is not {architecture}")
    if not re.search(rf"Magic\s+{magic}\b", private_headers):
        failures.append(f"optional header magic is not {magic}")

    exports = exports_of(private_headers)
    if exports != EXPORTS:
        failures.append(f"exports {sorted(exports.items(), key=lambda e: e[1])}, expected "
                        f"{sorted(EXPORTS.items(), key=lambda e: e[1])}")

    imports = {name.lower() for name in re.findall(r"DLL Name: (\S+)", private_headers)}
    if not imports <= SYSTEM_DLLS:
        failures.append(f"imports DLLs that are not part of the system: {sorted(imports - SYSTEM_DLLS)}")

    resources = resources_of(private_headers)
    if not any(kind == "TYPELIB" and name == 1 and language == 0 for kind, name, language, _ in resources):
        failures.append(f"no language-neutral TYPELIB 1 among {resources}")
    if args.typelib:
        with open(args.typelib, "rb") as f:
            typelib = f.read()
        if ("TYPELIB", 1, 0, len(typelib)) not in resources:
            failures.append(f"no language-neutral TYPELIB 1 of {len(typelib)} bytes among {resources}")
        with open(args.module, "rb") as f:
            if typelib not in f.read():
                failures.append("the embedded type library differs from the built PopUpMenu.tlb")
    if not any(kind == RT_BITMAP and name == "CHECK" for kind, name, _, _ in resources):
        failures.append(f"no CHECK bitmap among {resources}")

    if args.version:
        failures += version_failures(args.module, args.version)
    if args.manifest:
        failures += manifest_failures(args.module, args.manifest, args.machine, args.version)

    for failure in failures:
        print(f"{args.module}: {failure}", file=sys.stderr)
    if not failures:
        print(f"{args.module}: {args.machine}, exports {EXPORTS}, imports {sorted(imports)}, resources {resources}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
