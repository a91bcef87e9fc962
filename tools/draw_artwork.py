#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Draws Quillon's own artwork: a cartridge with a quill across it.

Writes, next to the program's resources:
  quillon.ico            16, 32 and 48 pixels, each in 16 and in 256 colours
  icons/quillon-N.png    RGBA sizes for desktop menus
  logo.gif               165 x 75 GIF89a, eight colours, palette entry 1 (black) transparent

Pure Python (zlib and struct only), so the pictures can be redrawn on any machine.
"""
import os
import struct
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "resources")

BODY = (43, 47, 54)
RIDGE = (74, 80, 90)
LABEL = (242, 232, 207)
ACCENT = (30, 99, 181)
QUILL = (255, 255, 255)
SHADE = (185, 194, 204)
NIB = (224, 165, 38)


# --- shapes, in a unit square, tested at a point -------------------------------------------

def in_round_rect(x, y, x0, y0, x1, y1, r):
    if not (x0 <= x <= x1 and y0 <= y <= y1):
        return False
    cx = min(max(x, x0 + r), x1 - r)
    cy = min(max(y, y0 + r), y1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def in_polygon(x, y, points):
    inside = False
    for i, (ax, ay) in enumerate(points):
        bx, by = points[i - 1]
        if (ay > y) != (by > y) and x < (bx - ax) * (y - ay) / (by - ay) + ax:
            inside = not inside
    return inside


# The quill: a feather from top right down to a nib at the lower left.
FEATHER = [(0.96, 0.04), (0.78, 0.10), (0.52, 0.40), (0.40, 0.62), (0.46, 0.60),
           (0.62, 0.46), (0.86, 0.22)]
VANE_SHADE = [(0.96, 0.04), (0.62, 0.46), (0.46, 0.60), (0.58, 0.42), (0.90, 0.10)]
NIB_SHAPE = [(0.40, 0.62), (0.46, 0.60), (0.30, 0.84), (0.28, 0.86)]


def icon_colour(x, y):
    """Colour at (x, y) of the square icon, or None where it is transparent."""
    for shape, colour in ((NIB_SHAPE, NIB), (VANE_SHADE, SHADE), (FEATHER, QUILL)):
        if in_polygon(x, y, shape):
            return colour
    if in_round_rect(x, y, 0.22, 0.30, 0.78, 0.70, 0.03):
        return LABEL if 0.30 < y < 0.62 else ACCENT
    if in_round_rect(x, y, 0.10, 0.12, 0.90, 0.95, 0.08):
        ridge = y > 0.76 and int(y * 40) % 2 == 0 and 0.16 < x < 0.84
        return RIDGE if ridge else BODY
    return None


# --- rendering -------------------------------------------------------------------------------

def render_rgba(size, colour_at, samples=4):
    """Supersampled RGBA rows of a square picture."""
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = hits = 0
            for sy in range(samples):
                for sx in range(samples):
                    c = colour_at((px + (sx + 0.5) / samples) / size,
                                  (py + (sy + 0.5) / samples) / size)
                    if c:
                        r, g, b, hits = r + c[0], g + c[1], b + c[2], hits + 1
            n = samples * samples
            row.append((r // hits, g // hits, b // hits, 255 * hits // n) if hits else (0, 0, 0, 0))
        rows.append(row)
    return rows


def nearest(colour, palette):
    return min(range(len(palette)),
               key=lambda i: sum((a - b) ** 2 for a, b in zip(colour, palette[i])))


VGA16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
         (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
         (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
# Our own colours first, then a 6x6x6 cube and greys for the anti-aliased edges.
WIDE256 = ([BODY, RIDGE, LABEL, ACCENT, QUILL, SHADE, NIB]
           + [(r * 51, g * 51, b * 51) for r in range(6) for g in range(6) for b in range(6)])
WIDE256 += [(v, v, v) for v in range(4, 256, 7)][: 256 - len(WIDE256)]


def ico_entry(rows, palette, bits):
    """One BMP-format icon image with a palette and an AND mask."""
    size = len(rows)
    colours = len(palette)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, 0, 0, 0, colours, 0)
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    xor = b""
    mask = b""
    for row in reversed(rows):  # bitmaps run bottom-up
        indexes = [nearest(p[:3], palette) if p[3] >= 128 else 0 for p in row]
        if bits == 4:
            line = bytes((indexes[i] << 4) | indexes[i + 1] for i in range(0, size, 2))
        else:
            line = bytes(indexes)
        xor += line + b"\0" * (-len(line) % 4)
        maskbits = "".join("1" if p[3] < 128 else "0" for p in row)
        mline = int(maskbits, 2).to_bytes(size // 8, "big")
        mask += mline + b"\0" * (-len(mline) % 4)
    return header + table + xor + mask


def write_ico(path, sizes):
    entries = []
    for size in sizes:
        rows = render_rgba(size, icon_colour)
        for palette, bits in ((VGA16, 4), (WIDE256, 8)):
            entries.append((size, len(palette), bits, ico_entry(rows, palette, bits)))
    out = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    for size, colours, bits, data in entries:
        out += struct.pack("<BBBBHHII", size, size, colours % 256, 0, 1, bits, len(data), offset)
        offset += len(data)
    out += b"".join(e[3] for e in entries)
    with open(path, "wb") as f:
        f.write(out)


def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def write_png(path, rows):
    size = len(rows)
    raw = b"".join(b"\0" + bytes(v for p in row for v in p) for row in rows)
    data = (b"\x89PNG\r\n\x1a\n"
            + png_chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + png_chunk(b"IDAT", zlib.compress(raw, 9))
            + png_chunk(b"IEND", b""))
    with open(path, "wb") as f:
        f.write(data)


# --- the logo picture ----------------------------------------------------------------------

GIF_PALETTE = [BODY, (0, 0, 0), RIDGE, LABEL, ACCENT, QUILL, SHADE, NIB]
TRANSPARENT = 1

# A 5 x 7 pixel face for the one word the picture spells.
LETTERS = {
    "Q": ["01110", "10001", "10001", "10001", "10101", "10010", "01101"],
    "U": ["10001", "10001", "10001", "10001", "10001", "10001", "01110"],
    "I": ["01110", "00100", "00100", "00100", "00100", "00100", "01110"],
    "L": ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    "O": ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    "N": ["10001", "11001", "10101", "10011", "10001", "10001", "10001"],
}


def logo_pixels(width=165, height=75):
    pixels = [[TRANSPARENT] * width for _ in range(height)]

    def fill(test, index):
        for y in range(height):
            for x in range(width):
                if test(x + 0.5, y + 0.5):
                    pixels[y][x] = index

    # Cartridge body with grip ridges, then its label.
    fill(lambda x, y: in_round_rect(x, y, 4, 6, 140, 72, 6), 0)
    fill(lambda x, y: y > 60 and int(y) % 3 == 0 and 12 < x < 132 and
         in_round_rect(x, y, 4, 6, 140, 72, 6), 2)
    fill(lambda x, y: in_round_rect(x, y, 14, 12, 130, 56, 3), 3)
    fill(lambda x, y: 14 < x < 130 and 47 < y < 56, 4)

    # The word on the label, two pixels per dot.
    word, scale = "QUILLON", 2
    left = 72 - (len(word) * 6 * scale - scale) // 2
    for n, letter in enumerate(word):
        for row, bits in enumerate(LETTERS[letter]):
            for col, bit in enumerate(bits):
                if bit == "1":
                    for dy in range(scale):
                        for dx in range(scale):
                            pixels[22 + row * scale + dy][left + (n * 6 + col) * scale + dx] = 4

    # The quill, from the top right down across the label's corner.
    def scaled(points):
        return [(96 + px * 68, py * 75) for px, py in points]

    for shape, index in ((FEATHER, 5), (VANE_SHADE, 6), (NIB_SHAPE, 7)):
        polygon = scaled(shape)
        fill(lambda x, y, polygon=polygon: in_polygon(x, y, polygon), index)
    return pixels


def lzw_encode(indexes, min_code_size):
    clear, end = 1 << min_code_size, (1 << min_code_size) + 1
    table = {(i,): i for i in range(clear)}
    code_size, next_code = min_code_size + 1, end + 1
    out, bits, nbits = bytearray(), 0, 0

    def emit(code):
        nonlocal bits, nbits
        bits |= code << nbits
        nbits += code_size
        while nbits >= 8:
            out.append(bits & 0xFF)
            bits >>= 8
            nbits -= 8

    emit(clear)
    current = ()
    for index in indexes:
        candidate = current + (index,)
        if candidate in table:
            current = candidate
            continue
        emit(table[current])
        if next_code < 4096:
            table[candidate] = next_code
            next_code += 1
            if next_code > (1 << code_size) and code_size < 12:
                code_size += 1
        else:
            emit(clear)
            table = {(i,): i for i in range(clear)}
            code_size, next_code = min_code_size + 1, end + 1
        current = (index,)
    emit(table[current])
    emit(end)
    if nbits:
        out.append(bits & 0xFF)
    return bytes(out)


def write_gif(path, pixels):
    height, width = len(pixels), len(pixels[0])
    data = b"GIF89a" + struct.pack("<HHBBB", width, height, 0xF2, 0, 0)
    data += b"".join(bytes(c) for c in GIF_PALETTE)
    data += b"\x21\xF9\x04" + struct.pack("<BHB", 0x01, 0, TRANSPARENT) + b"\0"
    data += b"\x2C" + struct.pack("<HHHHB", 0, 0, width, height, 0)
    stream = lzw_encode([i for row in pixels for i in row], 3)
    data += b"\x03" + b"".join(bytes([len(stream[i:i + 255])]) + stream[i:i + 255]
                               for i in range(0, len(stream), 255)) + b"\0"
    data += b"\x3B"
    with open(path, "wb") as f:
        f.write(data)


def main():
    write_ico(os.path.join(OUT, "quillon.ico"), (16, 32, 48))
    for size in (16, 32, 48, 64, 128, 256):
        write_png(os.path.join(OUT, "icons", f"quillon-{size}.png"), render_rgba(size, icon_colour))
    write_gif(os.path.join(OUT, "logo.gif"), logo_pixels())
    return 0


if __name__ == "__main__":
    sys.exit(main())
