#!/usr/bin/env python3
"""Writes resources/check.bmp: the 16 x 16 check glyph, black mark on white, 24 bits per pixel.

The file is a 14-byte file header, a 40-byte BITMAPINFOHEADER and 768 bytes of pixels (16 rows
of 48 bytes, bottom row first). The resource compiler drops the file header, so the module's
CHECK resource is the 808 bytes that follow it.
"""
import pathlib
import struct
import sys

# The glyph's one source: 16 rows of 16, row 0 at the top, column 0 at the left; '#' black, '.' white.
GLYPH = (pathlib.Path(__file__).resolve().parent.parent / "resources" / "check-glyph.txt").read_text().split()


def bitmap() -> bytes:
    assert len(GLYPH) == 16 and all(len(row) == 16 for row in GLYPH)
    assert sum(row.count("#") for row in GLYPH) == 56
    pixels = b"".join(
        b"".join(b"\x00\x00\x00" if c == "#" else b"\xff\xff\xff" for c in row) for row in reversed(GLYPH)
    )
    assert len(pixels) == 768
    info = struct.pack("<IiiHHIIiiII", 40, 16, 16, 1, 24, 0, len(pixels), 0, 0, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + pixels


def main() -> int:
    out = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else pathlib.Path(__file__).parent.parent / "resources" / "check.bmp"
    data = bitmap()
    assert len(data) == 822
    out.write_bytes(data)
    return 0


if __name__ == "__main__":
    sys.exit(main())
