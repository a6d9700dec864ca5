"""Generates the sample skins installed beside the programs: two backgrounds of different
shapes (a disc and a capsule) and an amber glyph strip. Every background uses the built-in
face colour behind its time area, so each works with either glyph strip."""
import math
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from bmpwrite import write_bmp24  # noqa: E402

OUT = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
    os.path.dirname(os.path.abspath(__file__)), "..", "skins")

FACE = (18, 24, 38)        # behind the time; the same as the built-in glyph strip's
MARKER = (0, 0, 0)         # the one pure black pixel: where the time area ends at the top
TIME_W, TIME_H = 111, 25   # the time area a marker places


def marker_for(left, top):
    """The marker pixel that puts the time area's top-left corner at (left, top)."""
    return (left + 109, top)


def disc():
    size = 160
    transparent = (255, 0, 255)
    c = (size - 1) / 2.0
    outer, rim = 78.5, 5.0
    left, top = 80 - TIME_W // 2, 80 - TIME_H // 2
    mark = marker_for(left, top)

    def pixel(x, y):
        if (x, y) == mark:
            return MARKER
        d = math.hypot(x - c, y - c)
        if d > outer:
            return transparent
        if d > outer - rim:
            # Brushed-metal rim, lighter towards the top left.
            shade = 0.5 + 0.5 * ((c - x) + (c - y)) / (2 * outer)
            return (int(90 + 80 * shade), int(100 + 80 * shade), int(120 + 80 * shade))
        # Twelve hour ticks inside the rim.
        angle = math.degrees(math.atan2(x - c, c - y)) % 360
        if outer - rim - 9 < d <= outer - rim - 2 and min(angle % 30, 30 - angle % 30) * d * math.pi / 180 < 1.3:
            return (150, 170, 200)
        return FACE
    return size, size, pixel


def capsule():
    w, h = 190, 44
    transparent = (0, 255, 0)
    r = h / 2.0
    left, top = (w - TIME_W) // 2, (h - TIME_H) // 2
    mark = marker_for(left, top)

    def dist_outside(x, y):
        # Distance from the capsule's spine, measured against its radius.
        cx = min(max(x + 0.5, r), w - r)
        return math.hypot(x + 0.5 - cx, y + 0.5 - r)

    def pixel(x, y):
        if (x, y) == mark:
            return MARKER
        d = dist_outside(x, y)
        if d > r:
            return transparent
        if d > r - 3:
            t = y / (h - 1)
            return (int(200 - 110 * t), int(120 - 60 * t), int(40 - 20 * t) + 10)
        # Two small lamps at the ends.
        for lx in (r - 2, w - r + 1):
            if math.hypot(x + 0.5 - lx, y + 0.5 - r) < 3.2:
                return (255, 176, 40)
        return FACE
    return w, h, pixel


def amber_strip():
    amber, ghost = (255, 176, 0), (44, 38, 40)
    on, dim = set(), set()
    # Slanted seven segments in a 15 x 25 cell; column 0 stays empty since 16 columns are copied.
    def shear(x, y):
        return x + (24 - y) // 8

    def horiz(y):
        return {(x, y + dy) for dy in range(2) for x in range(3, 10)}

    def vert(x, y0, y1):
        return {(x + dx, y) for dx in range(2) for y in range(y0, y1)}
    segs = {"a": horiz(2), "g": horiz(11), "d": horiz(20),
            "f": vert(2, 4, 11), "b": vert(10, 4, 11), "e": vert(2, 13, 20), "c": vert(10, 13, 20)}
    digits = {0: "abcdef", 1: "bc", 2: "abged", 3: "abgcd", 4: "fgbc", 5: "afgcd",
              6: "afgedc", 7: "abc", 8: "abcdefg", 9: "abcdfg"}
    for d, names in digits.items():
        for name, pts in segs.items():
            target = on if name in names else dim
            for (x, y) in pts:
                target.add((15 * d + shear(x, y), y))
    for cy in (8, 16):  # colon in columns 151..158, dots of 2 x 2
        for dx in range(2):
            for dy in range(2):
                on.add((154 + dx, cy + dy))

    def pixel(x, y):
        if (x, y) in on:
            return amber
        if (x, y) in dim:
            return ghost
        return FACE
    return 180, 25, pixel


def main():
    os.makedirs(OUT, exist_ok=True)
    for name, make in (("disc.bmp", disc), ("capsule.bmp", capsule), ("amber.bmp", amber_strip)):
        w, h, pixel = make()
        write_bmp24(os.path.join(OUT, name), w, h, pixel)


if __name__ == "__main__":
    main()
