"""Generates vitaro's icon: three sine waves (yellow, green, red) on the chart's magenta ground."""
import math
import os
import sys

from bmpwrite import write_ico

OUT = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))

GROUND = (187, 0, 82)
EDGE = (255, 255, 255)
# Period in icon widths, amplitude in fractions of the half height, colour.
WAVES = ((1.0, 0.75, (255, 255, 0)), (0.8, 0.45, (0, 255, 0)), (1.2, 0.6, (255, 0, 0)))


def icon(size):
    inset = 1 if size <= 16 else 2
    mid = (size - 1) / 2.0
    thick = 0.9 if size <= 16 else 1.3

    def pixel(x, y):
        if x < inset - 1 or y < inset - 1 or x > size - inset or y > size - inset:
            return (0, 0, 0, 0)
        if x in (inset - 1, size - inset) or y in (inset - 1, size - inset):
            return EDGE + (255,)
        for period, amp, colour in WAVES:
            t = (x - inset) / (size - 2 * inset)
            wy = mid - amp * (mid - inset) * math.sin(2 * math.pi * t / period)
            if abs(y - wy) <= thick:
                return colour + (255,)
        if y == round(mid):
            return EDGE + (255,)
        return GROUND + (255,)
    return pixel


def main():
    write_ico(os.path.join(OUT, "vitaro.ico"), [(16, icon(16)), (32, icon(32))])


if __name__ == "__main__":
    main()
