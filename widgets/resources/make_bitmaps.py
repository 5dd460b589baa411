#!/usr/bin/env python3
"""Draws the widgets' bitmaps and cursor as PNG files in this folder.

Run it again after changing a picture below; the PNGs are kept in git so the
build needs no Python.
"""
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

OLIVE = (128, 128, 0)
BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
GREY = (128, 128, 128)
SILVER = (192, 192, 192)


def write_png(name, rows, alpha=False):
    height = len(rows)
    width = len(rows[0])
    channels = 4 if alpha else 3
    raw = bytearray()
    for row in rows:
        assert len(row) == width, name
        raw.append(0)
        for px in row:
            raw.extend(px[:channels])

    def chunk(tag, data):
        body = tag + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    ihdr = struct.pack(">IIBBBBB", width, height, 8, 6 if alpha else 2, 0, 0, 0)
    data = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b"")
    with open(os.path.join(HERE, name + ".png"), "wb") as f:
        f.write(data)


def from_art(art, palette):
    return [[palette[c] for c in line] for line in art]


# Arrows: black triangles 7, 5, 3 and 1 pixels wide on olive, which the
# buttons treat as transparent.
ARROW_PALETTE = {".": OLIVE, "#": BLACK}
SPIN_UP = [
    ".........",
    "....#....",
    "...###...",
    "..#####..",
    ".#######.",
    ".........",
]

# Thumbs: "." is transparent (black in the picture, white in the mask);
# W, G and S are the white, grey and silver of a raised button.
THUMB_PALETTE = {".": BLACK, "W": WHITE, "G": GREY, "S": SILVER}
MASK_PALETTE = {".": WHITE, "W": BLACK, "G": BLACK, "S": BLACK}
THUMBS = {
    "Bar1": [
        ".WWW.",
        "WWSSG",
        "WSSSG",
        "WSSSG",
        "WSSSG",
        "WSSSG",
        "WSSSG",
        "WSSSG",
        "WSSGG",
        ".GGG.",
    ],
    "Circle1": [
        "..WWWW..",
        ".WWSSSG.",
        "WWSSSSSG",
        "WSSSSSSG",
        "WSSSSSSG",
        "WSSSSSGG",
        ".GSSSGG.",
        "..GGGG..",
    ],
    "Square1": [
        "WWWWWWWG",
        "WSSSSSSG",
        "WSSSSSSG",
        "WSSSSSSG",
        "WSSSSSSG",
        "WSSSSSSG",
        "WSSSSSSG",
        "WGGGGGGG",
    ],
    "Diamond1": [
        "...WW...",
        "..WSSG..",
        ".WSSSSG.",
        "WSSSSSSG",
        "WSSSSSSG",
        ".GSSSSG.",
        "..GSSG..",
        "...GG...",
    ],
}

# Pointing hand, 32 x 32; the hot spot (5, 0) is the tip of the finger.
HAND = [
    "     ##      ",
    "    #..#     ",
    "    #..#     ",
    "    #..#     ",
    "    #..###   ",
    "    #..#..## ",
    "    #..#..#.#",
    " ## #..#..#.#",
    "#..##.......#",
    "#...#.......#",
    " #..........#",
    "  #.........#",
    "  #.........#",
    "   #.......# ",
    "   #.......# ",
    "    #.....#  ",
    "    #######  ",
]
CURSOR_PALETTE = {" ": (0, 0, 0, 0), "#": (0, 0, 0, 255), ".": (255, 255, 255, 255)}


def main():
    write_png("SpinUp", from_art(SPIN_UP, ARROW_PALETTE))
    write_png("SpinDown", from_art(list(reversed(SPIN_UP)), ARROW_PALETTE))
    for name, art in THUMBS.items():
        write_png(name, from_art(art, THUMB_PALETTE))
        write_png(name + "Mask", from_art(art, MASK_PALETTE))
    hand = [line.ljust(32) for line in HAND] + [" " * 32] * (32 - len(HAND))
    write_png("HandPointer", from_art(hand, CURSOR_PALETTE), alpha=True)


if __name__ == "__main__":
    main()
