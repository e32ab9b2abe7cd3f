"""What the demo host printed with --report, --print-procs and --repeat: system colours, open
menus and their item rectangles on the screen, painted items with their rectangles in the menu's
device context, window procedures, object counts and chosen keys."""

import re


class HostLog:
    def __init__(self, path):
        self.colours = {}      # name -> (r, g, b)
        self.items = {}        # key -> (left, top, right, bottom) on the screen
        self.menus = {}        # parent key ("-" for the top level) -> window rectangle
        self.drawn = {}        # key -> list of (state, (left, top, right, bottom) in the menu's DC)
        self.procs = []        # (when, address, "own" | "replaced")
        self.objects = {}      # label -> (gdi, user) or, for "counter-check", the differences
        self.chosen = []       # keys, "" for a dismissed menu
        self.painted = None    # (items painted, of them highlighted) over all pop-ups
        self.lines = []
        with open(path, encoding="utf-8", errors="replace") as f:
            for line in f:
                self._read(line.rstrip("\r\n"))

    def _read(self, line):
        self.lines.append(line)
        words = line.split()
        if line.startswith("chosen:"):
            self.chosen.append(line[len("chosen:"):].strip())
        elif not words:
            return
        elif words[0] == "colour":
            self.colours[words[1]] = tuple(int(v) for v in words[2:5])
        elif words[0] == "menu":
            self.menus[words[1]] = tuple(int(v) for v in words[5:9])
        elif words[0] == "item":
            self.items[words[1]] = tuple(int(v) for v in words[2:6])
        elif words[0] == "drawn":
            state = int(words[3], 16)
            self.drawn.setdefault(words[1], []).append((state, tuple(int(v) for v in words[5:9])))
        elif words[0] == "painted":
            self.painted = (int(words[1]), int(words[3]))
        elif words[0] == "proc":
            self.procs.append((words[1], words[2], words[3]))
        elif words[0] == "objects" and words[1] == "counter-check":
            self.objects["counter-check"] = (int(words[3]), int(words[5]))
        elif words[0] == "objects":
            self.objects[words[1]] = (int(words[3]), int(words[5]))

    def item(self, key):
        if key not in self.items:
            raise AssertionError(f"the host reported no rectangle for the item {key!r}")
        return self.items[key]

    def device_rect(self, key):
        """The item's rectangle as the painter got it (DRAWITEMSTRUCT.rcItem)."""
        if key not in self.drawn:
            raise AssertionError(f"the host saw no WM_DRAWITEM for the item {key!r}")
        return self.drawn[key][-1][1]


def selected_pattern(key):
    """A regular expression for the host's line that reports the item painted as selected."""
    return rf"^drawn {re.escape(key)} state 0x[0-9a-f]*[13579bdf] "
