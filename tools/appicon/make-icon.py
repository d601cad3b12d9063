#!/usr/bin/env python3
"""Draws the program's icon, a small clock in the style of the blue face: a silver rim,
a blue face lighter at its top, four white hour marks and white hands at ten past ten.
Writes a .ico with 16x16 and 32x32 images of 32 bits with alpha.

usage: make-icon.py OUT.ico"""
import math
import struct
import sys

SUPER = 8  # samples per pixel side


def shade(x, y, size):
    """RGBA of the point (x, y) in pixel units of a size x size icon, or None outside."""
    c = size / 2.0
    r = size / 2.0 - 0.5
    dx, dy = x - c, y - c
    d = math.hypot(dx, dy)
    if d > r:
        return None
    rim = max(1.0, size / 11.0)
    if d > r - rim:
        t = (dy / r + 1) / 2  # lighter at the top
        v = int(230 - 70 * t)
        return (v, v, min(255, v + 12), 255)
    # hands and marks
    u = 1.0 / (r - rim)
    px, py = dx * u, dy * u  # unit disc, y down
    def seg(ang, length, width):
        ax, ay = math.sin(ang), -math.cos(ang)
        along = px * ax + py * ay
        across = abs(-px * ay + py * ax)
        return -0.08 <= along <= length and across <= width
    white = (255, 255, 255, 255)
    if seg(math.radians(300), 0.55, 0.085 if size > 16 else 0.13) or \
       seg(math.radians(60), 0.8, 0.06 if size > 16 else 0.1):
        return white
    if math.hypot(px, py) < 0.12:
        return white
    for k in range(4 if size > 16 else 0):
        ang = math.radians(90 * k)
        ax, ay = math.sin(ang), -math.cos(ang)
        along = px * ax + py * ay
        across = abs(-px * ay + py * ax)
        if 0.70 <= along <= 0.92 and across <= (0.07 if size > 16 else 0.1):
            return (235, 240, 250, 255)
    t = (py + 1) / 2
    return (int(70 - 40 * t), int(120 - 60 * t), int(215 - 60 * t), 255)


def render(size):
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SUPER):
                for sx in range(SUPER):
                    p = shade(x + (sx + 0.5) / SUPER, y + (sy + 0.5) / SUPER, size)
                    if p:
                        a = p[3] / 255.0
                        acc[0] += p[0] * a
                        acc[1] += p[1] * a
                        acc[2] += p[2] * a
                        acc[3] += a
            n = SUPER * SUPER
            alpha = acc[3] / n
            if alpha > 0:
                rgb = [min(255, int(acc[i] / acc[3] + 0.5)) for i in range(3)]
            else:
                rgb = [0, 0, 0]
            row.append((rgb[0], rgb[1], rgb[2], int(alpha * 255 + 0.5)))
        rows.append(row)
    return rows


def dib(size):
    pixels = render(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b''.join(bytes((b, g, r, a)) for row in reversed(pixels) for (r, g, b, a) in row)
    stride = ((size + 31) // 32) * 4
    mask = b''
    for row in reversed(pixels):
        line = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(line)
    return header + xor + mask


def main():
    images = [dib(16), dib(32)]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip((16, 32), images):
        out += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(sys.argv[1], 'wb') as f:
        f.write(out + b''.join(images))


if __name__ == '__main__':
    main()
