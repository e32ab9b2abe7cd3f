#!/usr/bin/env python3
"""Checks of the end-to-end tests that read the demo host's log and, for the screen checks, a
screenshot of the open menu. Every check prints what it measured; any failure makes the exit
code 1.

  checks.py picture-highlight LOG PNG   "open" (a picture) highlighted; also the black check
                                        glyph, a disabled label, a separator and pictures
  checks.py checked-highlight LOG PNG   "bold" (checked, no picture) highlighted: the gradient
                                        from the left edge and the white check glyph
  checks.py procs LOG POPUPS            the window procedure around every pop-up
  checks.py objects LOG POPUPS          GDI and USER objects after the first and the last pop-up
  checks.py open-menus PNG COUNT        COUNT menus open side by side (the demo's screenshot), each
                                        with a highlighted item's gradient inside its frame
  checks.py dpi LOG96 PNG96 LOG PNG DPI the same menu at 96 DPI and at DPI, "bold" highlighted in
                                        each: every size scaled, the rows, the gradient, the glyph
  checks.py dpi-script PNG96 GEOMETRY96 PNG GEOMETRY DPI
                                        the same from a script host, from the screen alone
  checks.py accessible-cpp LOG          what an accessibility client read of every item of the C++
  checks.py accessible-vbs LOG          host's menu, or of tests/e2e/accessible.vbs's, submenus
                                        included ("accessible" lines, in menu order, depth first)
"""

import pathlib
import sys

import png
from hostlog import HostLog

# The check glyph as the resource is made from it, row 0 at the top: '#' black, '.' white.
GLYPH = (pathlib.Path(__file__).resolve().parents[2] / "resources" / "check-glyph.txt").read_text().split()
WHITE, BLACK = (255, 255, 255), (0, 0, 0)
GRADIENT_HEIGHT = 20   # the highlight is painted 20 pixels high
PICTURE_INSET = 21     # the highlight starts right of a picture's frame

failures = []


def check(ok, message):
    print(("ok    " if ok else "FAIL  ") + message)
    if not ok:
        failures.append(message)


def gradient_colour(highlight, menu, column, width):
    """The highlight's colour in a column: from the highlight colour at column 0 towards the menu
    colour, which column `width` would have; halves round to the even neighbour."""
    return tuple(round(h + (column / width) * (m - h)) for h, m in zip(highlight, menu))


def check_gradient(shot, log, key, inset, gradient_height=GRADIENT_HEIGHT):
    left, top, right, bottom = log.item(key)
    dc_left, _, dc_right, _ = log.device_rect(key)
    highlight, menu = log.colours["highlight"], log.colours["menu"]
    check(right - left == dc_right - dc_left,
          f"{key}: the screen rectangle and the painter's rectangle have the same width ({right - left})")
    start, width = left + inset, dc_right - inset
    rows = range(top, top + min(gradient_height, bottom - top))
    edge = [shot.pixel(start, y) for y in rows]
    check(all(p == highlight for p in edge),
          f"{key}: the highlight starts {inset} pixels in with the highlight colour {highlight} "
          f"in every row (found {sorted(set(edge))})")
    if inset > 0:
        before = shot.pixel(start - 1, top + 1)
        check(before != highlight, f"{key}: the column left of the highlight is not highlighted (found {before})")
    y = top + 1  # above the label and the image column
    wrong = []
    for x in range(start, right):
        expected = gradient_colour(highlight, menu, x - start, width)
        if shot.pixel(x, y) != expected:
            wrong.append((x, shot.pixel(x, y), expected))
    check(not wrong, f"{key}: every column of the highlight from x={start} to x={right - 1} has its gradient colour"
          + (f"; {len(wrong)} differ, first (x, found, expected): {wrong[:3]}" if wrong else ""))
    last = shot.pixel(right - 1, y)
    spread = max(abs(h - m) for h, m in zip(highlight, menu))
    distance = max(abs(p - m) for p, m in zip(last, menu))
    check(spread > 0 and distance * 5 < spread,
          f"{key}: at the right edge the highlight {last} has come close to the menu colour {menu} "
          f"({distance} of {spread} left)")


