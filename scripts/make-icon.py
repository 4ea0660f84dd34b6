#!/usr/bin/env python3
"""Draws Tavrin's icon (a key cap with an orange glow) and writes resources/tavrin.ico.

The icon holds three 32-bit images, 15x16, 30x32 and 45x48 pixels. Run it again after
changing the drawing; the output is the same for the same script.
"""
import math
import struct
import sys
from pathlib import Path

SIZES = [(15, 16), (30, 32), (45, 48)]


def inside_rounded(x, y, left, top, right, bottom, radius):
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def pixel(x, y, w, h):
    """Straight-alpha (r, g, b, a) of pixel (x, y) in a w x h image."""
    fx, fy = (x + 0.5) / w, (y + 0.5) / h
    if not inside_rounded(fx, fy, 0.04, 0.06, 0.96, 0.94, 0.18):
        return (0, 0, 0, 0)
    # Key cap face, a lighter inner face, and an orange glow at its centre.
    if not inside_rounded(fx, fy, 0.14, 0.14, 0.86, 0.80, 0.12):
        return (60, 60, 70, 255)
    d = math.hypot((fx - 0.5) / 0.36, (fy - 0.47) / 0.33)
    glow = max(0.0, 1.0 - d)
    base = (230, 230, 230)
    orange = (255, 140, 0)
    mix = [round(b + (o - b) * glow) for b, o in zip(base, orange)]
    return (mix[0], mix[1], mix[2], 255)


def image(w, h):
    header = struct.pack('<IiiHHIIiiII', 40, w, h * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = []
    for y in reversed(range(h)):  # bottom-up rows
        row = b''.join(bytes((b, g, r, a)) for r, g, b, a in (pixel(x, y, w, h) for x in range(w)))
        rows.append(row)
    mask_stride = ((w + 31) // 32) * 4
    mask = bytes(mask_stride * h)  # the alpha channel decides; the AND mask is all clear
    return header + b''.join(rows) + mask


def main(out):
    images = [image(w, h) for w, h in SIZES]
    directory = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b''
    for (w, h), data in zip(SIZES, images):
        entries += struct.pack('<BBBBHHII', w, h, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    Path(out).write_bytes(directory + entries + b''.join(images))


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else str(Path(__file__).resolve().parent.parent / 'resources' / 'tavrin.ico'))
