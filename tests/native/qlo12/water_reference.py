#!/usr/bin/env python3
"""Expected values for water_test.cpp and water_frame_test.cpp.

An independent model of Water and Blob written straight from their
description (not from the C++ kernels): the tables, the drop shapes, the
propagation, the rendering and the two frame steps, in C's integer
semantics. Running it prints the numbers the tests hold:

    python3 tests/native/qlo12/water_reference.py
"""
import math
import struct

TABLE = 2048
STEP = 0.0030679615757712823  # 2pi / 2048
S = [math.trunc(math.sin(k * STEP) * 65536) for k in range(TABLE)]
K = [math.trunc(math.cos(k * STEP) * 65536) for k in range(TABLE)]


def cdiv(a, b):  # C's / : truncates toward zero
    q = abs(a) // abs(b)
    return q if (a >= 0) == (b >= 0) else -q


def cmod(a, b):  # C's % : takes the dividend's sign
    return a - cdiv(a, b) * b


def wrap(v, bits):
    half = 1 << (bits - 1)
    return ((v + half) & ((1 << bits) - 1)) - half


def single(v):
    return struct.unpack('f', struct.pack('f', v))[0]


class Rand:
    """The runtime library's generator."""

    def __init__(self, seed):
        self.state = seed & 0xFFFFFFFF

    def next(self):
        self.state = (self.state * 214013 + 2531011) & 0xFFFFFFFF
        return (self.state >> 16) & 0x7FFF

    def mod(self, n):  # rand mod n; our kernels give 0 for n = 0
        r = self.next()
        return cmod(r, n) if n != 0 else 0


class Field:
    def __init__(self, w, h, bits):
        self.w, self.h, self.bits = w, h, bits
        self.c = [[0] * w for _ in range(h)]


def settle(f, x, y, c, rnd):
    if x < 0:
        x = rnd.mod(max(1, f.w - 2 * c - 1)) + c + 1
    if y < 0:
        y = rnd.mod(max(1, f.h - 2 * c - 1)) + c + 1
    return x, y


def drop(f, x, y, c, amount, rnd):
    x, y = settle(f, x, y, c, rnd)
    if c < 1:
        return
    for i in range(max(-c, 1 - y), min(c, f.h - 1 - y)):
        for j in range(max(-c, 1 - x), min(c, f.w - 1 - x)):
            sq = i * i + j * j
            if sq < c * c:
                f.c[y + i][x + j] = wrap(f.c[y + i][x + j] + amount(c, sq), f.bits)


def smooth(f, x, y, c, h, rnd):
    def amount(c, sq):
        length = single((1024.0 / c) * (1024.0 / c))
        k = int(math.sqrt(length * sq))
        return (h * (K[k % TABLE] + 65535)) >> 19
    drop(f, x, y, c, amount, rnd)


def cone(f, x, y, c, h, rnd):
    drop(f, x, y, c, lambda c, sq: int(cdiv(h, 64) * (c - math.sqrt(sq))), rnd)


def disc(f, x, y, c, h, rnd):
    drop(f, x, y, c, lambda c, sq: h, rnd)


def propagate(g, f, shift):
    """f = the next field from g; f holds the field of two steps back."""
    shift = min(max(shift, 0), 31)
    for y in range(1, f.h - 1):
        for x in range(1, f.w - 1):
            total = sum(g.c[y + a][x + b] for a in (-1, 0, 1) for b in (-1, 0, 1) if a or b)
            d = (total >> 2) - f.c[y][x]
            f.c[y][x] = wrap(d - (d >> shift), f.bits)


def render(f, backup, image, stride, light):
    for y in range(1, f.h - 1):
        for x in range(1, f.w - 1):
            h0, h1, h2 = f.c[y][x], f.c[y][x + 1], f.c[y + 1][x]
            sx = min(max(x + ((h0 - h1) >> 3), 0), f.w - 1)
            sy = min(max(y + ((h0 - h2) >> 3), 0), f.h - 1)
            for b in range(3):
                v = backup[sy * stride + sx * 3 + b]
                if light > 0:
                    v = min(max(v - ((h0 - h1) >> min(light - 1, 31)), 0), 255)
                image[y * stride + x * 3 + b] = v


