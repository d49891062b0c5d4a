#!/usr/bin/env python3
"""Turns the text picture of an icon (monitor_icon.txt) into a 32 x 32, 16-colour .ico."""
import struct
import sys

# The standard 16-colour palette, as (red, green, blue).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
SIZE = 32


def read_picture(path):
    rows = [line.rstrip("\n") for line in open(path, encoding="ascii")
            if not line.startswith("#")]
    if len(rows) != SIZE or any(len(r) != SIZE for r in rows):
        sys.exit(f"{path}: need {SIZE} rows of {SIZE} characters")
    bad = {c for r in rows for c in r} - set("0123456789ABCDEF.")
    if bad:
        sys.exit(f"{path}: unknown pixel characters {sorted(bad)}")
    return rows


def encode(rows):
    xor_rows, and_rows = [], []
    for row in reversed(rows):  # DIBs are stored bottom-up
        indexes = [0 if c == "." else int(c, 16) for c in row]
        xor_rows.append(bytes((indexes[i] << 4) | indexes[i + 1] for i in range(0, SIZE, 2)))
        mask = 0
        for c in row:
            mask = (mask << 1) | (c == ".")
        and_rows.append(mask.to_bytes(SIZE // 8, "big"))
    xor, and_mask = b"".join(xor_rows), b"".join(and_rows)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0,
                         len(xor) + len(and_mask), 0, 0, 16, 0)
    palette = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in PALETTE)
    image = header + palette + xor + and_mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: make_icon.py picture.txt out.ico")
    with open(sys.argv[2], "wb") as out:
        out.write(encode(read_picture(sys.argv[1])))


if __name__ == "__main__":
    main()
