#!/usr/bin/env python3
"""Draws the two stone cursors (a hand holding a black or a white stone), 32 x 32, two colours
plus transparency, hot spot at the top-left where the stone is. Writes a text picture of each
(KUROGOMA.txt, SIROGOMA.txt: '#' black, 'o' white, '.' clear) and the PNG the program loads.
Run it again after changing a shape, from anywhere; it rewrites the files beside it."""
import math
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, os.pardir, "scripts"))
from picture_files import write_png  # noqa: E402

SIZE = 32


def capsule(ax, ay, bx, by, r):
    """A finger or a palm: every pixel within r of the segment a-b."""
    def inside(x, y, grow=0.0):
        px, py = x + 0.5, y + 0.5
        dx, dy = bx - ax, by - ay
        t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy or 1)))
        cx, cy = ax + t * dx, ay + t * dy
        return math.hypot(px - cx, py - cy) <= r + grow
    return inside


def paint(picture, shape, fill):
    """Fill a shape and outline it one pixel wide in black, over what is already there."""
    for y in range(SIZE):
        for x in range(SIZE):
            if shape(x, y):
                picture[y][x] = fill
            elif shape(x, y, 1.0):
                picture[y][x] = '#'


def draw(stone_fill):
    picture = [['.'] * SIZE for _ in range(SIZE)]
    stone = capsule(7.0, 7.0, 7.0, 7.0, 6.0)
    paint(picture, stone, stone_fill)
    if stone_fill == '#':  # a glint, so the black stone reads as round
        for x, y in ((4, 4), (5, 4), (4, 5)):
            picture[y][x] = 'o'
    # The hand comes from the lower right: palm, three curled fingers, then index and thumb
    # pinching the stone from the right and from below.
    shapes = [
        capsule(22.5, 22.5, 25.0, 25.0, 5.0),       # palm
        capsule(27.0, 19.5, 21.0, 19.0, 2.3),       # curled fingers
        capsule(26.0, 15.5, 20.0, 13.5, 2.3),
        capsule(22.0, 18.0, 14.0, 8.5, 2.4),        # index finger, tip on the stone
        capsule(19.0, 27.0, 9.5, 15.0, 2.6),        # thumb, tip under the stone
    ]
    for shape in shapes:
        paint(picture, shape, 'o')
    return [''.join(row) for row in picture]


def write_cursor_png(path, rows):
    colours = {'#': (0, 0, 0, 255), 'o': (255, 255, 255, 255), '.': (0, 0, 0, 0)}
    write_png(path, [[colours[c] for c in row] for row in rows])


if __name__ == '__main__':
    here = os.path.dirname(os.path.abspath(__file__))
    for name, fill in (('KUROGOMA', '#'), ('SIROGOMA', 'o')):
        rows = draw(fill)
        base = os.path.join(here, name)
        with open(base + '.txt', 'w') as f:
            f.write('\n'.join(rows) + '\n')
        write_cursor_png(base + '.png', rows)