def stride_of(w):
    return (w * 24 + 31) // 32 * 4


def picture(w, h, seed):
    """The pseudo-random test picture of water_frame_test.cpp."""
    v = seed
    out = []
    for _ in range(stride_of(w) * h):
        v = (v * 1103515245 + 12345) & 0xFFFFFFFF
        out.append(v >> 24)
    return out


def fnv(values, size):
    """FNV-1a 64 over little-endian values of `size` bytes each."""
    h = 0xCBF29CE484222325
    for v in values:
        v &= (1 << (8 * size)) - 1
        for _ in range(size):
            h = ((h ^ (v & 0xFF)) * 0x100000001B3) & 0xFFFFFFFFFFFFFFFF
            v >>= 8
    return h


def cells(f):
    return [v for row in f.c for v in row]


class Water:
    def __init__(self, w, h, rnd):
        self.damping, self.strength, self.radius = 5, 400, 30
        self.flags, self.light = 0x4003, 3
        self.p1 = rnd.mod(2048)
        self.p2 = rnd.mod(2048)
        self.a = rnd.mod(2048)
        self.ox, self.oy = 80, 60
        self.pending, self.mx, self.my = 0, 0, 0
        self.F, self.G = Field(w, h, 16), Field(w, h, 16)

    def stamp(self, x, y, v):
        F = self.F
        if 1 <= x < F.w - 1 and 1 <= y < F.h - 1:
            F.c[y][x] = wrap(v, 16)

    def frame(self, backup, image, stride, rnd):
        F, W, H = self.F, self.F.w, self.F.h
        flat = self.flags & 0x4000
        st = self.strength
        if self.pending == 1:
            if flat:
                disc(F, self.mx, self.my, 2, st, rnd)
            else:
                smooth(F, self.mx, self.my, self.radius, -st, rnd)
        elif self.pending == 2:
            if flat:
                disc(F, self.mx, self.my, cdiv(self.radius, 2), st, rnd)
            else:
                smooth(F, self.mx, self.my, self.radius, st, rnd)
        self.pending = 0
        if self.flags & 0x8:
            self.p1 = self.p2 = 0
        if self.flags & 0x1:
            def sn(n):
                return S[((n & 0xFFFFFFFF) >> 8) % TABLE] >> 8
            x = ((sn(self.p1 * 349) * sn(self.p1 * 65) * cdiv(W - 8, 2)) >> 16) + cdiv(W, 2)
            y = ((sn(self.p2 * 377) * sn(self.p2 * 84) * cdiv(H - 8, 2)) >> 16) + cdiv(H, 2)
            self.p1 += 13
            self.p2 += 12
            mx, my = cdiv(self.ox + x, 2), cdiv(self.oy + y, 2)
            if flat:
                for (cx, cy, centre, around) in ((mx, my, st, st >> 1), (x, y, 2 * st, st)):
                    self.stamp(cx, cy, centre)
                    for (dx, dy) in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                        self.stamp(cx + dx, cy + dy, around)
            else:
                smooth(F, mx, my, 3, -1200, rnd)
                smooth(F, x, y, 4, -2000, rnd)
            self.ox, self.oy = x, y
        if self.flags & 0x2:
            col = rnd.mod(W - 2)
            row = rnd.mod(H - 2) + 1
            val = rnd.mod(4 * st)
            self.stamp(col + 1, row, val)
        if self.flags & 0x4 and rnd.mod(20) == 0:
            if flat:
                disc(F, -1, -1, cdiv(self.radius, 2), st, rnd)
            else:
                smooth(F, -1, -1, self.radius, -6 * st, rnd)
        if self.flags & 0x8:
            px = ((K[self.a % TABLE] * 25) >> 16) + cdiv(W, 2)
            py = ((S[self.a % TABLE] * 25) >> 16) + cdiv(H, 2)
            if flat:
                disc(F, px, py, cdiv(self.radius, 3), st, rnd)
            else:
                cone(F, px, py, self.radius, st, rnd)
            self.a += 50
        render(F, backup, image, stride, self.light)
        self.F, self.G = self.G, self.F
        propagate(self.G, self.F, self.damping)