def check_glyph(shot, log, key, mark, ground, dpi=96):
    """The check glyph at (left + 2, top + 2), both scaled to `dpi`, at its scaled size: its mark in
    `mark`, its ground `ground(x)`; nothing else, so two colours on a ground of one."""
    left, top, _, _ = log.item(key)
    size, offset = scaled(16, dpi), scaled(2, dpi)
    wrong = []
    for row, line in enumerate(scaled_glyph(size)):
        for column, cell in enumerate(line):
            x, y = left + offset + column, top + offset + row
            expected = mark if cell == "#" else ground(x)
            if shot.pixel(x, y) != expected:
                wrong.append((column, row, shot.pixel(x, y), expected))
    name = "white" if mark == WHITE else "black"
    check(not wrong, f"{key}: the {name} check glyph lies at (left + {offset}, top + {offset}), "
          f"all {size} x {size} pixels"
          + (f"; {len(wrong)} differ, first (column, row, found, expected): {wrong[:3]}" if wrong else ""))


def scaled(size, dpi):
    """A size of the layout at a DPI, rounded as MulDiv rounds (halves away from zero)."""
    product = size * dpi
    return (abs(product) + 48) // 96 * (1 if product >= 0 else -1)


def glyph_source_index(index, size):
    """The glyph's row or column that row or column `index` of the glyph shown at `size` takes:
    the one under its centre."""
    return min(len(GLYPH) - 1, (2 * index + 1) * len(GLYPH) // (2 * size))


def scaled_glyph(size):
    """The check glyph as it is shown `size` x `size`: rows of '#' and '.'."""
    return ["".join(GLYPH[glyph_source_index(r, size)][glyph_source_index(c, size)] for c in range(size))
            for r in range(size)]


def is_ink(colour, grey):
    """Grey, white or a blend of the two: the colours of a disabled label's two copies."""
    r, g, b = colour
    return r == g == b and grey[0] <= r <= 255


def check_disabled_label(shot, log, key):
    """A disabled label: grey, with a white copy one pixel right and one down over it."""
    left, top, right, bottom = log.item(key)
    grey = log.colours["graytext"]
    area = [(x, y) for y in range(top + 2, min(top + 24, bottom)) for x in range(left + 22, right - 1)]
    greys = {p for p in area if shot.pixel(*p) == grey}
    whites = {p for p in area if shot.pixel(*p) == WHITE}
    check(len(greys) >= 10 and len(whites) >= 10,
          f"{key}: the label shows in grey {grey} ({len(greys)} pixels) and in white ({len(whites)} pixels)")
    unshadowed = [p for p in greys if (p[0] + 1, p[1] + 1) not in whites]
    check(not unshadowed, f"{key}: each grey pixel has a white one right below it, one pixel to the right"
          + (f"; not for {sorted(unshadowed)[:5]}" if unshadowed else ""))
    # Under font smoothing, the grey copy's edge pixels are blends of grey and white: still neutral
    # (red = green = blue), unlike the menu colour.
    stray = [p for p in whites if not is_ink(shot.pixel(p[0] - 1, p[1] - 1), grey)]
    check(not stray, f"{key}: each white pixel lies one to the right of and one below a pixel of the grey label"
          + (f"; not for {sorted(stray)[:5]}" if stray else ""))
    grey_left = min(x for x, _ in greys) if greys else None
    grey_top = min(y for _, y in greys) if greys else None
    check(greys and grey_left >= left + 22 and grey_top >= top + 2,
          f"{key}: the grey label starts at (left + 22, top + 2) or after (first column {grey_left}, first row {grey_top})")


def check_separator(shot, log, key, item_key):
    left, top, right, bottom = log.item(key)
    shadow, light, menu = log.colours["btnshadow"], log.colours["btnhighlight"], log.colours["menu"]
    width = right - left

    def share(y, colour):
        return sum(shot.pixel(x, y) == colour for x in range(left, right)) / width

    lines = [y for y in range(top, bottom) if share(y, shadow) >= 0.8]
    check(len(lines) == 1, f"{key}: one line across the separator in the shadow colour {shadow} (rows {lines})")
    others = {shot.pixel(x, y) for y in range(top, bottom) for x in range(left, right)} - {shadow, light, menu}
    check(not others, f"{key}: nothing else on the menu colour but the line (other colours: {sorted(others)[:5]})")
    item_height = log.item(item_key)[3] - log.item(item_key)[1]
    check(bottom - top < item_height, f"{key}: a separator ({bottom - top} pixels) is lower than an item ({item_height})")


def check_picture(shot, log, key, points, what):
    left, top, _, _ = log.item(key)
    found = [(shot.pixel(left + 2 + dx, top + 2 + dy), colour) for dx, dy, colour in points]
    check(all(f == e for f, e in found), f"{key}: {what} at (left + 2, top + 2) (found, expected: {found})")


def normal_ground(log):
    return lambda x: log.colours["menu"]


def picture_highlight(log, shot):
    check_gradient(shot, log, "open", PICTURE_INSET)
    check_glyph(shot, log, "bold", BLACK, normal_ground(log))
    check_disabled_label(shot, log, "print")
    check_separator(shot, log, "sep1", "open")
    check_picture(shot, log, "save", [(0, 0, (30, 80, 200)), (4, 2, WHITE)], "the disk picture")
    check_picture(shot, log, "starred", [(0, 0, (30, 150, 50)), (1, 1, WHITE)], "the checked picture (a tick)")


def checked_highlight(log, shot):
    check_gradient(shot, log, "bold", 0)
    left, _, _, _ = log.item("bold")
    _, _, dc_right, _ = log.device_rect("bold")
    highlight, menu = log.colours["highlight"], log.colours["menu"]
    check_glyph(shot, log, "bold", WHITE, lambda x: gradient_colour(highlight, menu, x - left, dc_right))


def rows_of(log):
    """The top-level menu's rows on the screen, from the top: (key, top, bottom)."""
    return sorted(((key, top, bottom) for key, (_, top, _, bottom) in log.items.items()), key=lambda r: r[1])


def menu_layout(log):
    """The top-level menu: its window's height, the rows' heights in order, and the frame (the
    window's height less the rows')."""
    left, top, right, bottom = log.menus["-"]
    rows = rows_of(log)
    heights = [b - t for _, t, b in rows]
    return bottom - top, heights, (bottom - top) - sum(heights), rows


def highlighted_layout(log, shot, dpi):
    """The checks at one DPI of "bold", highlighted: the rows tile the window, every label row is
    its measured label plus the scaled margin and its label fits the label area, the gradient is
    exact over its scaled height, and the white glyph is there at its scaled size."""
    height, heights, frame, rows = menu_layout(log)
    gaps = [(a[0], b[0]) for a, b in zip(rows, rows[1:]) if a[2] != b[1]]
    check(not gaps, f"{dpi} DPI: the rows lie one below the other with nothing between them (gaps after {gaps})")
    check(0 <= frame <= 2 * scaled(4, dpi),
          f"{dpi} DPI: the menu window is {height} pixels high: its rows' {sum(heights)} and Wine's frame, {frame}")
    _, top, _, bottom = log.item("bold")
    row = bottom - top
    label = row - scaled(7, dpi)
    check(label <= scaled(20, dpi),
          f"{dpi} DPI: the label's measured height, at most {label} (the row {row} less the margin "
          f"{scaled(7, dpi)}), fits the label area of {scaled(20, dpi)} pixels: no label is clipped")
    check(row >= scaled(20, dpi), f"{dpi} DPI: a row ({row}) is at least as high as the gradient ({scaled(20, dpi)})")
    check_gradient(shot, log, "bold", 0, scaled(20, dpi))
    highlight, menu = log.colours["highlight"], log.colours["menu"]
    left = log.item("bold")[0]
    _, _, dc_right, _ = log.device_rect("bold")
    check_glyph(shot, log, "bold", WHITE, lambda x: gradient_colour(highlight, menu, x - left, dc_right), dpi)
    return height, heights, frame


def at_dpi(log96, shot96, log, shot, dpi):
    height96, heights96, frame96 = highlighted_layout(log96, shot96, 96)
    height, heights, frame = highlighted_layout(log, shot, dpi)
    check(len(heights) == len(heights96), f"the same {len(heights96)} rows at 96 and {dpi} DPI ({len(heights)})")
    ratio = (height - frame) / (height96 - frame96)
    # Each row's label is the menu font's line at that DPI, which Wine rounds to whole pixels.
    check(abs(ratio - dpi / 96) <= 0.05,
          f"the rows are {ratio:.3f} times as high at {dpi} DPI as at 96 ({height - frame} against "
          f"{height96 - frame96} pixels; the DPI's ratio {dpi / 96:.3f}); the whole window {height / height96:.3f} "
          f"times ({height} against {height96})")


def find_glyph(shot, window, size, mark):
    """Where the glyph shown `size` x `size` lies in the window, its mark in `mark` on a ground of
    one other colour: (x, y, ground), or None."""
    left, top, width, height = window
    glyph = scaled_glyph(size)
    marks = [(c, r) for r, line in enumerate(glyph) for c, cell in enumerate(line) if cell == "#"]
    grounds = [(c, r) for r, line in enumerate(glyph) for c, cell in enumerate(line) if cell != "#"]
    first = marks[0]
    for y in range(top, top + height - size + 1):
        for x in range(left, left + width - size + 1):
            if shot.pixel(x + first[0], y + first[1]) != mark:
                continue
            ground = shot.pixel(x + grounds[0][0], y + grounds[0][1])
            if ground != mark and all(shot.pixel(x + c, y + r) == mark for c, r in marks) and \
                    all(shot.pixel(x + c, y + r) == ground for c, r in grounds):
                return x, y, ground
    return None


def script_at_dpi(shot96, geometry96, shot, geometry, dpi):
    """A script host's menu at 96 DPI and at `dpi`, from the screen: the window's height, the
    highlighted row's gradient rows and the black check glyph at its size."""
    heights = {}
    for at, picture, window in ((96, shot96, geometry96), (dpi, shot, geometry)):
        left, top, width, height = window
        heights[at] = height
        runs = gradient_runs(picture, left + 1, top + 1, left + width - 1, top + height - 1)
        rows = sorted({y for _, y, _ in runs})
        check(len(rows) == scaled(20, at) and rows == list(range(rows[0], rows[0] + len(rows))) if rows else False,
              f"{at} DPI: the highlighted row's gradient is {scaled(20, at)} rows high "
              f"(found {len(rows)}{f' from y={rows[0]} to y={rows[-1]}' if rows else ''})")
        found = find_glyph(picture, window, scaled(16, at), BLACK)
        check(found is not None, f"{at} DPI: the black check glyph is in the menu at {scaled(16, at)} x {scaled(16, at)} "
              f"pixels, in black and one ground colour only{f' at {found[:2]} on {found[2]}' if found else ''}")
    ratio = heights[dpi] / heights[96]
    # Wine's frame is a few pixels at every DPI, and each row's label is the menu font's line at
    # that DPI, in whole pixels.
    check(abs(ratio - dpi / 96) <= 0.06,
          f"the menu is {ratio:.3f} times as high at {dpi} DPI as at 96 ({heights[dpi]} against {heights[96]} "
          f"pixels; the DPI's ratio {dpi / 96:.3f})")


def procs(log, popups):
    check(len(log.chosen) == popups, f"{len(log.chosen)} of {popups} pop-ups returned")
    expected = [("before", "own"), ("during", "replaced"), ("after", "own")] * popups
    found = [(when, whose) for when, _, whose in log.procs]
    check(found == expected, "around every pop-up the host window has its own procedure before and after, "
          f"another one while the menu is open (found {found[:6]}{' ...' if len(found) > 6 else ''})")
    own = {address for _, address, whose in log.procs if whose == "own"}
    check(len(own) == 1, f"the procedure put back is always the same one ({sorted(own)})")


def objects(log, popups):
    check(len(log.chosen) == popups and all(key == "" for key in log.chosen),
          f"{popups} pop-ups, each dismissed by the host ({len(log.chosen)} returned)")
    painted, highlighted = log.painted or (0, 0)
    check(painted >= 9 * popups and highlighted >= 9 * popups,
          f"each pop-up painted its items and highlighted each item of the top level "
          f"({painted} items painted, {highlighted} highlighted)")
    check(log.objects.get("counter-check") == (1, 1),
          f"the counts see one more GDI object and one more USER object when they exist "
          f"(differences: {log.objects.get('counter-check')})")
    first, last = log.objects.get("after-first"), log.objects.get("after-last")
    check(first is not None and last is not None and first[0] > 0 and first[1] > 0,
          f"GDI and USER objects after the first pop-up: {first}")
    check(first == last, f"after {popups - 1} more pop-ups the process holds as many GDI and USER objects "
          f"as after the first (first {first}, last {last})")


# The menus the accessibility client reads, depth first: (level, label), None for a separator.
ACCESSIBLE_MENUS = {
    # demo/host.cpp; its hidden item is not in the menu.
    "accessible-cpp": [
        (0, "&Open"), (0, "&Save"), (0, "Citt\u00e0 \u2013 \u00dcn\u00efc\u00f8d\u00e9"), (0, None), (0, "&Bold"),
        (0, "&Starred"), (0, None), (0, "&Print"), (0, "S&hare"), (0, "&More"), (1, "&Recent files"),
        (2, "&Older"), (3, "Archive &2019"), (3, "Archive 2020"), (2, "Report.txt"), (1, "Tools && Options"),
        (0, "E&xit")],
    # tests/e2e/accessible.vbs
    "accessible-vbs": [
        (0, "&Open"), (0, "Citt\u00e0 \u2013 \u00dcn\u00efc\u00f8d\u00e9"), (0, None), (0, "&More"),
        (1, "&Recent files"), (2, "Archive &2019"), (1, "Tools && Options"), (0, "E&xit")],
}
MSAA_MENU_SIG = "aa0df00d"


def utf16_hex(text):
    units = text.encode("utf-16-le")
    return "".join(f"{units[i + 1]:02x}{units[i]:02x}" for i in range(0, len(units), 2)) or "-"


def accessible(log, expected):
    """Each item read carries the accessibility header: the signature, the label's length in
    UTF-16 code units and the label itself, & marks included; separators carry no data."""
    read = [line.split()[1:] for line in log.lines if line.startswith("accessible ")]
    check(len(read) == len(expected), f"{len(read)} items read, {len(expected)} in the menu and its submenus")
    for (level, label), fields in zip(expected, read):
        what = f"level {level} {label!r}" if label is not None else f"level {level} separator"
        if label is None:
            check(fields == [str(level), "separator"], f"{what}: a separator without data (read {fields})")
            continue
        want = [str(level), MSAA_MENU_SIG, str(len(label.encode("utf-16-le")) // 2), utf16_hex(label)]
        check(fields == want, f"{what}: signature, length and text (read {fields}, expected {want})")


MIN_EDGE = 30          # a menu frame's shortest edge, in pixels
MIN_GRADIENT = 40      # the shortest gradient run that counts as a highlight


def run_length(shot, x, y, dx, dy, colour):
    n = 0
    while 0 <= x < shot.width and 0 <= y < shot.height and shot.pixel(x, y) == colour:
        n, x, y = n + 1, x + dx, y + dy
    return n


def menu_frames(shot):
    """The menus' one-pixel frames, as (left, top, width, height): where a left edge starts, a top
    and a left edge of one colour, at least MIN_EDGE long, that a bottom edge of that colour closes,
    with other ground inside the corner (a filled area is no frame). A submenu lies over its
    parent's right edge, and its top and bottom edges may run on into the next submenu's, so the
    width is where the frame's top edge ends or the next frame begins."""
    corners = []
    for y in range(shot.height - 1):
        for x in range(shot.width - 1):
            colour = shot.pixel(x, y)
            if shot.pixel(x + 1, y + 1) == colour or (y > 0 and shot.pixel(x, y - 1) == colour):
                continue
            width, height = run_length(shot, x, y, 1, 0, colour), run_length(shot, x, y, 0, 1, colour)
            if width < MIN_EDGE or height < MIN_EDGE:
                continue
            if run_length(shot, x, y + height - 1, 1, 0, colour) >= MIN_EDGE:
                corners.append((x, y, width, height))
    frames = []
    for left, top, width, height in sorted(corners):
        following = [x for x, y, _, _ in corners if left < x < left + width and top <= y < top + height]
        frames.append((left, top, (min(following) - left) if following else width, height))
    return frames


def gradient_runs(shot, left, top, right, bottom):
    """Horizontal runs of at least MIN_GRADIENT pixels in which every colour channel moves one way
    by at most 3 per pixel, and by at least 60 over the run: a highlight's gradient. Returns
    (x, y, length) for each."""
    runs = []
    for y in range(top, bottom):
        start, signs = left, [0, 0, 0]
        for x in range(left + 1, right + 1):
            steady = x < right
            if steady:
                a, b = shot.pixel(x - 1, y), shot.pixel(x, y)
                steps = [q - p for p, q in zip(a, b)]
                for c, step in enumerate(steps):
                    if abs(step) > 3 or (step and signs[c] and (step > 0) != (signs[c] > 0)):
                        steady = False
                    elif step:
                        signs[c] = step
            if steady:
                continue
            first, last = shot.pixel(start, y), shot.pixel(x - 1, y)
            if x - start >= MIN_GRADIENT and max(abs(p - q) for p, q in zip(first, last)) >= 60:
                runs.append((start, y, x - start))
            start, signs = x, [0, 0, 0]
    return runs


def open_menus(shot, count):
    frames = sorted(menu_frames(shot))
    check(len(frames) == count, f"{count} menu frames on the screen (found {len(frames)}: {frames})")
    lefts = [f[0] for f in frames]
    check(lefts == sorted(set(lefts)), f"each menu opens to the right of the one before (left edges {lefts})")
    for left, top, width, height in frames:
        runs = gradient_runs(shot, left + 1, top + 1, left + width - 1, top + height - 1)
        rows = sorted({y for _, y, _ in runs})
        check(len(rows) >= 4, f"the menu at ({left}, {top}) has a highlighted item: a gradient in "
              f"{len(rows)} rows{f' from y={rows[0]} to y={rows[-1]}' if rows else ''}")
        check(not rows or rows[-1] - rows[0] < 30, f"the menu at ({left}, {top}) highlights one item only "
              f"(gradient rows {rows[:1]}..{rows[-1:]})")


def main(argv):
    what = argv[1]
    if what == "open-menus":
        open_menus(png.read(argv[2]), int(argv[3]))
        print(f"{len(failures)} check(s) failed" if failures else "all checks passed")
        return 1 if failures else 0
    if what == "dpi-script":
        def geometry(path):
            return tuple(int(v) for v in pathlib.Path(path).read_text().split())
        script_at_dpi(png.read(argv[2]), geometry(argv[3]), png.read(argv[4]), geometry(argv[5]), int(argv[6]))
        print(f"{len(failures)} check(s) failed" if failures else "all checks passed")
        return 1 if failures else 0
    if what == "dpi":
        log96, shot96, log, shot = HostLog(argv[2]), png.read(argv[3]), HostLog(argv[4]), png.read(argv[5])
        print(f"colours: {log.colours}")
        at_dpi(log96, shot96, log, shot, int(argv[6]))
        print(f"{len(failures)} check(s) failed" if failures else "all checks passed")
        return 1 if failures else 0
    log = HostLog(argv[2])
    if what in ("picture-highlight", "checked-highlight"):
        shot = png.read(argv[3])
        print(f"colours: {log.colours}")
        {"picture-highlight": picture_highlight, "checked-highlight": checked_highlight}[what](log, shot)
    elif what in ACCESSIBLE_MENUS:
        accessible(log, ACCESSIBLE_MENUS[what])
    elif what in ("procs", "objects"):
        {"procs": procs, "objects": objects}[what](log, int(argv[3]))
    else:
        raise SystemExit(f"unknown check {what!r}")
    print(f"{len(failures)} check(s) failed" if failures else "all checks passed")
    return 1 if failures else 0


if __name__ == "__main__":
    try:
        sys.exit(main(sys.argv))
    except AssertionError as e:
        print(f"FAIL  {e}")
        sys.exit(1)
