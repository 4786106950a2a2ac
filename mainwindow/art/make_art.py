#!/usr/bin/env python3
"""Draws the launcher's artwork: four 16x16 button glyphs and the program icon.

The glyphs are 24-bit pictures whose white bottom-left pixel marks the colour drawn
transparent; the icon is 32-bit with alpha at 16, 24, 32, 48 and 128 pixels.
Run it from anywhere; it writes the PNG files beside itself.
"""
import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

PALETTE = {
    ".": (255, 255, 255),  # the transparent colour
    "K": (32, 32, 32),
    "G": (208, 208, 208),
    "L": (236, 236, 236),
    "P": (128, 48, 160),
    "D": (80, 24, 112),
    "Y": (240, 208, 64),
    "B": (40, 96, 200),
    "C": (150, 200, 255),
    "N": (24, 40, 120),
    "S": (176, 184, 196),
    "R": (208, 0, 0),
}

BOOK = """
................
..KKKKKKKKKKK...
..KDPPPPPPPPKK..
..KDPPPPPPPPKLK.
..KDPYYYYYPPKLK.
..KDPPPPPPPPKLK.
..KDPYYYYYPPKLK.
..KDPPPPPPPPKLK.
..KDPPPPPPPPKLK.
..KDPPPPPPPPKLK.
..KDPPPPPPPPKLK.
..KDPPPPPPPPKLK.
..KKKKKKKKKKKLK.
...KLLLLLLLLLLK.
....KKKKKKKKKKK.
................
"""

COMPUTER = """
................
.KKKKKKKKKKK....
.KGGGGGGGGGK....
.KGBBBBBBBGK....
.KGBCCBBBBGK....
.KGBCBBBBBGK....
.KGBBBBBBBGK....
.KGBBBBBBBGK....
.KGGGGGGGGGK....
.KKKKKKKKKKK....
.....KGK........
...KKKKKKKKKKK..
...KGGGGGGGGGK..
...KKKKKKKKKKK..
............KK..
.............KKK
"""

FLOPPY = """
................
.KKKKKKKKKKKKKK.
.KNNSSSSSSSSNNK.
.KNNSSSSKKSSNNK.
.KNNSSSSKKSSNNK.
.KNNSSSSSSSSNNK.
.KNNNNNNNNNNNNK.
.KNNNNNNNNNNNNK.
.KNLLLLLLLLLLNK.
.KNLLLLLLLLLLNK.
.KNLRRRRRRRRLNK.
.KNLLLLLLLLLLNK.
.KNLGGGGGGGGLNK.
.KNLLLLLLLLLLNK.
.KKKKKKKKKKKKKK.
................
"""


def power_symbol():
    rows = []
    for y in range(16):
        row = ""
        for x in range(16):
            dx, dy = x - 7.5, y - 8.0
            ring = 4.6 <= math.hypot(dx, dy) <= 6.6 and not (abs(dx) < 2.6 and dy < 0)
            bar = 7 <= x <= 8 and 1 <= y <= 8
            row += "R" if ring or bar else "."
        rows.append(row)
    return rows


def write_png(path, width, height, pixels, alpha):
    """pixels: rows of (r, g, b) or (r, g, b, a) tuples."""
    raw = b"".join(b"\0" + b"".join(bytes(p) for p in row) for row in pixels)
    colour_type = 6 if alpha else 2

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", width, height, 8, colour_type, 0, 0, 0)
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
                  + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def write_glyph(name, rows):
    rows = [r for r in rows if r] if isinstance(rows, list) else rows.split()
    assert len(rows) == 16 and all(len(r) == 16 for r in rows), name
    assert rows[15][0] == ".", name
    write_png(os.path.join(HERE, name), 16, 16,
              [[PALETTE[c] for c in row] for row in rows], alpha=False)


def icon_colour(u, v):
    """The icon at unit coordinates (0..1): a blue tile, a disc and a green arrow."""
    # Rounded tile.
    r = 0.18
    cx, cy = min(max(u, r), 1 - r), min(max(v, r), 1 - r)
    if math.hypot(u - cx, v - cy) > r or not (0.02 <= u <= 0.98 and 0.02 <= v <= 0.98):
        return (0, 0, 0, 0)
    tile = (int(40 + 60 * (1 - v)), int(90 + 70 * (1 - v)), 200, 255)
    # Disc with a hole.
    d = math.hypot(u - 0.42, v - 0.42)
    if d <= 0.07:
        return tile
    if d <= 0.30:
        shade = int(215 + 40 * (0.42 - u))
        return (shade, shade, min(255, shade + 20), 255)
    # Arrow pointing down, lower right.
    if 0.66 <= u <= 0.80 and 0.50 <= v <= 0.74:
        return (40, 180, 60, 255)
    if 0.74 <= v <= 0.92 and abs(u - 0.73) <= (0.92 - v) * 0.9:
        return (40, 180, 60, 255)
    return tile


def write_icon(size):
    samples = 4
    pixels = []
    for y in range(size):
        row = []
        for x in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(samples):
                for sx in range(samples):
                    c = icon_colour((x + (sx + 0.5) / samples) / size,
                                    (y + (sy + 0.5) / samples) / size)
                    for i in range(3):
                        acc[i] += c[i] * c[3]
                    acc[3] += c[3]
            a = acc[3] / (samples * samples)
            rgb = [int(acc[i] / acc[3]) if acc[3] else 0 for i in range(3)]
            row.append((*rgb, int(a)))
        pixels.append(row)
    write_png(os.path.join(HERE, f"icon_{size}.png"), size, size, pixels, alpha=True)


if __name__ == "__main__":
    write_glyph("glyph_book.png", BOOK)
    write_glyph("glyph_computer.png", COMPUTER)
    write_glyph("glyph_floppy.png", FLOPPY)
    write_glyph("glyph_power.png", power_symbol())
    for size in (16, 24, 32, 48, 128):
        write_icon(size)
