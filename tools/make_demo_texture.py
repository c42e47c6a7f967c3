#!/usr/bin/env python3
"""Writes the sample host's texture: host/assets/panel.bmp.

Usage: make_demo_texture.py [OUTPUT.bmp]

A 128 x 128, 24-bit bitmap: a riveted metal panel with a brass frame and
a round window cut out of its middle. The window is painted in exactly
0xDE00DE, the colour that texture loading keys out, so the scene behind the
panel shows through it; no other texel has that colour or is pure black
(after a device reset textures are reloaded with black as the key).
The output is the same bytes on every run.
"""

import math
import os
import struct
import sys

SIZE = 128
KEY = (0xDE, 0x00, 0xDE)
HOLE_RADIUS = 30
FRAME = 7
RIVETS = [(15, 15), (112, 15), (15, 112), (112, 112)]


def mix(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def noise(x, y):
    """Deterministic grain in [0, 1): a hash of the texel position."""
    h = (x * 374761393 + y * 668265263) & 0xFFFFFFFF
    h = ((h ^ (h >> 13)) * 1274126177) & 0xFFFFFFFF
    return ((h ^ (h >> 16)) & 0xFFFF) / 65536.0


def texel(x, y):
    centre = (SIZE - 1) / 2
    distance = math.hypot(x - centre, y - centre)
    if distance < HOLE_RADIUS:
        return KEY
    if distance < HOLE_RADIUS + 4:  # brass ring around the window
        light = 0.5 + 0.5 * math.cos(math.atan2(y - centre, x - centre) + 2.3)
        return mix((150, 105, 40), (250, 215, 120), light)
    edge = min(x, y, SIZE - 1 - x, SIZE - 1 - y)
    if edge < FRAME:  # bevelled brass frame, lit from the top left
        lit = (x + y) < SIZE - 1 if edge < FRAME - 2 else (x + y) >= SIZE - 1
        return (235, 190, 90) if lit else (160, 110, 45)
    for rx, ry in RIVETS:
        r = math.hypot(x - rx, y - ry)
        if r < 5:
            shade = max(0.0, 1.0 - r / 5) * (0.6 + 0.4 * ((rx - x + ry - y) > 0))
            return mix((90, 95, 110), (230, 235, 245), shade)
    # steel plate: a diagonal blue-grey gradient with brushed grain
    t = (x + y) / (2 * (SIZE - 1))
    base = mix((70, 110, 150), (40, 70, 105), t)
    grain = 0.85 + 0.3 * noise(x // 3, y)
    return tuple(min(255, max(8, round(c * grain))) for c in base)


def bitmap_bytes():
    stride = SIZE * 3  # 128 * 3 is a multiple of four: no row padding
    rows = []
    for y in range(SIZE - 1, -1, -1):  # bottom row first
        row = bytearray()
        for x in range(SIZE):
            red, green, blue = texel(x, y)
            row += bytes((blue, green, red))
        rows.append(bytes(row))
    pixels = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 24, 0, stride * SIZE,
                       2835, 2835, 0, 0)
    return header + info + pixels


def main():
    default = os.path.join(os.path.dirname(os.path.abspath(__file__)),
                           "..", "host", "assets", "panel.bmp")
    output = sys.argv[1] if len(sys.argv) > 1 else default
    os.makedirs(os.path.dirname(os.path.abspath(output)), exist_ok=True)
    with open(output, "wb") as file:
        file.write(bitmap_bytes())
    return 0


if __name__ == "__main__":
    sys.exit(main())
