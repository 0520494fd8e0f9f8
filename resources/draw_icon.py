#!/usr/bin/env python3
"""Draws the program's icon: a plaster laid across a rounded pink tile.

Writes an .ico holding a 64x64 and a 256x256 image, both 32-bit RGBA stored as PNG.
Usage: draw_icon.py OUTPUT.ico
"""
import math
import struct
import sys
import zlib

SIZES = (64, 256)
SUPERSAMPLE = 3


def _box(px, py, half_w, half_h, radius):
    """Signed distance to a rounded box centred on the origin."""
    qx = abs(px) - half_w + radius
    qy = abs(py) - half_h + radius
    outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
    return outside + min(max(qx, qy), 0.0) - radius


def _mix(under, over, alpha):
    return tuple(u + (o - u) * alpha for u, o in zip(under, over))


def _sample(x, y):
    """Colour (r, g, b, a) at a point of the unit tile, coordinates in [-1, 1]."""
    tile = _box(x, y, 0.94, 0.94, 0.30)
    if tile > 0:
        return (0.0, 0.0, 0.0, 0.0)
    t = (y + 1) / 2
    colour = _mix((255, 143, 177), (143, 92, 255), t)
    # The plaster lies along the diagonal from lower left to upper right.
    c, s = math.cos(math.pi / 4), math.sin(math.pi / 4)
    u, v = x * c - y * s, x * s + y * c
    strip = _box(u, v, 0.86, 0.28, 0.28)
    if strip < 0.035:
        colour = _mix(colour, (255, 255, 255), 1.0)
    if strip < 0:
        colour = (253, 231, 200)
        pad = _box(u, v, 0.30, 0.22, 0.06)
        if pad < 0:
            colour = (242, 190, 140)
            for du in (-0.16, 0.0, 0.16):
                for dv in (-0.09, 0.09):
                    if math.hypot(u - du, v - dv) < 0.035:
                        colour = (214, 150, 100)
    return (*colour, 255.0)


def render(size):
    """RGBA bytes of the icon at `size` x `size`, rows from the top."""
    out = bytearray()
    step = 2.0 / (size * SUPERSAMPLE)
    for row in range(size):
        for col in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SUPERSAMPLE):
                for sx in range(SUPERSAMPLE):
                    x = -1 + (col * SUPERSAMPLE + sx + 0.5) * step
                    y = -1 + (row * SUPERSAMPLE + sy + 0.5) * step
                    r, g, b, a = _sample(x, y)
                    w = a / 255.0
                    acc[0] += r * w
                    acc[1] += g * w
                    acc[2] += b * w
                    acc[3] += a
            n = SUPERSAMPLE * SUPERSAMPLE
            alpha = acc[3] / n
            if alpha > 0:
                cover = acc[3] / 255.0
                out += bytes(round(acc[i] / cover) for i in range(3))
            else:
                out += b"\0\0\0"
            out.append(round(alpha))
    return bytes(out)


def png(size, rgba):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    raw = b"".join(b"\0" + rgba[r * size * 4:(r + 1) * size * 4] for r in range(size))
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def icon(images):
    """An .ico file from (size, png bytes) pairs."""
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, bodies = b"", b""
    for size, data in images:
        dim = 0 if size == 256 else size
        entries += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
        bodies += data
    return directory + entries + bodies


def main(argv):
    if len(argv) != 2:
        sys.exit(__doc__)
    with open(argv[1], "wb") as f:
        f.write(icon([(size, png(size, render(size))) for size in SIZES]))


if __name__ == "__main__":
    main(sys.argv)
