#!/usr/bin/env python3
"""Draws Yomi's three characters as 32 x 32 faces and writes them as 24-bit Windows bitmaps.

    Tsubomi   a bud: short pink hair, a green bud clip, spring-green sky
    Urara     a spring day: sunny orange twin tails, a yellow ribbon, warm sky
    Yozakura  cherry blossom at night: long indigo hair, a blossom ornament, moon and night sky

Run it to rewrite the three .bmp files beside this script (or into the folder given); the
committed files are what the build copies beside each library. Each pixel is the average of
a 5 x 5 grid of samples, so the outlines come out soft. The bitmap writer and two drawing
helpers are those of Tekum's picture script.
"""
import math
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "engine"))
from make_rurika import blend, bmp_bytes, inside_ellipse  # noqa: E402  shared with Tekum's picture

SIZE = 32
GRID = 5

# What the three faces share.
SKIN, SKIN_SHADOW, WHITE = (255, 228, 210), (238, 198, 178), (255, 255, 255)
MOUTH, BLUSH = (200, 80, 90), (255, 150, 165)
# Over the skin, in this order: cheeks, eyes (None: the face's own eye colour), their lights.
# Each is an ellipse (centre, radii) with its colour and opacity.
FACE_DETAILS = [
    (10.5, 20.8, 1.9, 0.9, BLUSH, 0.55), (21.5, 20.8, 1.9, 0.9, BLUSH, 0.55),
    (12.2, 17.2, 1.6, 2.3, None, 1.0), (19.8, 17.2, 1.6, 2.3, None, 1.0),
    (12.7, 16.2, 0.65, 0.75, WHITE, 1.0), (20.3, 16.2, 0.65, 0.75, WHITE, 1.0),
]


def petal_flower(px, py, cx, cy, radius):
    """A five-petalled blossom: True inside the petals, 'heart' at the centre."""
    dx, dy = px - cx, py - cy
    r = math.hypot(dx, dy)
    if r < radius * 0.28:
        return "heart"
    angle = math.atan2(dy, dx)
    # Petal outline: r < R * |cos(5/2 * angle)|-like lobes with a notch at each tip.
    lobe = 0.55 + 0.45 * abs(math.cos(2.5 * angle))
    return r < radius * lobe


