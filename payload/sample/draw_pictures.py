#!/usr/bin/env python3
"""Draws the sample set's two comparison pictures, 安装前.PNG and 安装后.PNG, into a folder.

They stand in for the screenshots a patch author ships: a mock game scene, grey and unchanged
before, coloured and marked after. Usage: draw_pictures.py OUTPUT_FOLDER
"""
import os
import struct
import sys
import zlib

WIDTH, HEIGHT = 480, 270

# A 5x7 pixel font for the few capitals the pictures use; each row is five bits, left first.
FONT = {
    "A": (0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11), "B": (0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E),
    "C": (0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E), "D": (0x1E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x1E),
    "E": (0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F), "F": (0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10),
    "H": (0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11), "I": (0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E),
    "L": (0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F), "N": (0x11, 0x19, 0x15, 0x13, 0x11, 0x11, 0x11),
    "O": (0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E), "P": (0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10),
    "R": (0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11), "T": (0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04),
    " ": (0, 0, 0, 0, 0, 0, 0),
}


def text_width(text, scale):
    return len(text) * 6 * scale - scale


def draw_text(pixels, text, left, top, scale, colour):
    for i, ch in enumerate(text):
        for row, bits in enumerate(FONT[ch]):
            for col in range(5):
                if bits & (0x10 >> col):
                    for dy in range(scale):
                        for dx in range(scale):
                            x = left + (i * 6 + col) * scale + dx
                            y = top + row * scale + dy
                            if 0 <= x < WIDTH and 0 <= y < HEIGHT:
                                pixels[y][x] = colour


def fill(pixels, left, top, width, height, colour):
    for y in range(max(0, top), min(HEIGHT, top + height)):
        for x in range(max(0, left), min(WIDTH, left + width)):
            pixels[y][x] = colour


def scene(after):
    sky_top, sky_bottom = ((120, 130, 150), (180, 185, 195)) if not after else ((255, 150, 190), (255, 220, 170))
    pixels = []
    for y in range(HEIGHT):
        t = y / (HEIGHT - 1)
        colour = tuple(round(a + (b - a) * t) for a, b in zip(sky_top, sky_bottom))
        pixels.append([colour] * WIDTH)
    ground = (90, 95, 100) if not after else (110, 190, 120)
    fill(pixels, 0, 200, WIDTH, 70, ground)
    # A status panel of the mock game: empty before, filled after.
    fill(pixels, 20, 20, 200, 24, (40, 40, 48))
    fill(pixels, 24, 24, 192 if after else 48, 16, (250, 210, 80) if after else (150, 150, 150))
    label = "AFTER" if after else "BEFORE"
    draw_text(pixels, label, (WIDTH - text_width(label, 8)) // 2, 80, 8, (255, 255, 255))
    draw_text(pixels, "ALICEINCRADLE PATCH", (WIDTH - text_width("ALICEINCRADLE PATCH", 2)) // 2, 160, 2,
              (30, 30, 40))
    return pixels


def png(pixels):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    raw = b"".join(b"\0" + bytes(v for px in row for v in px) for row in pixels)
    header = struct.pack(">IIBBBBB", WIDTH, HEIGHT, 8, 2, 0, 0, 0)  # 8-bit RGB
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def main(argv):
    if len(argv) != 2:
        sys.exit(__doc__)
    os.makedirs(argv[1], exist_ok=True)
    for name, after in (("安装前.PNG", False), ("安装后.PNG", True)):
        with open(os.path.join(argv[1], name), "wb") as f:
            f.write(png(scene(after)))


if __name__ == "__main__":
    main(sys.argv)
