#!/usr/bin/env python3
# Turns a text pixel map (resources/icon.txt) into a 32 x 32, 16-colour .ico with a transparency mask.
import struct
import sys

SIZE = 32
# The standard 16-colour palette, in palette order, with the letter that stands for each colour.
PALETTE = [
    ("K", (0x00, 0x00, 0x00)), ("r", (0x80, 0x00, 0x00)), ("g", (0x00, 0x80, 0x00)), ("y", (0x80, 0x80, 0x00)),
    ("b", (0x00, 0x00, 0x80)), ("p", (0x80, 0x00, 0x80)), ("t", (0x00, 0x80, 0x80)), ("S", (0xC0, 0xC0, 0xC0)),
    ("G", (0x80, 0x80, 0x80)), ("R", (0xFF, 0x00, 0x00)), ("L", (0x00, 0xFF, 0x00)), ("Y", (0xFF, 0xFF, 0x00)),
    ("B", (0x00, 0x00, 0xFF)), ("F", (0xFF, 0x00, 0xFF)), ("A", (0x00, 0xFF, 0xFF)), ("W", (0xFF, 0xFF, 0xFF)),
]
TRANSPARENT = "."


def read_pixels(path):
    with open(path, encoding="ascii") as source:
        rows = [line.rstrip("\n") for line in source if not line.startswith("#")]
    if len(rows) != SIZE or any(len(row) != SIZE for row in rows):
        sys.exit(f"{path}: expected {SIZE} rows of {SIZE} pixels")
    letters = {letter for letter, _ in PALETTE} | {TRANSPARENT}
    for number, row in enumerate(rows, 1):
        for pixel in row:
            if pixel not in letters:
                sys.exit(f"{path}: unknown pixel '{pixel}' in row {number}")
    return rows


def icon_bytes(rows):
    index = {letter: i for i, (letter, _) in enumerate(PALETTE)}
    colours = b"".join(bytes((blue, green, red, 0)) for _, (red, green, blue) in PALETTE)
    image = bytearray()  # 4 bits per pixel, bottom row first; transparent pixels are black
    mask = bytearray()  # 1 bit per pixel, set where transparent; rows of 4 bytes
    for row in reversed(rows):
        for x in range(0, SIZE, 2):
            left, right = (index.get(row[x + i], 0) for i in range(2))
            image.append(left << 4 | right)
        bits = 0
        for pixel in row:
            bits = bits << 1 | (pixel == TRANSPARENT)
        mask += bits.to_bytes(SIZE // 8, "big")
    # BITMAPINFOHEADER: the height counts the image and the mask together.
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 4, 0, len(image) + len(mask), 0, 0, 16, 0)
    resource = header + colours + bytes(image) + bytes(mask)
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(resource), 6 + 16)
    return directory + entry + resource


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: make_icon.py icon.txt output.ico")
    data = icon_bytes(read_pixels(sys.argv[1]))
    with open(sys.argv[2], "wb") as output:
        output.write(data)


if __name__ == "__main__":
    main()
