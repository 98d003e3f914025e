#!/usr/bin/env python3
"""Draws Velmora's own character pictures (32 x 32, 24-bit BMP) and the program icon (PNG).

Run it from anywhere; it rewrites the files beside it:
  characters/*.bmp  the faces offered in the connection dialog
  icon/velmora.png  the program icon compiled into the program (64 x 64)
  icon/hicolor/NxN/apps/velmora.png  the same drawing for the desktop's menus, 16 to 256 pixels
Shapes are drawn at four times the size and averaged down, so the edges come out smooth.
"""
import math
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, os.pardir, "scripts"))
from picture_files import write_bmp, write_png  # noqa: E402

SS = 4  # supersampling factor


class Canvas:
    def __init__(self, size, background):
        self.size = size
        self.n = size * SS
        self.px = [[background] * self.n for _ in range(self.n)]

    def _plot(self, x, y, colour):
        if 0 <= x < self.n and 0 <= y < self.n:
            self.px[y][x] = colour

    def ellipse(self, cx, cy, rx, ry, colour):
        """Filled ellipse; coordinates in final pixels (floats allowed)."""
        cx, cy, rx, ry = cx * SS, cy * SS, rx * SS, ry * SS
        for y in range(int(cy - ry) - 1, int(cy + ry) + 2):
            for x in range(int(cx - rx) - 1, int(cx + rx) + 2):
                dx, dy = (x + 0.5 - cx) / rx, (y + 0.5 - cy) / ry
                if dx * dx + dy * dy <= 1.0:
                    self._plot(x, y, colour)

    def polygon(self, points, colour):
        pts = [(x * SS, y * SS) for x, y in points]
        ys = [p[1] for p in pts]
        for y in range(int(min(ys)) - 1, int(max(ys)) + 2):
            yc = y + 0.5
            xs = []
            for i in range(len(pts)):
                (x1, y1), (x2, y2) = pts[i], pts[(i + 1) % len(pts)]
                if (y1 <= yc < y2) or (y2 <= yc < y1):
                    xs.append(x1 + (yc - y1) * (x2 - x1) / (y2 - y1))
            xs.sort()
            for a, b in zip(xs[::2], xs[1::2]):
                for x in range(int(a), int(b) + 1):
                    if a <= x + 0.5 <= b:
                        self._plot(x, y, colour)

    def arc(self, cx, cy, r, start, end, width, colour):
        """A stroked arc (angles in degrees, 0 = right, counter-clockwise, y down)."""
        steps = 60
        for i in range(steps + 1):
            a = math.radians(start + (end - start) * i / steps)
            self.ellipse(cx + r * math.cos(a), cy - r * math.sin(a), width / 2, width / 2, colour)

    def pixels_with_alpha(self):
        """RGBA rows: where the background shows through, the pixel is as transparent as it is."""
        out = []
        for y in range(self.size):
            row = []
            for x in range(self.size):
                r = g = b = covered = 0
                for sy in range(SS):
                    for sx in range(SS):
                        c = self.px[y * SS + sy][x * SS + sx]
                        if c is not None:
                            r, g, b, covered = r + c[0], g + c[1], b + c[2], covered + 1
                if covered:
                    row.append((round(r / covered), round(g / covered), round(b / covered),
                                round(255 * covered / (SS * SS))))
                else:
                    row.append((0, 0, 0, 0))
            out.append(row)
        return out

    def pixels(self):
        out = []
        for y in range(self.size):
            row = []
            for x in range(self.size):
                r = g = b = 0
                for sy in range(SS):
                    for sx in range(SS):
                        c = self.px[y * SS + sy][x * SS + sx]
                        r, g, b = r + c[0], g + c[1], b + c[2]
                k = SS * SS
                row.append((round(r / k), round(g / k), round(b / k)))
            out.append(row)
        return out


def eyes(c, y, dx, colour=(40, 30, 30)):
    c.ellipse(16 - dx, y, 1.8, 2.2, colour)
    c.ellipse(16 + dx, y, 1.8, 2.2, colour)
    c.ellipse(16 - dx + 0.6, y - 0.8, 0.6, 0.6, (255, 255, 255))
    c.ellipse(16 + dx + 0.6, y - 0.8, 0.6, 0.6, (255, 255, 255))