class Blob:
    def __init__(self, w, h):
        self.damping, self.strength, self.radius, self.light, self.attempts = 4, 6000, 80, 2, 8
        self.F, self.G = Field(w, h, 32), Field(w, h, 32)

    def frame(self, backup, image, stride, rnd):
        R, St = self.radius, self.strength
        for _ in range(min(self.attempts, 60)):
            if rnd.next() % 10 == 0:
                c = rnd.mod((R + 1) // 2) + (R + 1) // 2
                h = rnd.mod((St + 1) // 2) + (St + 1) // 2
                smooth(self.F, -1, -1, c, h, rnd)
        render(self.F, backup, image, stride, self.light)
        propagate(self.F, self.G, self.damping)
        self.F, self.G = self.G, self.F


def known_field_case():
    """RenderField on a 6 x 5 picture: the expected interior bytes."""
    w, h = 6, 5
    stride = stride_of(w)
    backup = [0] * (stride * h)
    for y in range(h):
        for x in range(w):
            for b in range(3):
                backup[y * stride + x * 3 + b] = (x * 40 + y * 7 + b * 3 + 11) & 0xFF
    rows16 = [[0, 0, 0, 0, 0, 0],
              [0, 16, -9, 40, -200, 0],
              [0, 300, 8, -8, 7, 0],
              [0, -17, 1, -300, 0, 0],
              [0, 0, 0, 0, 0, 0]]
    rows32 = [[0, 0, 0, 0, 0, 0],
              [0, 5000000, -9, 70000, -70000, 0],
              [0, -3000000, 8, 2147483647, -2147483648, 0],
              [0, 640, 1, -100, 0, 0],
              [0, 0, 0, 0, 0, 0]]
    for name, rows, bits in (('16', rows16, 16), ('32', rows32, 32)):
        f = Field(w, h, bits)
        f.c = [list(r) for r in rows]
        for light in (0, 1, 2, 8):
            image = [0xEE] * (stride * h)
            render(f, backup, image, stride, light)
            out = [image[y * stride + x * 3 + b]
                   for y in range(1, h - 1) for x in range(1, w - 1) for b in range(3)]
            print(f'cells {name} light {light}:', ', '.join(map(str, out)))


def frame_cases():
    w, h = 64, 56
    stride = stride_of(w)
    backup = picture(w, h, 99)
    configs = [
        ('flat surfer rain drops', dict(flags=0x4007, strength=400, radius=9, damping=4, light=3)),
        ('smooth everything', dict(flags=0x000F, strength=-1400, radius=7, damping=3, light=0)),
        ('flat swirl', dict(flags=0x400E, strength=600, radius=12, damping=6, light=1)),
    ]
    for name, cfg in configs:
        rnd = Rand(12345)
        water = Water(w, h, rnd)
        water.damping, water.strength, water.radius = cfg['damping'], cfg['strength'], cfg['radius']
        water.flags, water.light = cfg['flags'], cfg['light']
        image = picture(w, h, 7)
        for n in range(40):
            if n == 3:
                water.pending, water.mx, water.my = 1, 20, 30
            if n == 9:
                water.pending, water.mx, water.my = 2, 50, 10
            water.frame(backup, image, stride, rnd)
        print(f'water {name}: image {fnv(image, 1):#018x} F {fnv(cells(water.F), 2):#018x} '
              f'G {fnv(cells(water.G), 2):#018x} rand state {rnd.state:#010x}')
    w, h = 32, 24
    stride = stride_of(w)
    backup = picture(w, h, 99)
    rnd = Rand(777)
    blob = Blob(w, h)
    blob.radius, blob.strength, blob.attempts = 10, 3000, 30
    image = picture(w, h, 7)
    for n in range(15):
        blob.frame(backup, image, stride, rnd)
    print(f'blob: image {fnv(image, 1):#018x} F {fnv(cells(blob.F), 4):#018x} '
          f'G {fnv(cells(blob.G), 4):#018x} rand state {rnd.state:#010x}')


if __name__ == '__main__':
    known_field_case()
    frame_cases()
