#!/usr/bin/env python3
"""Checks the built PopUpMenu.dll without running it, from what objdump reads of the file.

  - the architecture: PE32 for i386 or PE32+ for x86-64;
  - the exports: exactly the entry points below, by name, with their ordinals;
  - the imports: system DLLs only (the C++ runtime is linked in, so hosts need nothing else);
  - the resources: the type library as TYPELIB 1 (language neutral), byte for byte the built
    PopUpMenu.tlb, and the CHECK bitmap.
"""
import argparse
import re
import subprocess
import sys

EXPORTS = {"DllCanUnloadNow": 1, "DllGetClassObject": 2, "DllRegisterServer": 3, "DllUnregisterServer": 4,
           "DllInstall": 5}
SYSTEM_DLLS = {"advapi32.dll", "comctl32.dll", "gdi32.dll", "kernel32.dll", "msvcrt.dll", "ole32.dll",
               "oleaut32.dll", "user32.dll"}
MACHINES = {"i686": ("pei-i386", "010b", "i386"), "x86_64": ("pei-x86-64", "020b", "i386:x86-64")}
RT_BITMAP = 2


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


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--objdump", required=True)
    parser.add_argument("--machine", choices=MACHINES, required=True)
    parser.add_argument("--typelib", required=True)
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

    with open(args.typelib, "rb") as f:
        typelib = f.read()
    resources = resources_of(private_headers)
    if ("TYPELIB", 1, 0, len(typelib)) not in resources:
        failures.append(f"no language-neutral TYPELIB 1 of {len(typelib)} bytes among {resources}")
    with open(args.module, "rb") as f:
        if typelib not in f.read():
            failures.append("the embedded type library differs from the built PopUpMenu.tlb")
    if not any(kind == RT_BITMAP and name == "CHECK" for kind, name, _, _ in resources):
        failures.append(f"no CHECK bitmap among {resources}")

    for failure in failures:
        print(f"{args.module}: {failure}", file=sys.stderr)
    if not failures:
        print(f"{args.module}: {args.machine}, exports {EXPORTS}, imports {sorted(imports)}, resources {resources}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
