#!/usr/bin/env python3
"""Derives the cipher's known answers in encryption.vec by running the machine's
algorithm step by step, independently of the C++ code and of its test reference.
Slow and plain on purpose. Prints the vector sections to stdout.

    python3 tests/cipher/gen/derive_vectors.py > /tmp/derived.vec
"""

TEXT = ("abcdefghijklmnopqrstuvwxyz" "ABCDEFGHIJKLMNOPQRSTUVWXYZ" "0123456789"
        "()!@$^*-=[]{};: ,<.>|'")
BYTES = [chr(v) for v in range(256)]
assert len(TEXT) == 84 and TEXT.index(" ") + 1 == 78


class Machine:
    def __init__(self):
        self.rotor = [""] * 11
        self.step = [0] * 11
        self.direction = [0] * 11
        self.rotate_after = 0
        self.count = 0
        self.text_alphabet = ""
        self.byte_alphabet = ""
        self.key_values = []

    def set_up(self, key, text_mode):
        if key == "":
            return 99, key
        m, n, s = (84, 84, 250) if text_mode else (256, 255, 500)
        while len(key) < 18:
            key = key + key
        key = key[:18]
        kv = [0] * 36865
        for p in range(1, 10):
            kv[p] = int(key[p - 1] + key[19 - p - 1])
        for p in range(1, 10):
            kv[9 + p] = kv[p] + 5

        def r(x):
            while x > n:
                x -= n
            return x

        for p in range(1, 19):
            kv[p] = r(kv[p])
        c = 18
        for _ in range(11):
            for i in range(1, c + 1):
                kv[c + i] = r(kv[i] + i)
            c *= 2
        if text_mode:
            self.text_alphabet = TEXT
            deck = list(TEXT)
        else:
            self.byte_alphabet = "".join(BYTES)
            deck = list(BYTES)
        deck = [None] + deck  # positions 1..M
        self.rotor = [""] * 11
        cursor = 0
        for place in range(1, 11):
            for _ in range(5):
                for _ in range(s):
                    cursor = 1 if cursor == 36864 else cursor + 1
                    a = kv[cursor]
                    cursor = 1 if cursor == 36864 else cursor + 1
                    b = kv[cursor]
                    a = n if a == 0 else a  # a zero names position N
                    b = n if b == 0 else b
                    deck[a], deck[b] = deck[b], deck[a]
                deck = [None, deck[m]] + deck[1:m]
            self.rotor[place] = "".join(deck[1:])
        for place in range(1, 11):
            digits = str(kv[place])
            self.direction[place] = 0 if int(digits[0]) < 6 else 1
            self.step[place] = int(digits[-1])
        self.rotate_after = kv[20]
        self.count = 0
        self.key_values = kv
        return 0, key

    def alphabet(self):
        return self.text_alphabet if len(self.rotor[1]) == 84 else self.byte_alphabet

    def advance(self):
        for i in range(1, 11):
            for _ in range(self.step[i]):
                rotor = self.rotor[i]
                self.rotor[i] = rotor[-1] + rotor[:-1] if self.direction[i] == 0 else rotor[1:] + rotor[0]
        if self.count == 32767:
            raise OverflowError("6")
        self.count += 1
        if self.count > self.rotate_after:
            self.rotor = [""] + self.rotor[2:] + [self.rotor[1]]

    def encrypt_symbol(self, c):
        a = self.alphabet()
        for i in range(1, 11):
            p = a.find(c) + 1
            if p == 0:
                raise ValueError("5")
            c = self.rotor[i][p - 1]
        self.advance()
        return c

    def decrypt_symbol(self, c):
        a = self.alphabet()
        for i in range(10, 0, -1):
            p = self.rotor[i].find(c) + 1
            if p == 0:
                raise ValueError("5")
            c = a[p - 1]
        self.advance()
        return c


def hexof(text):
    return "".join("%02x" % ord(ch) for ch in text)


def schedule(key, text_mode):
    machine = Machine()
    _, normalized = machine.set_up(key, text_mode)
    print("key = " + hexof(key))
    print("normalized = " + hexof(normalized))
    print("keyvalues = " + " ".join(str(v) for v in machine.key_values[1:22]))
    print("rotorstep = " + " ".join(str(v) for v in machine.step[1:]))
    print("rotordirection = " + " ".join(str(v) for v in machine.direction[1:]))
    print("rotateafter = %d" % machine.rotate_after)
    print("rotor1 = " + hexof(machine.rotor[1]))
    print()


def cipher(key, plain, text_mode):
    machine = Machine()
    machine.set_up(key, text_mode)
    out = "".join(machine.encrypt_symbol(ch) for ch in plain)
    back = Machine()
    back.set_up(key, text_mode)
    assert "".join(back.decrypt_symbol(ch) for ch in out) == plain
    print("key = " + hexof(key))
    print("in = " + hexof(plain))
    print("out = " + hexof(out))
    print()


if __name__ == "__main__":
    print("[text-schedule]")
    for key in ["408127", "0", "1234567890123456789"]:
        schedule(key, True)
    print("[byte-schedule]")
    for key in ["408127", "00", "99"]:
        schedule(key, False)
    print("[text]")
    cipher("408127", "Hello, World", True)
    cipher("0", "aaaaaaaaaaaa", True)
    cipher("99", "The quick brown fox: 0123456789 (){}[]!@$^*-=;<.>|'", True)
    print("[byte]")
    cipher("408127", "".join(BYTES[0:16]) + "\xff\xfe\x80", False)
    cipher("00", "\x00" * 12, False)
