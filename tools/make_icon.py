#!/usr/bin/env python3
"""Draws the program's icon, the panel's own look in small: the dark rounded card with its three
window dots and the scan mark (four corner brackets round a line), and writes it as a Windows icon
holding every size the shell asks for, 16 to 256 pixels.

    python3 tools/make_icon.py OUT.ico [--png SIZE OUT.png]

Standard library only. Every pixel is computed from the shapes' distance fields, so the same script
always writes the same bytes. Small sizes drop the dots and thicken the strokes to stay legible."""

import math
import struct
import sys
import zlib

SIZES = (16, 20, 24, 32, 40, 48, 64, 96, 128, 256)
PNG_FROM = 96  # larger images are stored as PNG, smaller ones as 32-bit bitmaps

# The panel's dark palette and its window dots (close, hide, stealth).
CARD_TOP = (0x2A, 0x2A, 0x31)
CARD_BOTTOM = (0x17, 0x17, 0x1B)
RIM = (0x48, 0x48, 0x52)
DOTS = ((0xE1, 0x6C, 0x5D), (0xE8, 0xB3, 0x47), (0x6A, 0xBE, 0x5D))
INK = (0xF4, 0xF4, 0xF7)
SCAN_LINE = (0x6A, 0xBE, 0x5D)


def rounded_box(px, py, x0, y0, x1, y1, r):
    """Signed distance to a rounded rectangle (negative inside)."""
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r
    qx, qy = abs(px - cx) - hx, abs(py - cy) - hy
    outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
    return outside + min(max(qx, qy), 0.0) - r


def segment(px, py, ax, ay, bx, by):
    """Distance to the segment from a to b."""
    dx, dy = bx - ax, by - ay
    t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)
    t = min(max(t, 0.0), 1.0)
    return math.hypot(px - ax - t * dx, py - ay - t * dy)


def scan_mark(origin, size):
    """The scan glyph's strokes as segments, in icon units: corner brackets and the middle line."""
    lo, hi, arm = 0.14, 0.86, 0.24
    corners = [((lo, lo + arm), (lo, lo), (lo + arm, lo)), ((hi - arm, lo), (hi, lo), (hi, lo + arm)),
               ((hi, hi - arm), (hi, hi), (hi - arm, hi)), ((lo + arm, hi), (lo, hi), (lo, hi - arm))]
    at = lambda p: (origin[0] + p[0] * size, origin[1] + p[1] * size)  # noqa: E731
    brackets = []
    for a, b, c in corners:
        brackets += [(at(a), at(b)), (at(b), at(c))]
    line = [(at((0.3, 0.5)), at((0.7, 0.5)))]
    return brackets, line


class Icon:
    def __init__(self, size):
        self.size = size
        self.small = size < 32
        self.margin = 0.5 / size  # half a pixel, so the card's edge stays inside the image
        self.card = (self.margin, self.margin, 1 - self.margin, 1 - self.margin)
        self.radius = 0.22
        if self.small:
            self.brackets, self.line = scan_mark((0.12, 0.12), 0.76)
        else:
            self.brackets, self.line = scan_mark((0.2, 0.28), 0.6)
        self.stroke = max(0.075, 1.5 / size) / 2  # half width

    def pixel(self, i, j):
        """Straight-alpha RGBA of pixel (i, j)."""
        s = self.size
        px, py = (i + 0.5) / s, (j + 0.5) / s
        cover = lambda d: min(max(0.5 - d * s, 0.0), 1.0)  # noqa: E731  distance in pixels
        card = rounded_box(px, py, *self.card, self.radius)
        alpha = cover(card)
        if alpha <= 0:
            return (0, 0, 0, 0)
        t = py
        colour = [CARD_TOP[k] + (CARD_BOTTOM[k] - CARD_TOP[k]) * t for k in range(3)]
        rim = cover(abs(card + 0.75 / s) - 0.5 / s) * 0.8
        colour = blend(colour, RIM, rim)
        if not self.small:
            for n, dot in enumerate(DOTS):
                d = math.hypot(px - (0.2 + 0.13 * n), py - 0.17) - 0.045
                colour = blend(colour, dot, cover(d))
        d = min(segment(px, py, *a, *b) for a, b in self.brackets) - self.stroke
        colour = blend(colour, INK, cover(d))
        d = min(segment(px, py, *a, *b) for a, b in self.line) - self.stroke
        colour = blend(colour, SCAN_LINE, cover(d))
        return tuple(int(round(c)) for c in colour) + (int(round(alpha * 255)),)

    def rows(self):
        return [[self.pixel(i, j) for i in range(self.size)] for j in range(self.size)]


def blend(under, over, amount):
    return [u + (o - u) * amount for u, o in zip(under, over)]


def png(rows):
    size = len(rows)
    raw = b"".join(b"\x00" + bytes(c for p in row for c in p) for row in rows)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + \
        chunk(b"IEND", b"")


def dib(rows):
    """A 32-bit icon bitmap: BITMAPINFOHEADER (double height), BGRA rows bottom-up, AND mask."""
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(bytes((p[2], p[1], p[0], p[3])) for row in reversed(rows) for p in row)
    mask_row = ((size + 31) // 32) * 4
    return header + pixels + bytes(mask_row * size)


def ico(images):
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, data = b"", b""
    for size, blob in images:
        side = 0 if size >= 256 else size
        entries += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(blob), offset + len(data))
        data += blob
    return directory + entries + data


def main(argv):
    if len(argv) not in (2, 5) or (len(argv) == 5 and argv[2] != "--png"):
        sys.exit(__doc__)
    images = []
    for size in SIZES:
        rows = Icon(size).rows()
        images.append((size, png(rows) if size >= PNG_FROM else dib(rows)))
    with open(argv[1], "wb") as out:
        out.write(ico(images))
    if len(argv) == 5:
        with open(argv[4], "wb") as out:
            out.write(png(Icon(int(argv[3])).rows()))


if __name__ == "__main__":
    main(sys.argv)
