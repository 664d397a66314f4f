#!/usr/bin/env python3
"""Draws the program icon: a wall of small bricks, the idea of building a
picture from characters. Writes a 32x32 and a 16x16 32-bit image into
app/qizi.ico."""
import struct
import sys


def brick_pixel(x, y, size):
    row_h = size // 8
    brick_w = size // 4
    row = y // row_h
    offset = (brick_w // 2) if row % 2 else 0
    in_mortar = (y % row_h == row_h - 1) or ((x + offset) % brick_w == brick_w - 1)
    border = x == 0 or y == 0 or x == size - 1 or y == size - 1
    if border:
        return (90, 40, 30, 255)
    if in_mortar:
        return (235, 225, 205, 255)
    shade = 30 if (row + (x + offset) // brick_w) % 3 == 0 else 0
    return (200 - shade, 80 - shade // 2, 50, 255)  # R, G, B, A


def image(size):
    pixels = bytearray()
    for y in range(size - 1, -1, -1):  # bottom-up rows
        for x in range(size):
            r, g, b, a = brick_pixel(x, y, size)
            pixels += bytes((b, g, r, a))
    mask = bytes(((size + 31) // 32) * 4 * size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    return header + bytes(pixels) + mask


def main(path):
    images = [image(32), image(16)]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip((32, 16), images):
        out += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, 'wb') as f:
        f.write(out + b''.join(images))


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'app/qizi.ico')
