#!/usr/bin/env python3
"""Draws the installer's application icon and writes it as a Windows .ico file.

One image, 32 x 32 pixels, 16 colours (4 bits a pixel, the standard VGA
palette) with a transparency mask: a loudspeaker in front of a sound chip,
with three sound waves. The output is byte-for-byte the same on every run, so
the checked-in src/resources/setup.ico can be rebuilt and compared.

    tools/make_icon.py [output.ico]
"""
import math
import struct
import sys

SIZE = 32

# The 16 colours Windows uses for 4-bit icons, as (red, green, blue).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, DARK_GREEN, DARK_BLUE, DARK_CYAN, GREY, DARK_GREY = 0, 2, 4, 6, 7, 8
YELLOW, BLUE, CYAN, WHITE = 11, 12, 14, 15


def draw():
    """The picture as rows of palette indexes, top row first; None is transparent."""
    pixels = [[None] * SIZE for _ in range(SIZE)]

    def put(x, y, colour):
        if 0 <= x < SIZE and 0 <= y < SIZE:
            pixels[y][x] = colour

    # The sound chip behind: a dark green board with gold pins, lower left.
    for y in range(19, 30):
        for x in range(2, 15):
            put(x, y, DARK_GREEN)
    for x in range(3, 15, 2):
        put(x, 18, YELLOW)
        put(x, 30, YELLOW)
    for y in range(21, 29):
        for x in range(5, 12):
            put(x, y, BLACK)

    # The loudspeaker: a magnet block and a cone widening to the right.
    for y in range(10, 18):
        for x in range(4, 9):
            put(x, y, DARK_GREY)
    for x in range(9, 17):
        half = 4 + (x - 9)  # the cone's half height grows by one a column
        for y in range(14 - half, 14 + half):
            edge = y in (14 - half, 14 + half - 1) or x == 16
            put(x, y, BLACK if edge else GREY)
    for y in range(10, 18):
        put(4, y, BLACK)
        put(8, y, BLACK)
    for x in range(4, 9):
        put(x, 10, BLACK)
        put(x, 17, BLACK)
    for y in range(11, 17):
        put(9, y, WHITE)

    # Three sound waves: arcs about the speaker's mouth.
    centre_x, centre_y = 12, 14
    for radius, colour in ((8, CYAN), (11, BLUE), (14, DARK_BLUE)):
        for step in range(0, 720):
            angle = math.radians(-50 + step * 100 / 720)
            for thickness in (0.0, 0.6):
                x = round(centre_x + (radius + thickness) * math.cos(angle))
                y = round(centre_y + (radius + thickness) * math.sin(angle))
                if x > 16:
                    put(x, y, colour)
    return pixels


def ico_bytes(pixels):
    # Colour bitmap, bottom row first, two pixels a byte (high nibble first);
    # transparent pixels are black in it and set in the mask.
    xor_rows = []
    and_rows = []
    for row in reversed(pixels):
        colour = bytearray()
        for x in range(0, SIZE, 2):
            left = row[x] if row[x] is not None else 0
            right = row[x + 1] if row[x + 1] is not None else 0
            colour.append(left << 4 | right)
        xor_rows.append(bytes(colour))
        mask = bytearray(SIZE // 8)
        for x, value in enumerate(row):
            if value is None:
                mask[x // 8] |= 0x80 >> (x % 8)
        and_rows.append(bytes(mask))  # 4 bytes a row: already DWORD-aligned
    xor_bitmap = b"".join(xor_rows)
    and_mask = b"".join(and_rows)

    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    # In an icon the header's height covers the colour bitmap and the mask.
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0,
                         len(xor_bitmap) + len(and_mask), 0, 0, 16, 0)
    image = header + colours + xor_bitmap + and_mask

    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


def main():
    output = sys.argv[1] if len(sys.argv) > 1 else "src/resources/setup.ico"
    with open(output, "wb") as file:
        file.write(ico_bytes(draw()))


if __name__ == "__main__":
    main()
