#!/usr/bin/env python3
"""Writes Quillon's icon, cursor and toolbar bitmaps from the pixel drawings
below, so that every image in the program is ours and can be redrawn by
editing text. Run it from anywhere; the files land beside this script:

    GRIDICON.ico     crossword grid, 16 and 32 pixels, 32-bit colour + mask
    pointing.cur     32 x 32 monochrome pointing hand, hot spot on the fingertip
    tb*.bmp          16-colour print-preview toolbar buttons

Formats, briefly: an .ico/.cur file is a 6-byte directory header (reserved,
type 1 = icon / 2 = cursor, count) followed by 16-byte entries (width, height,
colour count, reserved, planes or hot-spot x, bit count or hot-spot y, byte
size, offset) and then one DIB per entry: a BITMAPINFOHEADER whose height is
doubled (colour image on top of the 1-bit AND mask), the palette if any, the
colour rows bottom-up, then the mask rows bottom-up, each row padded to 4 bytes.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def row_bytes(bits_per_pixel, width):
    return ((bits_per_pixel * width + 31) // 32) * 4


def pack_bits(values, bits, width):
    """Packs one row of small integers (1 or 4 bits each), padded to 4 bytes."""
    out = bytearray(row_bytes(bits, width))
    per_byte = 8 // bits
    for x, v in enumerate(values):
        shift = 8 - bits * (x % per_byte + 1)
        out[x // per_byte] |= (v & ((1 << bits) - 1)) << shift
    return bytes(out)


def info_header(width, height, bits, colours_used=0, image_size=0):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, image_size, 0, 0,
                       colours_used, 0)


# ---------------------------------------------------------------- the icon
# A 5 x 5 crossword grid: '#' black squares, '.' white squares, 'A' squares of
# the answer being solved (drawn in the program's blue).
GRID = [
    "..#..",
    ".#.#.",
    "AAAAA",
    ".#.#.",
    "..#..",
]
INK = (32, 32, 40)
PAPER = (255, 255, 255)
ANSWER = (120, 160, 235)
BLACK_SQUARE = (24, 24, 30)


def grid_pixels(size):
    """RGBA rows, top first: grid lines one pixel wide, cells between them."""
    cells = len(GRID)
    cell = (size - 1) // cells  # 3 for 16 px, 6 for 32 px
    extent = cell * cells + 1
    offset = (size - extent) // 2
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            gx, gy = x - offset, y - offset
            if not (0 <= gx < extent and 0 <= gy < extent):
                row.append((0, 0, 0, 0))
            elif gx % cell == 0 or gy % cell == 0:
                row.append(INK + (255,))
            else:
                kind = GRID[gy // cell][gx // cell]
                colour = {"#": BLACK_SQUARE, ".": PAPER, "A": ANSWER}[kind]
                row.append(colour + (255,))
        rows.append(row)
    return rows


def icon_image(size):
    rows = grid_pixels(size)
    colour = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    mask = b"".join(pack_bits([1 if p[3] == 0 else 0 for p in row], 1, size)
                    for row in reversed(rows))
    return info_header(size, size * 2, 32) + colour + mask


def write_icon(path, sizes):
    images = [icon_image(s) for s in sizes]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for s, img in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s, s, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    for img in images:
        out += img
    with open(path, "wb") as f:
        f.write(out)


# -------------------------------------------------------------- the cursor
# 'X' black, 'o' white, anything else transparent. Hot spot: the fingertip.
HAND = [
    "      XX",
    "     XooX",
    "     XooX",
    "     XooX",
    "     XooX",
    "     XooXXX",
    "     XooXooXXX",
    "     XooXooXooXX",
    "     XooXooXooXoX",
    " XXX XooooooooXoX",
    " XooXXooooooooooX",
    " XoooXooooooooooX",
    "  XooXooooooooooX",
    "   XoXooooooooooX",
    "   XoooooooooooooX",
    "    XooooooooooooX",
    "    XoooooooooooX",
    "     XooooooooooX",
    "     XoooooooooX",
    "      XooooooooX",
    "      XooooooooX",
    "      XXXXXXXXXX",
]
HAND_HOTSPOT = (6, 0)


def write_cursor(path):
    size = 32
    rows = [(line + " " * size)[:size] for line in HAND] + [" " * size] * (size - len(HAND))
    xor_rows = [pack_bits([1 if c == "o" else 0 for c in row], 1, size) for row in rows]
    and_rows = [pack_bits([0 if c in "Xo" else 1 for c in row], 1, size) for row in rows]
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    img = (info_header(size, size * 2, 1, 2) + palette + b"".join(reversed(xor_rows)) +
           b"".join(reversed(and_rows)))
    out = struct.pack("<HHH", 0, 2, 1)
    out += struct.pack("<BBBBHHII", size, size, 2, 0, HAND_HOTSPOT[0], HAND_HOTSPOT[1],
                       len(img), 6 + 16)
    with open(path, "wb") as f:
        f.write(out + img)


# ------------------------------------------------------- toolbar bitmaps
# The 16 standard VGA colours; letters pick them. Button face grey is '-'.
VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
       (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
       (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
KEYS = {"k": 0, "-": 7, "g": 8, "w": 15, "b": 12, "r": 9, "n": 4, "y": 11}

PAGE_ALL = [
    "-------------------",
    "---kkkkkkkkkkk-----",
    "---kwwwwwwwwwkk----",
    "---kwnnnwnnwwkwk---",
    "---kwwwwwwwwwkkkk--",
    "---kwnnwnnnwwwwwk--",
    "---kwwwwwwwwwwwwk--",
    "---kwnnnnwnnnwwwk--",
    "---kwwwwwwwwwwwwk--",
    "---kwnnwnnnnwwwwk--",
    "---kwwwwwwwwwwwwk--",
    "---kwnnnwnnwwwwwk--",
    "---kwwwwwwwwwwwwk--",
    "---kwnnnnnwnnwwwk--",
    "---kwwwwwwwwwwwwk--",
    "---kkkkkkkkkkkkkk--",
    "-------------------",
]
PAGE_SELECTED = [
    "-------------------",
    "---kkkkkkkkkkk-----",
    "---kwwwwwwwwwkk----",
    "---kwgggwggwwkwk---",
    "---kwwwwwwwwwkkkk--",
    "---kbbbbbbbbbbbbk--",
    "---kbwwbwwwbbbbbk--",
    "---kbbbbbbbbbbbbk--",
    "---kwwwwwwwwwwwwk--",
    "---kwggwggggwwwwk--",
    "---kwwwwwwwwwwwwk--",
    "---kbbbbbbbbbbbbk--",
    "---kbwwwbwwbbbbbk--",
    "---kbbbbbbbbbbbbk--",
    "---kwwwwwwwwwwwwk--",
    "---kkkkkkkkkkkkkk--",
    "-------------------",
]
ARROW_LEFT = [
    "-------------------",
    "-------------------",
    "-------------------",
    "----------k--------",
    "---------kk--------",
    "--------kbk--------",
    "-------kbbkkkkkk---",
    "------kbbbbbbbbk---",
    "-----kbbbbbbbbbk---",
    "------kbbbbbbbbk---",
    "-------kbbkkkkkk---",
    "--------kbk--------",
    "---------kk--------",
    "----------k--------",
    "-------------------",
    "-------------------",
    "-------------------",
]
ARROW_RIGHT = [row[::-1] for row in ARROW_LEFT]
PRINTER = [
    "---------------------",
    "---------------------",
    "------kkkkkkkkk------",
    "------kwwwwwwwk------",
    "------kwnnnnnwk------",
    "------kwwwwwwwk------",
    "------kwnnnnwwk------",
    "---kkkkkkkkkkkkkkk---",
    "--kgggggggggggggggk--",
    "--kwwwwwwwwwwwwwwwk--",
    "--kwwwwwwwwwwwwwgwk--",
    "--kwwwwwwwwwwwwwwwk--",
    "--kgggggggggggggggk--",
    "--kgkkkkkkkkkkkkkgk--",
    "--kgkwwwwwwwwwwwkgk--",
    "--kkkwnnnnnnnnnwkkk--",
    "----kwwwwwwwwwwwk----",
    "----kwnnnnnnwwwwk----",
    "----kwwwwwwwwwwwk----",
    "----kkkkkkkkkkkkk----",
    "---------------------",
]


def write_bitmap(path, drawing):
    height, width = len(drawing), len(drawing[0])
    assert all(len(r) == width for r in drawing), path
    pixels = b"".join(pack_bits([KEYS[c] for c in row], 4, width) for row in reversed(drawing))
    palette = b"".join(bytes((b, g, r, 0)) for (r, g, b) in VGA)
    header = info_header(width, height, 4, 16, len(pixels))
    offset = 14 + len(header) + len(palette)
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset))
        f.write(header + palette + pixels)


def main():
    write_icon(os.path.join(HERE, "GRIDICON.ico"), [16, 32])
    write_cursor(os.path.join(HERE, "pointing.cur"))
    write_bitmap(os.path.join(HERE, "tb_all.bmp"), PAGE_ALL)
    write_bitmap(os.path.join(HERE, "tb_selected.bmp"), PAGE_SELECTED)
    write_bitmap(os.path.join(HERE, "tb_previous.bmp"), ARROW_LEFT)
    write_bitmap(os.path.join(HERE, "tb_next.bmp"), ARROW_RIGHT)
    write_bitmap(os.path.join(HERE, "tb_printpage.bmp"), PRINTER)


if __name__ == "__main__":
    main()
