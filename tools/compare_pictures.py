#!/usr/bin/env python3
"""Compares two screenshots of the same scene pixel by pixel.

Usage: compare_pictures.py A.bmp B.bmp [--tolerance N] [--share PERCENT]
                           [--ignore LEFT,TOP,RIGHT,BOTTOM]...

Prints how many pixels differ and by how much at most (in any one 8-bit
channel), and exits 1 when the sizes differ, a channel differs by more than
the tolerance (default 0) or more than PERCENT of the pixels differ at all
(default 100). --ignore leaves out a rectangle [LEFT, RIGHT) x [TOP, BOTTOM)
that is expected to differ, such as text that shows a frame rate.
"""

import argparse
import struct
import sys

from bmp_to_png import read_bitmap


def rectangle(text):
    left, top, right, bottom = (int(value) for value in text.split(","))
    return left, top, right, bottom


def channel_differences(rows_a, rows_b, ignored):
    """Yields the largest channel difference of each compared pixel."""
    for y, (row_a, row_b) in enumerate(zip(rows_a, rows_b)):
        for x in range(len(row_a) // 3):
            if any(left <= x < right and top <= y < bottom for left, top, right, bottom in ignored):
                continue
            yield max(abs(a - b) for a, b in zip(row_a[3 * x:3 * x + 3], row_b[3 * x:3 * x + 3]))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("pictures", nargs=2)
    parser.add_argument("--tolerance", type=int, default=0)
    parser.add_argument("--share", type=float, default=100.0)
    parser.add_argument("--ignore", type=rectangle, action="append", default=[])
    arguments = parser.parse_args()
    try:
        (width_a, height_a, rows_a), (width_b, height_b, rows_b) = (
            read_bitmap(path) for path in arguments.pictures)
    except (OSError, ValueError, struct.error) as error:
        sys.exit(f"compare_pictures: {error}")
    if (width_a, height_a) != (width_b, height_b):
        print(f"sizes differ: {width_a}x{height_a} and {width_b}x{height_b}")
        return 1
    compared = list(channel_differences(rows_a, rows_b, arguments.ignore))
    differences = [d for d in compared if d]
    largest = max(differences, default=0)
    share = 100.0 * len(differences) / max(len(compared), 1)
    print(f"{len(differences)} of {len(compared)} pixels ({share:.2f}%) differ, by at most "
          f"{largest} in a channel (allowed: {arguments.share:g}%, {arguments.tolerance})")
    return 1 if largest > arguments.tolerance or share > arguments.share else 0


if __name__ == "__main__":
    sys.exit(main())
