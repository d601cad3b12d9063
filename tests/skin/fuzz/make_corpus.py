#!/usr/bin/env python3
"""Writes the small seed corpus of the stored-skin fuzzer into corpus/ (run once by hand)."""
import os, struct, zlib

def bmp(w, h, bits, seed=1):
    stride = ((w * bits + 31) // 32) * 4
    colors = (1 << bits) if bits <= 8 else 0
    palette = b''.join(struct.pack('<BBBB', (i * 37) & 255, (i * 91) & 255, (i * 13) & 255, 0) for i in range(colors))
    rows = bytes(((x * seed + y * 7) & 255) for y in range(h) for x in range(stride))
    off = 14 + 40 + len(palette)
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, bits, 0, len(rows), 0, 0, 0, 0)
    return b'BM' + struct.pack('<IHHI', off + len(rows), 0, 0, off) + info + palette + rows

FIXED = {0: 2, 1: 4, 2: 5, 3: 3}
INI = b'[VERSION]\r\nskinname=seed\r\n[PICTURES]\r\nactivepicturescount=1\r\n0=a.bmp\r\n[FORMINFO]\r\nclientrect=3,20,40,30\r\n'

def packed(version, present, actives):
    out = struct.pack('<i', version)
    for i in range(FIXED.get(version, 2) if version <= 3 else 0):
        pic = present[i % len(present)] if present else None
        out += b'\x01' if pic is None else b'\x00' + pic
    out += struct.pack('<i', len(actives)) + b''.join(actives)
    return out + INI

here = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'corpus')
os.makedirs(here, exist_ok=True)
seeds = {
    'v2-full': packed(2, [bmp(6, 5, 8), None, bmp(6, 5, 1)], [bmp(4, 3, 24), bmp(3, 2, 32), bmp(5, 4, 4)]),
    'v0': packed(0, [bmp(3, 3, 24)], []),
    'v1': packed(1, [None], [bmp(2, 2, 1)]),
    'v3': packed(3, [bmp(4, 4, 4)], [bmp(2, 7, 8)]),
    'v4': struct.pack('<i', 4) + INI,
    'empty-set': packed(2, [None], []),
}
for name, raw in seeds.items():
    open(os.path.join(here, name + '.raw'), 'wb').write(raw)
    open(os.path.join(here, name + '.z'), 'wb').write(zlib.compress(raw, 9))
z = zlib.compress(seeds['v2-full'], 9)
open(os.path.join(here, 'truncated.z'), 'wb').write(z[:len(z) // 2])
open(os.path.join(here, 'trailing.z'), 'wb').write(z + b'garbage after the end')
