#!/usr/bin/env python3
"""Writes the LAN browser's two 16 x 16 pictures as 24-bit BMP files beside this script:
tile.bmp, the window's background tile in brown, maroon and orange, and
disc.bmp, the grey disc before each machine name, on white (white is drawn transparent)."""
import math
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, os.pardir, os.pardir, "scripts"))
from picture_files import write_bmp  # noqa: E402

SIZE = 16

BROWN = (0x6B, 0x3A, 0x1E)
MAROON = (0x80, 0x00, 0x00)
ORANGE = (0xE8, 0x8A, 0x1A)
WHITE = (0xFF, 0xFF, 0xFF)


def write_picture(name, pixel):
    rows = [[pixel(x, y) for x in range(SIZE)] for y in range(SIZE)]
    write_bmp(os.path.join(HERE, name), rows)


def tile(x, y):
    # A woven pattern: maroon ground, brown bands crossing, an orange stitch where they meet.
    u, v = x % 8, y % 8
    on_h = v in (3, 4)
    on_v = u in (3, 4)
    if on_h and on_v:
        return ORANGE
    if on_h or on_v:
        # alternate which band lies on top in each quarter, so the tile reads as woven
        return BROWN if ((x // 8) + (y // 8)) % 2 == (1 if on_h else 0) else (0x5A, 0x30, 0x18)
    if (u + v) % 8 == 0:
        return (0x9A, 0x10, 0x08)
    return MAROON


def inside_disc(x, y):
    return math.hypot(x - 7.5, y - 7.5) <= 6.9


def disc(x, y):
    # A grey disc lit from the upper left, with a dark rim, on white.
    if not inside_disc(x, y):
        return WHITE
    if not all(inside_disc(x + dx, y + dy) for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))):
        return (0x50, 0x50, 0x50)
    light = math.hypot(x - 5.5, y - 5.0)
    level = max(0x78, min(0xE8, int(0xE8 - light * 15)))
    return (level, level, level)


if __name__ == '__main__':
    write_picture('tile.bmp', tile)
    write_picture('disc.bmp', disc)
