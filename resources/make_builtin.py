"""Generates the main program's built-in images: icon 1, background bitmap 2, glyph strip bitmap 3."""
import math
import os
import sys

from bmpwrite import write_bmp24, write_ico

OUT = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))

FACE = (18, 24, 38)          # inside of the face; the glyph strip uses the same colour
RIM = (70, 92, 128)
RIM_LIGHT = (120, 150, 190)
TRANSPARENT = (255, 0, 0)
ON = (120, 224, 255)
GHOST = (30, 42, 62)
MARKER = (0, 0, 0)

# Seven segments of a 15 x 25 digit cell: name -> list of filled pixels.
def segment_pixels():
    segs = {}
    def horiz(y):
        pts = set()
        for dy in range(3):
            inset = abs(dy - 1)
            for x in range(3 + inset, 12 - inset):
                pts.add((x, y + dy))
        return pts
    def vert(x, y0, y1):
        pts = set()
        for dx in range(3):
            inset = abs(dx - 1)
            for y in range(y0 + inset, y1 - inset):
                pts.add((x + dx, y))
        return pts
    segs["a"] = horiz(1)
    segs["g"] = horiz(11)
    segs["d"] = horiz(21)
    segs["f"] = vert(1, 3, 12)
    segs["b"] = vert(11, 3, 12)
    segs["e"] = vert(1, 13, 22)
    segs["c"] = vert(11, 13, 22)
    return segs

DIGITS = {0: "abcdef", 1: "bc", 2: "abged", 3: "abgcd", 4: "fgbc", 5: "afgcd",
          6: "afgedc", 7: "abc", 8: "abcdefg", 9: "abcdfg"}


def glyph_strip():
    segs = segment_pixels()
    on, ghost = set(), set()
    for d, names in DIGITS.items():
        for name, pts in segs.items():
            target = on if name in names else ghost
            for (x, y) in pts:
                target.add((15 * d + x, y))
    # Colon: cell x 151..158, two dots.
    for cx, cy in ((154, 8), (154, 16)):
        for dx in range(-1, 2):
            for dy in range(-1, 2):
                on.add((cx + dx, cy + dy))
    def pixel(x, y):
        if (x, y) in on:
            return ON
        if (x, y) in ghost:
            return GHOST
        return FACE
    return pixel


def background():
    w, h, r = 120, 38, 7
    def inside(x, y, inset):
        # Rounded rectangle test with corner radius r - inset.
        rr = r - inset
        left, top, right, bottom = inset, inset, w - 1 - inset, h - 1 - inset
        if x < left or x > right or y < top or y > bottom:
            return False
        cx = min(max(x, left + rr), right - rr)
        cy = min(max(y, top + rr), bottom - rr)
        return (x - cx) ** 2 + (y - cy) ** 2 <= rr * rr + 0.5
    def pixel(x, y):
        if (x, y) == (114, 7):
            return MARKER  # time marker: the time area starts at (114 - 109, 7) = (5, 7)
        if not inside(x, y, 0):
            return TRANSPARENT
        if not inside(x, y, 2):
            return RIM_LIGHT if y < h // 2 else RIM
        return FACE
    return w, h, pixel


def icon(size):
    c = (size - 1) / 2.0
    radius = size / 2.0 - 0.5
    def pixel(x, y):
        d = math.hypot(x - c, y - c)
        if d > radius:
            return (0, 0, 0, 0)
        if d > radius - max(1.5, size / 12):
            return RIM_LIGHT + (255,)
        # Hands: ten past ten.
        def near(angle_deg, length):
            a = math.radians(angle_deg)
            ux, uy = math.sin(a), -math.cos(a)
            px, py = x - c, y - c
            t = px * ux + py * uy
            if t < 0 or t > length:
                return False
            return abs(px * uy - py * ux) <= max(0.8, size / 20)
        if near(300, radius * 0.55) or near(60, radius * 0.8):
            return ON + (255,)
        return FACE + (255,)
    return pixel


def main():
    w, h, bg = background()
    write_bmp24(os.path.join(OUT, "background.bmp"), w, h, bg)
    write_bmp24(os.path.join(OUT, "glyphs.bmp"), 180, 25, glyph_strip())
    write_ico(os.path.join(OUT, "zentaro.ico"), [(16, icon(16)), (32, icon(32))])


if __name__ == "__main__":
    main()
