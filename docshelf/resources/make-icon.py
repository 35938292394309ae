#!/usr/bin/env python3
"""Draws Docshelf.png, the application's icon: three books standing on a shelf
on a rounded blue square, 128 pixels square with an alpha channel. Standard
library only; run it here to regenerate.

    python3 make-icon.py [output]
"""
import struct
import sys
import zlib

SIZE = 128
RADIUS = 28
BLUE_TOP = (64, 156, 255)
BLUE_BOTTOM = (0, 98, 214)
BOOKS = [((250, 250, 252), 30, 30, 48), ((255, 214, 102), 50, 22, 48), ((255, 255, 255), 74, 36, 24)]
SHELF = (40, 58, 92)


def inside_rounded(x, y):
    """Coverage of pixel (x, y) by the rounded square, from 0 to 1, sampled 4x4."""
    hits = 0
    for sy in range(4):
        for sx in range(4):
            px, py = x + (sx + 0.5) / 4, y + (sy + 0.5) / 4
            cx = min(max(px, RADIUS), SIZE - RADIUS)
            cy = min(max(py, RADIUS), SIZE - RADIUS)
            if (px - cx) ** 2 + (py - cy) ** 2 <= RADIUS ** 2:
                hits += 1
    return hits / 16


def draw():
    rows = []
    for y in range(SIZE):
        t = y / (SIZE - 1)
        base = [round(BLUE_TOP[i] + (BLUE_BOTTOM[i] - BLUE_TOP[i]) * t) for i in range(3)]
        rows.append([base + [round(255 * inside_rounded(x, y))] for x in range(SIZE)])

    def fill(left, top, right, bottom, colour):
        for y in range(top, bottom):
            for x in range(left, right):
                rows[y][x][:3] = colour

    shelf_top = 94
    for colour, left, width, height in BOOKS:
        fill(left, shelf_top - height - 12, left + width, shelf_top, colour)
        # A band across each spine.
        fill(left + 3, shelf_top - height, left + width - 3, shelf_top - height + 4, SHELF)
    fill(20, shelf_top, 108, shelf_top + 8, SHELF)
    return rows


def png(rows):
    raw = b"".join(b"\0" + bytes(v for pixel in row for v in pixel) for row in rows)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


if __name__ == "__main__":
    with open(sys.argv[1] if len(sys.argv) > 1 else "Docshelf.png", "wb") as out:
        out.write(png(draw()))
