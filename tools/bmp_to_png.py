#!/usr/bin/env python3
"""Converts an uncompressed 24- or 32-bit Windows bitmap to an RGB PNG.

Usage: bmp_to_png.py INPUT.bmp OUTPUT.png

Screenshots are written as bitmaps; this makes a copy that any viewer shows.
Only the Python standard library is used.
"""

import struct
import sys
import zlib

BI_RGB = 0
BI_BITFIELDS = 3


def read_bitmap(path):
    """Returns (width, height, rows), rows top first, each row as RGB bytes."""
    with open(path, "rb") as file:
        data = file.read()
    if data[:2] != b"BM":
        raise ValueError(f"{path}: not a Windows bitmap")
    pixel_offset = struct.unpack_from("<I", data, 10)[0]
    width, height, planes, bits, compression = struct.unpack_from("<iiHHI", data, 18)
    if bits not in (24, 32) or compression not in (BI_RGB, BI_BITFIELDS):
        raise ValueError(f"{path}: {bits}-bit bitmaps with compression {compression} "
                         "are not supported")
    top_down = height < 0
    height = abs(height)
    bytes_per_pixel = bits // 8
    stride = (width * bytes_per_pixel + 3) & ~3
    rows = []
    for y in range(height):
        source_row = y if top_down else height - 1 - y
        start = pixel_offset + source_row * stride
        row = data[start:start + width * bytes_per_pixel]
        rgb = bytearray(width * 3)
        rgb[0::3] = row[2::bytes_per_pixel]
        rgb[1::3] = row[1::bytes_per_pixel]
        rgb[2::3] = row[0::bytes_per_pixel]
        rows.append(bytes(rgb))
    return width, height, rows


def png_chunk(kind, payload):
    crc = zlib.crc32(kind + payload) & 0xFFFFFFFF
    return struct.pack(">I", len(payload)) + kind + payload + struct.pack(">I", crc)


def write_png(path, width, height, rows):
    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)  # 8-bit RGB
    raw = b"".join(b"\x00" + row for row in rows)  # filter type 0 on every row
    with open(path, "wb") as file:
        file.write(b"\x89PNG\r\n\x1a\n")
        file.write(png_chunk(b"IHDR", header))
        file.write(png_chunk(b"IDAT", zlib.compress(raw, 9)))
        file.write(png_chunk(b"IEND", b""))


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__.strip())
    try:
        width, height, rows = read_bitmap(sys.argv[1])
    except (OSError, ValueError, struct.error) as error:
        sys.exit(f"bmp_to_png: {error}")
    write_png(sys.argv[2], width, height, rows)
    return 0


if __name__ == "__main__":
    sys.exit(main())
