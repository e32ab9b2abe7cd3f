#!/usr/bin/env python3
"""Every name of the project's shell helpers that a script uses is defined somewhere.

  defined_names.py SOURCE_DIR

The helpers live in scripts/lib/common.sh (popupmenu_...) and tests/e2e/harness.sh (e2e_...). A
script that calls a helper which was renamed or removed fails only when it reaches that line
(scripts/demo once did, at its first run, while every test passed). Here each use of a
popupmenu_ or e2e_ name in a script, outside comments, must be a function or variable defined in
the helpers or in the script itself, or a target of the CMake build (which the scripts build by
name); each failure names the script, the line and the name."""

import pathlib
import re
import sys

LIBRARIES = ["scripts/lib/common.sh", "tests/e2e/harness.sh"]
NAME = re.compile(r"\b((?:popupmenu|e2e)_[A-Za-z0-9_]+)\b")
FUNCTION = re.compile(r"^\s*(?:function\s+)?([A-Za-z_][A-Za-z0-9_]*)\s*\(\)\s*\{?", re.M)
ASSIGNED = re.compile(r"(?:^|[\s;(&|])(?:(?:local|export|declare(?:\s+-\w+)*)\s+)?([A-Za-z_][A-Za-z0-9_]*)(?:\+?=|\[[^]]*\]=)")
DECLARED = re.compile(r"\b(?:local|export|read\s+-r|mapfile\s+-t|for)\s+((?:[A-Za-z_][A-Za-z0-9_]*\s*)+)")


def without_comments(line):
    """The line up to a comment: a # at its start or after a blank, outside quotes."""
    quote = None
    for i, c in enumerate(line):
        if quote:
            if c == quote:
                quote = None
        elif c in "'\"":
            quote = c
        elif c == "#" and (i == 0 or line[i - 1] in " \t"):
            return line[:i]
    return line


def definitions(text):
    code = "\n".join(without_comments(line) for line in text.splitlines())
    names = set(FUNCTION.findall(code)) | set(ASSIGNED.findall(code))
    for group in DECLARED.findall(code):
        names.update(group.split())
    return names


def cmake_targets(source):
    target = re.compile(r"\b(?:add_executable|add_library|add_custom_target|popupmenu_add_test)\(\s*([A-Za-z0-9_.-]+)")
    names = set()
    for path in source.rglob("CMakeLists.txt"):
        if "build" not in path.relative_to(source).parts:
            names.update(target.findall(path.read_text(encoding="utf-8")))
    return names


def scripts(source):
    """The project's shell scripts: the commands under scripts/ and every .sh file under tests/."""
    found = []
    for path in sorted((source / "scripts").iterdir()):
        if path.is_file() and path.read_bytes()[:2] == b"#!" and b"bash" in path.read_bytes().split(b"\n", 1)[0]:
            found.append(path)
    found += sorted(p for p in (source / "tests").rglob("*.sh") if "build" not in p.parts)
    return found + [source / ".ci" / "run"] if (source / ".ci" / "run").exists() else found


def main(argv):
    source = pathlib.Path(argv[1]).resolve()
    defined = cmake_targets(source)
    for library in LIBRARIES:
        defined |= definitions((source / library).read_text(encoding="utf-8"))
    failures, checked = [], 0
    for script in scripts(source):
        text = script.read_text(encoding="utf-8")
        own = definitions(text)
        for number, line in enumerate(text.splitlines(), 1):
            for name in NAME.findall(without_comments(line)):
                checked += 1
                if name not in defined and name not in own:
                    failures.append(f"{script.relative_to(source)}:{number}: {name} is defined nowhere")
    for failure in failures:
        print("FAIL  " + failure)
    print(f"{checked} uses of helper names checked in {len(scripts(source))} scripts; "
          f"{len(failures)} undefined")
    return 1 if failures or checked == 0 else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
