#!/usr/bin/env python3
"""Draws Background.png: a soft light gradient with a faint shelf of books in the
lower right. Twice the window's size in points, so that it stays sharp on
high-density screens. Standard library only; run it here to regenerate.

    python3 make-background.py [output]
"""
import struct
import sys
import zlib

WIDTH, HEIGHT = 1040, 680
TOP = (252, 253, 255)
BOTTOM = (226, 233, 242)
INK = (70, 92, 124)


def lerp(a, b, t):
    return a + (b - a) * t


class Random:
    """A fixed sequence, so that every run draws the same shelf."""

    def __init__(self, seed):
        self.state = seed

    def next(self, low, high):
        self.state = (self.state * 1103515245 + 12345) & 0x7FFFFFFF
        return low + self.state % (high - low + 1)


def gradient():
    rows = []
    for y in range(HEIGHT):
        t = y / (HEIGHT - 1)
        # Eased, so that the lighter top holds most of the picture.
        t = t * t * (3 - 2 * t)
        colour = tuple(lerp(TOP[i], BOTTOM[i], t) for i in range(3))
        rows.append([list(colour) for _ in range(WIDTH)])
    return rows


def blend(pixels, x, y, colour, alpha):
    if 0 <= x < WIDTH and 0 <= y < HEIGHT:
        pixel = pixels[y][x]
        for i in range(3):
            pixel[i] = lerp(pixel[i], colour[i], alpha)


def fill(pixels, left, top, right, bottom, colour, alpha):
    for y in range(max(top, 0), min(bottom, HEIGHT)):
        for x in range(max(left, 0), min(right, WIDTH)):
            blend(pixels, x, y, colour, alpha)


def shelf(pixels):
    random = Random(20240611)
    plank_top = HEIGHT - 150
    left, right = 560, 1000
    # Books standing on the plank, a few leaning gaps between groups.
    x = left + 12
    while x < right - 40:
        width = random.next(18, 34)
        height = random.next(90, 170)
        shade = random.next(0, 40) / 100
        colour = tuple(lerp(INK[i], 255, shade) for i in range(3))
        fill(pixels, x, plank_top - height, x + width, plank_top, colour, 0.10)
        # Two bands across the spine, as titles are printed.
        for band in (0.18, 0.78):
            band_y = plank_top - int(height * (1 - band))
            fill(pixels, x + 3, band_y, x + width - 3, band_y + 4, (255, 255, 255), 0.12)
        x += width + random.next(2, 5)
        if random.next(0, 6) == 0:
            x += random.next(16, 30)
    fill(pixels, left - 10, plank_top, right + 10, plank_top + 10, INK, 0.14)
    fill(pixels, left, plank_top + 10, right, plank_top + 16, INK, 0.06)


def png(pixels):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    raw = bytearray()
    for row in pixels:
        raw.append(0)
        for pixel in row:
            raw.extend(int(round(min(max(c, 0), 255))) for c in pixel)
    header = struct.pack(">IIBBBBB", WIDTH, HEIGHT, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(raw), 9))
            + chunk(b"IEND", b""))


def main():
    output = sys.argv[1] if len(sys.argv) > 1 else "Background.png"
    pixels = gradient()
    shelf(pixels)
    with open(output, "wb") as file:
        file.write(png(pixels))


if __name__ == "__main__":
    main()
