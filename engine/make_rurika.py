#!/usr/bin/env python3
"""Draws Rurika, Tekum's character: a 32 x 32 face, written as a 24-bit Windows bitmap.

Run it to rewrite Rurika.bmp beside this script; the committed file is what the build installs.
Shapes are sampled 4 x 4 per pixel and averaged, so the edges come out soft.
"""
import math
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "scripts"))
from picture_files import bmp_bytes  # noqa: E402  (other picture scripts import it from here)

SIZE = 32
SAMPLES = 4

HAIR = (46, 78, 160)        # lapis blue
HAIR_SHINE = (110, 150, 225)
SKIN = (255, 226, 204)
SKIN_SHADE = (240, 196, 172)
EYE = (36, 48, 120)
EYE_LIGHT = (255, 255, 255)
BLUSH = (255, 160, 170)
MOUTH = (204, 86, 96)
COLLAR = (250, 250, 255)
TIE = (226, 80, 110)
RIBBON = (232, 92, 124)


def inside_ellipse(x, y, cx, cy, rx, ry):
    return ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0


def bangs_edge(x):
    # Strands of the fringe: a zigzag that dips between the eyes and sweeps to the sides.
    zig = abs(((x - 16.0) / 3.0) % 2.0 - 1.0)
    return 9.0 + 2.6 * zig + 0.02 * (x - 16.0) ** 2


def blend(base, over, alpha):
    return tuple(b + (o - b) * alpha for b, o in zip(base, over))


def colour_at(x, y):
    """Colour of the picture at a point (x right, y down, both 0..32)."""
    # Background: a soft sky from lavender to pale blue.
    t = y / SIZE
    c = blend((236, 228, 250), (206, 232, 250), t)

    # Hair behind the face, falling to the shoulders.
    if inside_ellipse(x, y, 16, 14.5, 13, 13.5) or (3.2 <= x <= 28.8 and 14 <= y <= 30 and
                                                    abs(x - 16) >= 8.0 - (y - 14) * 0.05):
        c = HAIR
    # Shoulders and a sailor collar with a tie.
    if inside_ellipse(x, y, 16, 35, 15, 9):
        c = COLLAR
        if abs(x - 16) < 2.2 - (y - 28) * 0.25 and y > 27.5:
            c = TIE
    # Neck.
    if 13.2 <= x <= 18.8 and 22 <= y <= 28.5 and not inside_ellipse(x, y, 16, 35, 15, 9):
        c = SKIN_SHADE
    # Face.
    if inside_ellipse(x, y, 16, 16.2, 9.2, 10.2):
        c = SKIN
        # Blush.
        for bx in (10.2, 21.8):
            if inside_ellipse(x, y, bx, 20.6, 2.0, 1.0):
                c = blend(c, BLUSH, 0.6)
        # Eyes, each with a highlight.
        for ex in (12.0, 20.0):
            if inside_ellipse(x, y, ex, 17.0, 1.7, 2.4):
                c = EYE
                if inside_ellipse(x, y, ex - 0.6, 16.0, 0.7, 0.8):
                    c = EYE_LIGHT
        # A small smile.
        d = math.hypot(x - 16.0, y - 20.4)
        if 2.0 <= d <= 2.8 and y > 21.6:
            c = MOUTH
        # Fringe over the forehead.
        if y < bangs_edge(x) and inside_ellipse(x, y, 16, 14.5, 13, 13.5):
            c = HAIR
    elif y < 12 and inside_ellipse(x, y, 16, 14.5, 13, 13.5):
        c = HAIR
    # A shine across the crown.
    if inside_ellipse(x, y, 12.5, 5.5, 4.5, 1.1):
        c = blend(c, HAIR_SHINE, 0.8)
    # A ribbon on the right.
    rx, ry = 24.5, 5.0
    if abs(y - ry) <= abs(x - rx) * 0.9 + 0.6 and abs(x - rx) <= 3.4 and abs(y - ry) <= 2.8:
        c = RIBBON
    return c


def render():
    pixels = []
    step = 1.0 / SAMPLES
    for py in range(SIZE):
        row = []
        for px in range(SIZE):
            acc = [0.0, 0.0, 0.0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    col = colour_at(px + (sx + 0.5) * step, py + (sy + 0.5) * step)
                    for i in range(3):
                        acc[i] += col[i]
            n = SAMPLES * SAMPLES
            row.append(tuple(min(255, max(0, round(a / n))) for a in acc))
        pixels.append(row)
    return pixels


def main():
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).with_name("Rurika.bmp")
    out.write_bytes(bmp_bytes(render()))


if __name__ == "__main__":
    main()
