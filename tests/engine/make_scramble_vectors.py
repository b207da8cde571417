#!/usr/bin/env python3
"""Writes scramble_vectors.txt from a second, independent implementation of the
generator and the scrambler, so that the C++ tests compare against values that
did not come from the code under test. Run: python3 make_scramble_vectors.py > scramble_vectors.txt"""
import math
import struct

MASK = 0xFFFFFF


class Generator:
    def __init__(self):
        self.s = 0x050000

    def draw(self):
        self.s = (self.s * 0x43FD43FD + 0xC39EC3) & MASK
        return self.s / 16777216.0  # exact in single precision: s has 24 bits

    def restart(self):
        b = struct.unpack("<I", struct.pack("<f", -1.0))[0]
        self.s = (b + (b >> 24)) & MASK
        self.draw()

    def reseed(self, x):
        hi = struct.unpack("<Q", struct.pack("<d", x))[0] >> 32
        self.s = (self.s & 0xFF) | (((hi & 0xFFFF) ^ (hi >> 16)) << 8)


def build(gen, key):
    n = len(key)
    total = 1.0
    for i in range(1, n + 1):
        total += i * key[i - 1]
    root = math.sqrt(total)
    rows = []
    for i in range(1, n + 1):
        row = list(range(256))
        gen.restart()
        gen.reseed(float(key[i - 1] * i) * root)
        for _ in range(10000):
            a = math.floor(gen.draw() * 255.0)
            b = 255 - math.floor(gen.draw() * 255.0)
            row[a], row[b] = row[b], row[a]
        rows.append(row)
    return rows


def scramble(gen, key, rows, codes):
    out = []
    length = len(key)
    for code in codes:
        r1 = gen.draw()
        r2 = gen.draw()
        p = math.floor(r1 * length) + 1
        q = float(math.floor(r2 * length) + 1)
        gen.reseed(q * key[p - 1] * 13.0)
        r3 = gen.draw()
        row = math.floor(r3 * length) + 1
        out.append(rows[row - 1][code])
    return out


CASES = [
    ("the key every picture is written with", b"Wren5", b"Vyn2005SHello, world!Vyn2005E"),
    ("one character", b"a", bytes(range(0, 256, 15))),
    ("digits", b"0123456789", b"Vyn2005S" + bytes([0, 1, 127, 128, 254, 255]) + b"Vyn2005E"),
    ("bytes beyond ASCII", bytes([0xFF, 0x80, 0x01]), bytes(range(250, 256)) + bytes(range(0, 6))),
]

print("# Scrambled codes from a fresh build: key, the characters in, the characters out (hex).")
print("# Written by make_scramble_vectors.py.")
for name, key, text in CASES:
    gen = Generator()
    gen.draw()  # what was drawn before the build must not matter
    rows = build(gen, key)
    out = scramble(gen, key, rows, text)
    print()
    print(f"[{name}]")
    print(f"key = {key.hex()}")
    print(f"in = {text.hex()}")
    print(f"out = {bytes(out).hex()}")
