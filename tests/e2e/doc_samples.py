#!/usr/bin/env python3
"""The script samples of a document (its ```vb and ```vbscript blocks, VBScript, and its ```js
blocks, JScript), as they stand, and how to choose an item of each one's menu with the keyboard.

  doc_samples.py DOC OUTDIR    writes OUTDIR/sample-N.vbs or .js for each sample, and prints one
                               line per sample: "sample-N.<ext> <key> <keys...>": the key of the
                               item to choose and the keys that choose it

The item chosen is the first top-level item that is visible, enabled, no separator and opens no
submenu; the keys are Down once per item from the first to it (separators and hidden items are
not in the menu; from no selection Down highlights the first item) and Return. A sample without
such an item, or whose items the reader cannot follow, is an error: the test must not pass on a
sample it did not run."""

import os
import re
import sys

BLOCK = re.compile(r"^```(vb|vbscript|js)[ \t]*\n(.*?)^```[ \t]*$", re.M | re.S)
EXTENSION = {"vb": "vbs", "vbscript": "vbs", "js": "js"}
STRING = r'"((?:[^"]|"")*)"'
# items.Add "key", "label"[, "parent"...]   or   Set item = items.Add("key", "label"[, "parent"...])
# or, in JScript, [var item = ]items.Add("key", "label"[, "parent"...]);
ADD = re.compile(r'^\s*(?:(?:Set|var)\s+(\w+)\s*=\s*)?[\w.]+\.Add[\s(]+' + STRING + r'\s*,\s*' + STRING
                 + r'(?:\s*,\s*' + STRING + r')?', re.I)
FLAG = re.compile(r'^\s*(\w+)\.(Enabled|Visible)\s*=\s*(True|False)\b', re.I)


def samples(text):
    return [(EXTENSION[m.group(1)], m.group(2)) for m in BLOCK.finditer(text)]


def target(sample):
    """(key, keys) for the item to choose in the sample's menu."""
    items, by_variable = [], {}
    for line in sample.splitlines():
        add, flag = ADD.match(line), FLAG.match(line)
        if add:
            variable, key, label, parent = add.groups()
            item = {"key": key.replace('""', '"'), "label": label, "parent": (parent or "").lower(),
                    "enabled": True, "visible": True}
            items.append(item)
            if variable:
                by_variable[variable.lower()] = item
        elif flag:
            item = by_variable.get(flag.group(1).lower())
            if item is None:
                raise ValueError(f"cannot tell which item this line changes: {line.strip()}")
            item[flag.group(2).lower()] = flag.group(3).lower() == "true"
        elif re.search(r"\.(Enabled|Visible)\s*=", line, re.I):
            raise ValueError(f"cannot follow this change of an item: {line.strip()}")
    if not items:
        raise ValueError("the sample adds no items")
    parents = {i["parent"] for i in items}
    shown = [i for i in items if not i["parent"] and i["visible"] and i["label"] != "-"]
    for position, item in enumerate(shown):
        if item["enabled"] and item["key"].lower() not in parents:
            return item["key"], ["Down"] * (position + 1) + ["Return"]
    raise ValueError("the sample's menu has no top-level item to choose")


def main(argv):
    doc, out = argv[1], argv[2]
    with open(doc, encoding="utf-8") as f:
        found = samples(f.read())
    if not found:
        raise SystemExit(f"{doc} has no script sample")
    os.makedirs(out, exist_ok=True)
    for n, (extension, sample) in enumerate(found, 1):
        name = f"sample-{n}.{extension}"
        try:
            key, keys = target(sample)
        except ValueError as e:
            raise SystemExit(f"{doc}, sample {n}: {e}")
        # cscript reads a script in the ANSI code page, with Windows line ends.
        with open(os.path.join(out, name), "w", encoding="cp1252", newline="\r\n") as f:
            f.write(sample)
        print(name, key, *keys)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
