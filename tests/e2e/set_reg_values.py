"""Sets values under one key of a Wine registry file (user.reg, system.reg) before Wine reads it.

  set_reg_values.py FILE KEY NAME=LINE...

Each LINE is the value as the file spells it after the '=' ("text" for a string, dword:0000007b
for a number). A value that is there already is replaced; a missing key is added at the end.
"""

import re
import sys


def main():
    path, key, pairs = sys.argv[1], sys.argv[2], [a.split("=", 1) for a in sys.argv[3:]]
    with open(path, encoding="utf-8", errors="surrogateescape") as f:
        text = f.read()
    header = "[" + key.replace("\\", "\\\\") + "]"
    start = text.find(header)
    if start < 0:
        text += "\n" + header + "\n"
        start = text.find(header)
    end = text.find("\n\n", start)
    end = len(text) if end < 0 else end
    section = text[start:end]
    for name, value in pairs:
        line = f'"{name}"={value}'
        pattern = re.compile(r'^"' + re.escape(name) + r'"=.*$', re.M)
        section = pattern.sub(lambda _: line, section) if pattern.search(section) else section + "\n" + line
    with open(path, "w", encoding="utf-8", errors="surrogateescape") as f:
        f.write(text[:start] + section + text[end:])


if __name__ == "__main__":
    main()