class Face:
    """One character: colours and the few shapes that set them apart."""

    def __init__(self, sky_top, sky_bottom, hair, hair_light, eyes, accent, style):
        self.sky_top, self.sky_bottom = sky_top, sky_bottom
        self.hair, self.hair_light = hair, hair_light
        self.eyes, self.accent = eyes, accent
        self.style = style

    def sky(self, px, py):
        c = blend(self.sky_top, self.sky_bottom, py / SIZE)
        if self.style == "night":
            # A crescent moon and two stars.
            if inside_ellipse(px, py, 5.5, 6.0, 3.2, 3.2) and not inside_ellipse(px, py, 7.0, 5.0, 2.9, 2.9):
                c = (250, 240, 190)
            for sx, sy in ((27.5, 3.5), (3.0, 14.0)):
                if abs(px - sx) + abs(py - sy) < 0.9:
                    c = (255, 255, 220)
        return c

    def hair_behind(self, px, py):
        if self.style == "bud":  # a rounded bob ending at the jaw
            return inside_ellipse(px, py, 16, 15, 12.5, 12.0) or (4.5 <= px <= 27.5 and 15 <= py <= 24)
        if self.style == "spring":  # twin tails hanging at both sides
            tails = inside_ellipse(px, py, 4.5, 22, 3.6, 8.5) or inside_ellipse(px, py, 27.5, 22, 3.6, 8.5)
            return inside_ellipse(px, py, 16, 14, 12.0, 11.5) or tails
        # Long straight hair down past the shoulders.
        return inside_ellipse(px, py, 16, 14.5, 13.0, 12.5) or (3.0 <= px <= 29.0 and 14 <= py <= 32)

    def fringe_line(self, px):
        if self.style == "bud":  # straight-cut bangs
            return 11.0 + 0.03 * (px - 16) ** 2
        if self.style == "spring":  # swept to one side
            return 9.5 + 0.18 * (px - 10) + 0.02 * (px - 16) ** 2
        # Parted in the middle, framing the face.
        return 9.6 + 2.2 * abs(px - 16) / 6.0 if abs(px - 16) < 6 else 11.8 + 0.4 * (abs(px - 16) - 6) ** 1.5

    def ornament(self, px, py, c):
        if self.style == "bud":  # a green bud clip above the right eye
            if inside_ellipse(px, py, 23.0, 6.8, 2.3, 3.1):
                return (214, 70, 120)
            if inside_ellipse(px, py, 23.0, 9.6, 3.2, 1.4):
                return (90, 170, 80)
        elif self.style == "spring":  # a yellow bow on top
            bx, by = 16.0, 3.2
            if abs(py - by) <= abs(px - bx) * 0.7 + 0.8 and abs(px - bx) <= 4.5 and abs(py - by) <= 2.4:
                return self.accent
        else:  # a cherry blossom over the left ear
            petal = petal_flower(px, py, 7.0, 10.0, 3.6)
            if petal == "heart":
                return (250, 210, 90)
            if petal:
                return self.accent
        return c

    def colour(self, px, py):
        c = self.sky(px, py)
        if self.hair_behind(px, py):
            c = self.hair
        # Shoulders in a plain top, then the neck.
        if inside_ellipse(px, py, 16, 35.5, 14.5, 8.5):
            c = blend(self.accent, WHITE, 0.55)
        elif 13.5 <= px <= 18.5 and 22 <= py <= 29:
            c = SKIN_SHADOW
        if inside_ellipse(px, py, 16, 16.5, 9.0, 10.0):
            c = SKIN
            for cx, cy, rx, ry, colour, opacity in FACE_DETAILS:
                if inside_ellipse(px, py, cx, cy, rx, ry):
                    c = blend(c, self.eyes if colour is None else colour, opacity)
            if abs(math.hypot(px - 16.0, py - 19.8) - 2.4) < 0.4 and py > 21.2:
                c = MOUTH
            if py < self.fringe_line(px):
                c = self.hair
        elif py < 13 and inside_ellipse(px, py, 16, 14.5, 13.0, 12.5) and self.hair_behind(px, py):
            c = self.hair
        # A line of light across the crown.
        if inside_ellipse(px, py, 19.0, 5.0, 4.0, 0.9) and self.hair_behind(px, py):
            c = blend(c, self.hair_light, 0.75)
        return self.ornament(px, py, c)


FACES = {
    "Tsubomi": Face((226, 246, 214), (250, 250, 232), (232, 128, 168), (252, 196, 216), (60, 140, 90),
                    (150, 210, 120), "bud"),
    "Urara": Face((255, 238, 200), (255, 250, 230), (236, 140, 50), (255, 200, 120), (40, 110, 200),
                  (250, 210, 60), "spring"),
    "Yozakura": Face((24, 24, 70), (70, 50, 110), (52, 40, 96), (120, 100, 180), (150, 60, 160),
                     (255, 176, 200), "night"),
}


def draw(face):
    """Rows top to bottom, each a list of (r, g, b)."""
    rows = []
    for py in range(SIZE):
        row = []
        for px in range(SIZE):
            samples = [face.colour(px + (i + 0.5) / GRID, py + (j + 0.5) / GRID) for j in range(GRID) for i in range(GRID)]
            row.append(tuple(max(0, min(255, round(sum(s[k] for s in samples) / len(samples)))) for k in range(3)))
        rows.append(row)
    return rows


def main():
    folder = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parent
    for name, face in FACES.items():
        (folder / f"{name}.bmp").write_bytes(bmp_bytes(draw(face)))


if __name__ == "__main__":
    main()
