#!/usr/bin/env python3
"""The registration commands that USAGE.md tells a user to type, read from its table under
"## Registering" as they stand, one line each:

  <folder> <scope> <register command>
  <folder> <scope> <unregister command>

<folder> is the package's folder the command names (x64 or x86), <scope> "machine" or "user" (the
form with /i:user). An unregister cell that begins with "..." repeats the program of the register
cell beside it. A table whose rows the reader cannot follow is an error, so that a changed table
fails the test rather than passing untried."""

import re
import sys


def table_rows(text):
    section = re.search(r"^## Registering\n(.*?)(?=^## |\Z)", text, re.M | re.S)
    if not section:
        raise ValueError("no section '## Registering'")
    rows = [line for line in section.group(1).splitlines() if line.startswith("|")]
    # The header and the line under it.
    return [[cell.strip() for cell in row.strip("|").split("|")] for row in rows[2:]]


def command_of(cell):
    commands = [c for c in re.findall(r"`([^`]+)`", cell) if "regsvr32" in c]
    if len(commands) != 1:
        raise ValueError(f"expected one regsvr32 command in the cell {cell!r}")
    return commands[0]


def commands(text):
    lines = []
    for row in table_rows(text):
        if len(row) != 3:
            raise ValueError(f"expected three cells in the row {row!r}")
        register, unregister = command_of(row[1]), command_of(row[2])
        program = register[:register.index("regsvr32") + len("regsvr32")]
        if unregister.startswith("..."):
            unregister = program + unregister[3:].lstrip()[len("regsvr32"):]
        folder = re.search(r"\b(x64|x86)\\PopUpMenu\.dll\b", register)
        if not folder or folder.group(1) not in unregister:
            raise ValueError(f"the commands {register!r} and {unregister!r} name no package folder, or not the same")
        if "/u" in register.split() or "/u" not in unregister.split():
            raise ValueError(f"expected a register and an unregister command: {register!r}, {unregister!r}")
        scope = "user" if "/i:user" in register else "machine"
        if ("/i:user" in unregister) != (scope == "user"):
            raise ValueError(f"the unregister command {unregister!r} does not undo {register!r}")
        lines += [f"{folder.group(1)} {scope} {register}", f"{folder.group(1)} {scope} {unregister}"]
    if not lines:
        raise ValueError("the table has no commands")
    return lines


def main(argv):
    with open(argv[1], encoding="utf-8") as f:
        try:
            print("\n".join(commands(f.read())))
        except ValueError as e:
            raise SystemExit(f"{argv[1]}: {e}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
