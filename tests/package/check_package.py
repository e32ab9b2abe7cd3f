#!/usr/bin/env python3
"""Checks the release package without running anything from it:

  - the SHA256SUMS beside the zip names it with its checksum;
  - the zip holds exactly the package's files, under PopUpMenu-<version>/, and its SHA256SUMS
    lists every other file with its checksum;
  - each DLL (tests/com/check_module.py): its processor, its exports, imports of system DLLs only,
    its resources, its version resource with the package's version, and its assembly manifest;
    the x64 DLL embeds the shipped PopUpMenu.tlb byte for byte;
  - the two assembly manifests differ in their processor only;
  - USAGE.md's example application manifest names the assembly's current version.

  check_package.py <folder holding the zip and SHA256SUMS>
"""
import hashlib
import os
import re
import subprocess
import sys
import tempfile
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
CHECK_MODULE = os.path.join(HERE, "..", "com", "check_module.py")
FILES = ["PopUpMenu.tlb", "SHA256SUMS", "USAGE.md", "demo.vbs",
         "x64/PopUpMenu.dll", "x64/PopUpMenu.sxs.manifest", "x86/PopUpMenu.dll", "x86/PopUpMenu.sxs.manifest"]
DLLS = {"x86": ("i686", "i686-w64-mingw32-objdump"), "x64": ("x86_64", "x86_64-w64-mingw32-objdump")}


def sums(text):
    """{name: checksum} of a sha256sum listing."""
    entries = {}
    for line in text.splitlines():
        match = re.fullmatch(r"([0-9a-f]{64}) [ *](.+)", line)
        if not match:
            raise ValueError(f"not a sha256sum line: {line!r}")
        entries[match.group(2)] = match.group(1)
    return entries


def main():
    dist = sys.argv[1]
    failures = []
    with open(os.path.join(dist, "SHA256SUMS"), encoding="utf-8") as f:
        beside = sums(f.read())
    if len(beside) != 1:
        sys.exit(f"{dist}/SHA256SUMS lists {sorted(beside)}, expected one zip")
    zip_name, zip_sum = next(iter(beside.items()))
    match = re.fullmatch(r"PopUpMenu-(\d+\.\d+\.\d+)\.zip", zip_name)
    if not match:
        sys.exit(f"{dist}/SHA256SUMS names {zip_name}, not PopUpMenu-<version>.zip")
    version, root = match.group(1), zip_name[:-len(".zip")]
    with open(os.path.join(dist, zip_name), "rb") as f:
        if hashlib.sha256(f.read()).hexdigest() != zip_sum:
            failures.append(f"{zip_name}: its checksum differs from the one in SHA256SUMS")

    with zipfile.ZipFile(os.path.join(dist, zip_name)) as z, tempfile.TemporaryDirectory() as unpacked:
        names = sorted(z.namelist())
        expected = sorted(f"{root}/{name}" for name in FILES)
        if names != expected:
            failures.append(f"{zip_name} holds {names}, expected {expected}")
            return report(failures, zip_name)
        z.extractall(unpacked)
        package = os.path.join(unpacked, root)

        def read(name):
            with open(os.path.join(package, name), "rb") as f:
                return f.read()

        inside = sums(read("SHA256SUMS").decode("utf-8"))
        if sorted(inside) != sorted(set(FILES) - {"SHA256SUMS"}):
            failures.append(f"its SHA256SUMS lists {sorted(inside)}")
        for name, checksum in inside.items():
            if name in FILES and hashlib.sha256(read(name)).hexdigest() != checksum:
                failures.append(f"{name}: its checksum differs from the one in the package's SHA256SUMS")

        for folder, (machine, objdump) in DLLS.items():
            command = [sys.executable, CHECK_MODULE, "--objdump", objdump, "--machine", machine, "--version", version,
                       "--manifest", os.path.join(package, folder, "PopUpMenu.sxs.manifest")]
            if folder == "x64":
                command += ["--typelib", os.path.join(package, "PopUpMenu.tlb")]
            run = subprocess.run(command + [os.path.join(package, folder, "PopUpMenu.dll")],
                                 capture_output=True, text=True)
            if run.returncode != 0:
                failures.append(f"{folder}/PopUpMenu.dll:\n{run.stderr.strip()}")
            else:
                imports = re.search(r"imports (\[[^\]]*\])", run.stdout)
                print(f"ok    {folder}/PopUpMenu.dll: {machine}, version {version}, imports "
                      f"{imports.group(1) if imports else '?'}")

        manifests = [read(f"{folder}/PopUpMenu.sxs.manifest").decode("utf-8") for folder in DLLS]
        unify = [re.sub(r'processorArchitecture="[^"]*"', 'processorArchitecture=""', m) for m in manifests]
        if unify[0] != unify[1]:
            failures.append("the x86 and x64 assembly manifests differ in more than their processor")
        usage_versions = set(re.findall(r'name="PopUpMenu\.sxs" version="([^"]+)"', read("USAGE.md").decode("utf-8")))
        if usage_versions != {version + ".0"}:
            failures.append(f"USAGE.md's example names the assembly's version {sorted(usage_versions)}, "
                            f"the package's is {version}.0")
    return report(failures, zip_name)


def report(failures, zip_name):
    for failure in failures:
        print(f"FAIL: {failure}", file=sys.stderr)
    if not failures:
        print(f"ok    {zip_name}: its checksums, files, DLLs, manifests and USAGE.md")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
