"""Reads the pixels of a PNG file (8-bit grey, RGB, RGBA or palette; not interlaced) with the
standard library alone, for the end-to-end tests' screenshots."""

import struct
import zlib


class Image:
    def __init__(self, width, height, rows):
        self.width, self.height, self._rows = width, height, rows

    def pixel(self, x, y):
        """(r, g, b) at column x, row y."""
        if not (0 <= x < self.width and 0 <= y < self.height):
            raise IndexError(f"pixel ({x}, {y}) is outside the {self.width} x {self.height} screenshot")
        return self._rows[y][x]


def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def _unfilter(data, width, height, bpp):
    stride = width * bpp
    rows, previous, pos = [], bytearray(stride), 0
    for _ in range(height):
        kind, line = data[pos], bytearray(data[pos + 1:pos + 1 + stride])
        pos += 1 + stride
        for i in range(stride):
            left = line[i - bpp] if i >= bpp else 0
            up = previous[i]
            upleft = previous[i - bpp] if i >= bpp else 0
            if kind == 1:
                line[i] = (line[i] + left) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + up) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + ((left + up) >> 1)) & 0xFF
            elif kind == 4:
                line[i] = (line[i] + _paeth(left, up, upleft)) & 0xFF
            elif kind != 0:
                raise ValueError(f"unknown PNG filter {kind}")
        rows.append(line)
        previous = line
    return rows


def read(path):
    with open(path, "rb") as f:
        blob = f.read()
    if blob[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(f"{path} is not a PNG file")
    pos, idat, palette = 8, bytearray(), None
    while pos < len(blob):
        length, kind = struct.unpack(">I4s", blob[pos:pos + 8])
        body = blob[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
        elif kind == b"PLTE":
            palette = [tuple(body[i:i + 3]) for i in range(0, len(body), 3)]
        elif kind == b"IDAT":
            idat += body
        elif kind == b"IEND":
            break
    channels = {0: 1, 2: 3, 3: 1, 6: 4}.get(colour)
    if depth != 8 or interlace != 0 or channels is None:
        raise ValueError(f"{path}: unsupported PNG (depth {depth}, colour type {colour}, interlace {interlace})")
    raw = _unfilter(zlib.decompress(bytes(idat)), width, height, channels)
    rows = []
    for line in raw:
        if colour == 2 or colour == 6:
            rows.append([tuple(line[i:i + 3]) for i in range(0, len(line), channels)])
        elif colour == 3:
            rows.append([palette[i] for i in line])
        else:
            rows.append([(v, v, v) for v in line])
    return Image(width, height, rows)