def cat():
    c = Canvas(32, (255, 236, 210))
    fur, inner = (236, 150, 70), (255, 196, 196)
    c.polygon([(5, 13), (7, 2), (14, 9)], fur)
    c.polygon([(27, 13), (25, 2), (18, 9)], fur)
    c.polygon([(7, 11), (8, 5), (12, 9)], inner)
    c.polygon([(25, 11), (24, 5), (20, 9)], inner)
    c.ellipse(16, 18, 12, 11, fur)
    c.ellipse(16, 23, 7, 5, (255, 240, 225))
    eyes(c, 16, 5)
    c.polygon([(14.5, 20), (17.5, 20), (16, 21.8)], (220, 90, 110))
    c.arc(14.5, 22, 1.6, 200, 340, 0.8, (90, 50, 40))
    c.arc(17.5, 22, 1.6, 200, 340, 0.8, (90, 50, 40))
    for dy in (-1, 1):
        c.polygon([(2, 20 + dy * 2), (9, 21), (9, 21.6), (2, 20.6 + dy * 2)], (120, 80, 60))
        c.polygon([(30, 20 + dy * 2), (23, 21), (23, 21.6), (30, 20.6 + dy * 2)], (120, 80, 60))
    c.ellipse(9, 21, 2, 1.2, (255, 170, 170))
    c.ellipse(23, 21, 2, 1.2, (255, 170, 170))
    return c


def frog():
    c = Canvas(32, (214, 240, 255))
    green, light = (90, 180, 80), (200, 235, 150)
    c.ellipse(16, 20, 13, 10, green)
    c.ellipse(9, 10, 5.5, 5.5, green)
    c.ellipse(23, 10, 5.5, 5.5, green)
    c.ellipse(9, 10, 3.8, 3.8, (255, 255, 255))
    c.ellipse(23, 10, 3.8, 3.8, (255, 255, 255))
    c.ellipse(9.5, 10.5, 2, 2.2, (30, 40, 30))
    c.ellipse(23.5, 10.5, 2, 2.2, (30, 40, 30))
    c.ellipse(10.2, 9.6, 0.7, 0.7, (255, 255, 255))
    c.ellipse(24.2, 9.6, 0.7, 0.7, (255, 255, 255))
    c.ellipse(16, 25, 8, 4, light)
    c.arc(16, 16, 7, 200, 340, 1.4, (40, 90, 40))
    c.ellipse(8, 20, 2.2, 1.3, (255, 160, 160))
    c.ellipse(24, 20, 2.2, 1.3, (255, 160, 160))
    return c


def penguin():
    c = Canvas(32, (232, 246, 236))
    c.ellipse(16, 18, 12, 13, (40, 48, 70))
    c.ellipse(11.5, 17, 5.5, 7, (255, 255, 255))
    c.ellipse(20.5, 17, 5.5, 7, (255, 255, 255))
    c.ellipse(16, 24, 8.5, 6.5, (255, 255, 255))
    eyes(c, 15, 4.5)
    c.polygon([(13, 20), (19, 20), (16, 23.5)], (250, 170, 40))
    c.ellipse(9, 21, 2, 1.2, (255, 180, 190))
    c.ellipse(23, 21, 2, 1.2, (255, 180, 190))
    c.ellipse(16, 5.5, 3, 2.5, (230, 70, 90))
    c.polygon([(13, 7), (19, 7), (16, 4)], (230, 70, 90))
    return c


def icon(size):
    """A green board disc with a blue and a white stone; drawn on a 64-unit grid at any size."""
    k = size / 64
    c = Canvas(size, None)
    c.ellipse(32 * k, 32 * k, 30 * k, 30 * k, (40, 110, 60))
    c.ellipse(32 * k, 32 * k, 27 * k, 27 * k, (70, 150, 90))
    c.ellipse(24 * k, 28 * k, 13 * k, 13 * k, (20, 20, 20))
    c.ellipse(24 * k, 28 * k, 11 * k, 11 * k, (30, 60, 230))
    c.ellipse(40 * k, 38 * k, 13 * k, 13 * k, (20, 20, 20))
    c.ellipse(40 * k, 38 * k, 11 * k, 11 * k, (250, 250, 250))
    return c


def main():
    pictures = {"neko.bmp": cat, "kaeru.bmp": frog, "pengin.bmp": penguin}
    for name, draw in pictures.items():
        write_bmp(os.path.join(HERE, "characters", name), draw().pixels())
    write_png(os.path.join(HERE, "icon", "velmora.png"), icon(64).pixels_with_alpha())
    for size in (16, 22, 24, 32, 48, 64, 128, 256):
        folder = os.path.join(HERE, "icon", "hicolor", "%dx%d" % (size, size), "apps")
        os.makedirs(folder, exist_ok=True)
        write_png(os.path.join(folder, "velmora.png"), icon(size).pixels_with_alpha())


if __name__ == "__main__":
    main()
