#!/usr/bin/env python3
"""Draws the demo's image strip, demo/pictures.bmp: six 16 x 16 pictures side by side, a
24-bit bottom-up BMP. Magenta (255, 0, 255) is the transparent ground that the demo host hands to
ImageList_AddMasked. Run it again after changing a picture: python3 demo/make_pictures.py"""

import os
import struct

SIZE = 16
MASK = (255, 0, 255)

# One picture per entry, 16 rows of 16 characters; the legend gives each character's colour.
LEGEND = {
    ".": MASK,
    "k": (0, 0, 0),
    "y": (250, 200, 40),
    "o": (200, 140, 20),
    "w": (255, 255, 255),
    "g": (120, 120, 120),
    "b": (30, 80, 200),
    "c": (150, 190, 250),
    "r": (210, 30, 40),
    "G": (30, 150, 50),
}

PICTURES = {
    "folder": [
        "................",
        "................",
        ".oooo...........",
        "oyyyyo..........",
        "oyyyyyoooooooo..",
        "oyyyyyyyyyyyyyo.",
        "oyyyyyyyyyyyyyo.",
        "oyyyyyyyyyyyyyo.",
        "oyyyyyyyyyyyyyo.",
        "oyyyyyyyyyyyyyo.",
        "oyyyyyyyyyyyyyo.",
        "oyyyyyyyyyyyyyo.",
        "oyyyyyyyyyyyyyo.",
        ".ooooooooooooo..",
        "................",
        "................",
    ],
    "document": [
        "..kkkkkkkkk.....",
        "..kwwwwwwwkk....",
        "..kwwwwwwwkwk...",
        "..kwggggwwkkkk..",
        "..kwwwwwwwwwwk..",
        "..kwgggggggwwk..",
        "..kwwwwwwwwwwk..",
        "..kwgggggggwwk..",
        "..kwwwwwwwwwwk..",
        "..kwgggggggwwk..",
        "..kwwwwwwwwwwk..",
        "..kwggggggwwwk..",
        "..kwwwwwwwwwwk..",
        "..kwwwwwwwwwwk..",
        "..kkkkkkkkkkkk..",
        "................",
    ],
    "star": [
        ".......yy.......",
        ".......yy.......",
        "......yyyy......",
        "......yyyy......",
        "yyyyyyyyyyyyyyyy",
        ".yyyyyyyyyyyyyy.",
        "..yyyyyyyyyyyy..",
        "...yyyyyyyyyy...",
        "....yyyyyyyy....",
        "....yyyyyyyy....",
        "...yyyyyyyyyy...",
        "...yyyy..yyyy...",
        "..yyyy....yyyy..",
        "..yyy......yyy..",
        ".yy..........yy.",
        "................",
    ],
    "disk": [
        "bbbbbbbbbbbbbbb.",
        "bbcwwwwwwwwwcbbb",
        "bbcwwwwwwwwwcbbb",
        "bbcwwwwwwwwwcbbb",
        "bbcwwwwwwwwwcbbb",
        "bbcccccccccccbbb",
        "bbbbbbbbbbbbbbbb",
        "bbbbbbbbbbbbbbbb",
        "bbbgggggggggbbbb",
        "bbbgggggggggbbbb",
        "bbbggkkggggggbbb",
        "bbbggkkggggggbbb",
        "bbbggkkggggggbbb",
        "bbbgggggggggbbbb",
        "bbbgggggggggbbbb",
        "bbbbbbbbbbbbbbbb",
    ],
    "ticked": [
        "GGGGGGGGGGGGGGGG",
        "GwwwwwwwwwwwwwwG",
        "GwwwwwwwwwwwGGwG",
        "GwwwwwwwwwwGGGwG",
        "GwwwwwwwwwGGGwwG",
        "GwwwwwwwwGGGwwwG",
        "GwwGwwwwGGGwwwwG",
        "GwGGGwwGGGwwwwwG",
        "GwwGGGGGGwwwwwwG",
        "GwwwGGGGwwwwwwwG",
        "GwwwwGGwwwwwwwwG",
        "GwwwwwwwwwwwwwwG",
        "GwwwwwwwwwwwwwwG",
        "GwwwwwwwwwwwwwwG",
        "GwwwwwwwwwwwwwwG",
        "GGGGGGGGGGGGGGGG",
    ],
    "heart": [
        "................",
        "................",
        "..rrrr....rrrr..",
        ".rrrrrr..rrrrrr.",
        "rrrrrrrrrrrrrrrr",
        "rrrrrrrrrrrrrrrr",
        "rrrrrrrrrrrrrrrr",
        "rrrrrrrrrrrrrrrr",
        ".rrrrrrrrrrrrrr.",
        "..rrrrrrrrrrrr..",
        "...rrrrrrrrrr...",
        "....rrrrrrrr....",
        ".....rrrrrr.....",
        "......rrrr......",
        ".......rr.......",
        "................",
    ],
}


def strip_rows():
    """The rows of the whole strip, top row first, as lists of (r, g, b)."""
    rows = []
    for y in range(SIZE):
        row = []
        for picture in PICTURES.values():
            assert len(picture) == SIZE and all(len(line) == SIZE for line in picture)
            row.extend(LEGEND[ch] for ch in picture[y])
        rows.append(row)
    return rows


def bmp_bytes(rows):
    width, height = len(rows[0]), len(rows)
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):  # BMP rows are stored bottom-up
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        pixels += line + bytes(stride - len(line))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 0, 0, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + bytes(pixels)


if __name__ == "__main__":
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "pictures.bmp")
    with open(out, "wb") as f:
        f.write(bmp_bytes(strip_rows()))
    print(f"{out}: {len(PICTURES)} pictures: " + ", ".join(f"{i} {name}" for i, name in enumerate(PICTURES)))
