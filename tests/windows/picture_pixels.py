#!/usr/bin/env python3
"""The pixels of the pictures the programs write, decoded here, apart from
either program's decoder: 24-bit BMP and 8-bit RGB PNG (any row filter, not
interlaced).

picture_pixels.py <picture>...: exits 0 when every picture has the size and
the pixels of the first, else 1 naming the first that differs.
"""
import struct
import sys
import zlib


def bmp_pixels(path):
    """(width, height, red-green-blue bytes from the top row down) of a 24-bit BMP."""
    data = open(path, "rb").read()
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height = struct.unpack_from("<ii", data, 18)
    rows = range(height - 1, -1, -1) if height > 0 else range(-height)
    height = abs(height)
    stride = (width * 3 + 3) // 4 * 4
    pixels = bytearray()
    for y in rows:
        line = data[offset + y * stride:offset + y * stride + width * 3]
        for x in range(0, len(line), 3):
            pixels += line[x:x + 3][::-1]
    return width, height, bytes(pixels)


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    return a if pa <= pb and pa <= pc else b if pb <= pc else c


def png_pixels(path):
    """(width, height, red-green-blue bytes from the top row down) of an 8-bit RGB PNG."""
    data = open(path, "rb").read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", path + ": not a PNG"
    at, stream = 8, b""
    while at < len(data):
        size, kind = struct.unpack_from(">I4s", data, at)
        body = data[at + 8:at + 8 + size]
        assert struct.unpack_from(">I", data, at + 8 + size)[0] == zlib.crc32(kind + body), path + ": bad CRC"
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
            assert (depth, colour, interlace) == (8, 2, 0), path + ": not 8-bit RGB"
        elif kind == b"IDAT":
            stream += body
        at += 12 + size
    raw = zlib.decompress(stream)
    row_bytes = 3 * width
    above = bytearray(row_bytes)
    pixels = bytearray()
    for y in range(height):
        start = y * (row_bytes + 1)
        kind, line = raw[start], bytearray(raw[start + 1:start + 1 + row_bytes])
        for i in range(row_bytes):
            left = line[i - 3] if i >= 3 else 0
            upper_left = above[i - 3] if i >= 3 else 0
            guess = (0, left, above[i], (left + above[i]) // 2, paeth(left, above[i], upper_left))[kind]
            line[i] = (line[i] + guess) & 255
        pixels += line
        above = line
    return width, height, bytes(pixels)


def pixels(path):
    with open(path, "rb") as file:
        return bmp_pixels(path) if file.read(2) == b"BM" else png_pixels(path)


def main():
    first = pixels(sys.argv[1])
    for path in sys.argv[2:]:
        if pixels(path) != first:
            print(path + " differs from " + sys.argv[1])
            return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
