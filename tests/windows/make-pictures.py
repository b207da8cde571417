#!/usr/bin/env python3
"""Pictures for the Windows CLI tests, made fresh each run.

make-pictures.py <carrier.bmp> <folder>: writes into <folder> carrier.png, the
24-bit carrier's pixels as a PNG, and BMPs of the other layouts the programs
read (palettes of 1, 4 and 8 bits, 16-bit 5-5-5 and 5-6-5, 32-bit, top-down),
each 160 x 120 pixels of random values; and broken BMPs: cut.bmp (pixel data
cut short), huge.bmp (more pixels than the programs hold) and empty-row.bmp
(a width of 0).
"""
import random
import struct
import sys
import zlib

from picture_pixels import bmp_pixels

WIDTH, HEIGHT = 160, 120


def write_bmp(path, bpp, rows, palette=b"", masks=None, topdown=False):
    extra = struct.pack("<III", *masks) if masks else b""
    offset = 14 + 40 + len(extra) + len(palette)
    data = b"".join(rows if topdown else rows[::-1])
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, -HEIGHT if topdown else HEIGHT, 1, bpp, 3 if masks else 0,
                       len(data), 2835, 2835, len(palette) // 4, 0)
    header = b"BM" + struct.pack("<IHHI", offset + len(data), 0, 0, offset)
    with open(path, "wb") as out:
        out.write(header + info + extra + palette + data)


def padded(row):
    return row + b"\0" * ((-len(row)) % 4)


def random_rows(bytes_per_row):
    return [padded(bytes(random.randrange(256) for _ in range(bytes_per_row))) for _ in range(HEIGHT)]


def png_of_bmp(source, target):
    width, height, pixels = bmp_pixels(source)
    raw = b"".join(b"\0" + pixels[y * width * 3:(y + 1) * width * 3] for y in range(height))

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b"")
    open(target, "wb").write(png)


def main():
    carrier, folder = sys.argv[1], sys.argv[2]
    png_of_bmp(carrier, folder + "/carrier.png")
    palette = b"".join(bytes([random.randrange(256), random.randrange(256), random.randrange(256), 0])
                       for _ in range(256))
    write_bmp(folder + "/palette8.bmp", 8, random_rows(WIDTH), palette)
    write_bmp(folder + "/palette4.bmp", 4, random_rows(WIDTH // 2), palette[:64])
    write_bmp(folder + "/palette1.bmp", 1, random_rows(WIDTH // 8), palette[:8])
    write_bmp(folder + "/rgb555.bmp", 16, random_rows(2 * WIDTH))
    write_bmp(folder + "/rgb565.bmp", 16, random_rows(2 * WIDTH), masks=(0xF800, 0x07E0, 0x001F))
    write_bmp(folder + "/topdown32.bmp", 32, random_rows(4 * WIDTH), topdown=True)
    write_bmp(folder + "/topdown24.bmp", 24, random_rows(3 * WIDTH), topdown=True)

    whole = open(folder + "/topdown24.bmp", "rb").read()
    open(folder + "/cut.bmp", "wb").write(whole[:3000])
    for name, width, height in (("huge", 100000, 100000), ("empty-row", 0, HEIGHT)):
        broken = bytearray(whole)
        struct.pack_into("<ii", broken, 18, width, height)
        open(folder + "/" + name + ".bmp", "wb").write(broken)


if __name__ == "__main__":
    main()
