#!/usr/bin/env python3
"""Turns the window's artwork (mainwindow/art) into what a Windows resource script takes.

Usage: make_resources.py <art folder> <output folder>
Writes launcher.ico (16, 24, 32, 48 and 128 pixels, each in 16 colours, 256 colours and
32-bit colour with alpha) and the four button glyphs as 16-pixel icons in 24-bit colour whose
mask leaves out every pixel of the glyph's bottom-left colour, as the artwork means it.
"""
import os
import struct
import sys
import zlib

ICON_SIZES = (16, 24, 32, 48, 128)
GLYPHS = ("glyph_book", "glyph_computer", "glyph_floppy", "glyph_power")


def read_png(path):
    """Rows of (r, g, b, a) from an 8-bit RGB or RGBA PNG without interlacing."""
    with open(path, "rb") as source:
        data = source.read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", path
    offset, idat = 8, b""
    while offset < len(data):
        length, kind = struct.unpack(">I4s", data[offset:offset + 8])
        body = data[offset + 8:offset + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
            assert depth == 8 and colour in (2, 6) and interlace == 0, path
        elif kind == b"IDAT":
            idat += body
        offset += 12 + length
    channels = 4 if colour == 6 else 3
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, previous = [], bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        kind, line = raw[start], bytearray(raw[start + 1:start + 1 + stride])
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up = previous[i]
            corner = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + left) & 255
            elif kind == 2:
                line[i] = (line[i] + up) & 255
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                predictor = left if pa <= pb and pa <= pc else up if pb <= pc else corner
                line[i] = (line[i] + predictor) & 255
        rows.append([tuple(line[x * channels:(x + 1) * channels]) + ((255,) if channels == 3 else ())
                     for x in range(width)])
        previous = line
    return rows


def padded(row_bytes):
    return row_bytes + b"\0" * (-len(row_bytes) % 4)


def vga_palette():
    levels = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
              (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
              (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
    return levels


def cube_palette():
    cube = [(r * 51, g * 51, b * 51) for r in range(6) for g in range(6) for b in range(6)]
    greys = [(v, v, v) for v in range(8, 248, 6)][:40]
    return cube + greys


def nearest(palette, colour):
    r, g, b = colour[:3]
    return min(range(len(palette)),
               key=lambda i: (palette[i][0] - r) ** 2 + (palette[i][1] - g) ** 2
               + (palette[i][2] - b) ** 2)


def icon_image(rows, bits):
    """One icon image: a BITMAPINFOHEADER, palette, colour rows and the AND mask, bottom up.
    Pixels with alpha below 128 are left out; in 24-bit colour they are black, so that they
    leave the background as it is."""
    size = len(rows)
    mask = b"".join(padded(bytes(
        sum((1 << (7 - bit)) for bit in range(8)
            if x + bit < size and rows[y][x + bit][3] < 128)
        for x in range(0, size, 8))) for y in reversed(range(size)))
    if bits == 32:
        palette = b""
        colour = b"".join(bytes((p[2], p[1], p[0], p[3])) for y in reversed(range(size))
                          for p in rows[y])
    elif bits == 24:
        palette = b""
        colour = b"".join(padded(b"".join(bytes((p[2], p[1], p[0]) if p[3] >= 128 else (0, 0, 0))
                                          for p in rows[y])) for y in reversed(range(size)))
    else:
        table = vga_palette() if bits == 4 else cube_palette()
        table = table + [(0, 0, 0)] * ((1 << bits) - len(table))
        palette = b"".join(bytes((b, g, r, 0)) for r, g, b in table)
        lines = []
        for y in reversed(range(size)):
            indexes = [nearest(table, p) if p[3] >= 128 else 0 for p in rows[y]]
            if bits == 4:
                indexes += [0] * (len(indexes) % 2)
                line = bytes((indexes[i] << 4) | indexes[i + 1] for i in range(0, len(indexes), 2))
            else:
                line = bytes(indexes)
            lines.append(padded(line))
        colour = b"".join(lines)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0,
                         len(colour) + len(mask), 0, 0, 1 << bits if bits < 24 else 0, 0)
    return header + palette + colour + mask


def write_icon(path, images):
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, bodies = b"", b""
    for size, bits, body in images:
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 16 if bits == 4 else 0, 0,
                               1, bits, len(body), offset + len(bodies))
        bodies += body
    with open(path, "wb") as out:
        out.write(directory + entries + bodies)


def without_background(rows):
    """The glyph with every pixel of its bottom-left colour made transparent."""
    background = rows[-1][0][:3]
    return [[p[:3] + (0 if p[:3] == background else p[3],) for p in row] for row in rows]


def main(art, output):
    os.makedirs(output, exist_ok=True)
    images = []
    for size in ICON_SIZES:
        rows = read_png(os.path.join(art, "icon_%d.png" % size))
        for bits in (4, 8, 32):
            images.append((size, bits, icon_image(rows, bits)))
    write_icon(os.path.join(output, "launcher.ico"), images)
    for glyph in GLYPHS:
        rows = without_background(read_png(os.path.join(art, glyph + ".png")))
        write_icon(os.path.join(output, glyph + ".ico"), [(len(rows), 24, icon_image(rows, 24))])


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
