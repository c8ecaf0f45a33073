#!/usr/bin/env python3
"""Draws the studio's pictures: tool-button strips, the button-bar and
background tiles, the start-up logo, the effect-panel buttons, the browser
icons, the program icon and cursor, and the two bitmaps of BXWUI.DLL.

Shapes are signed distance functions (negative inside). A pixel's coverage is
clamp(0.5 - d) at its centre, which anti-aliases every edge by about one
pixel; shapes are filled with vertical light-to-dark gradients, outlined in a
darker shade of their colour and lifted from the background by a soft,
box-blurred shadow. Output is deterministic: the same files on every run.

usage: make_art.py OUTPUT_DIR
"""
import math
import os
import struct
import sys

# ---- palette ---------------------------------------------------------------
INK = (46, 92, 150)
TEAL = (52, 160, 156)
CORAL = (238, 112, 90)
SUN = (246, 190, 72)
PLUM = (140, 96, 170)
LEAF = (104, 178, 98)
WOOD = (196, 138, 84)
SLATE = (112, 124, 138)
PAPER = (252, 250, 244)
GLASS = (196, 228, 244)
BAR_TOP = (250, 246, 238)
BAR_BOTTOM = (222, 212, 194)


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def lighten(c, t):
    return mix(c, (255, 255, 255), t)


def darken(c, t):
    return mix(c, (0, 0, 0), t)


def clamp01(v):
    return 0.0 if v < 0.0 else (1.0 if v > 1.0 else v)


# ---- shapes ----------------------------------------------------------------
class Shape:
    def __init__(self, sdf, bbox):
        self.sdf = sdf
        self.bbox = bbox

    def moved(self, dx, dy):
        f = self.sdf
        x0, y0, x1, y1 = self.bbox
        return Shape(lambda x, y: f(x - dx, y - dy), (x0 + dx, y0 + dy, x1 + dx, y1 + dy))


def circle(cx, cy, r):
    return Shape(lambda x, y: math.hypot(x - cx, y - cy) - r, (cx - r, cy - r, cx + r, cy + r))


def ring(cx, cy, r, half):
    return Shape(lambda x, y: abs(math.hypot(x - cx, y - cy) - r) - half,
                 (cx - r - half, cy - r - half, cx + r + half, cy + r + half))


def rrect(x0, y0, x1, y1, r):
    cx, cy, hw, hh = (x0 + x1) / 2, (y0 + y1) / 2, (x1 - x0) / 2, (y1 - y0) / 2

    def sdf(x, y):
        qx = abs(x - cx) - hw + r
        qy = abs(y - cy) - hh + r
        return math.hypot(max(qx, 0.0), max(qy, 0.0)) + min(max(qx, qy), 0.0) - r
    return Shape(sdf, (x0, y0, x1, y1))


def _segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    ll = dx * dx + dy * dy
    t = 0.0 if ll == 0 else clamp01(((px - ax) * dx + (py - ay) * dy) / ll)
    return math.hypot(px - ax - dx * t, py - ay - dy * t)


def polyline(points, r):
    segs = list(zip(points, points[1:])) or [(points[0], points[0])]
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]

    def sdf(x, y):
        return min(_segment_distance(x, y, a[0], a[1], b[0], b[1]) for a, b in segs) - r
    return Shape(sdf, (min(xs) - r, min(ys) - r, max(xs) + r, max(ys) + r))


def capsule(ax, ay, bx, by, r):
    return polyline([(ax, ay), (bx, by)], r)


def polygon(points):
    n = len(points)
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]

    def sdf(x, y):
        d = float('inf')
        inside = False
        j = n - 1
        for i in range(n):
            xi, yi = points[i]
            xj, yj = points[j]
            d = min(d, _segment_distance(x, y, xj, yj, xi, yi))
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                inside = not inside
            j = i
        return -d if inside else d
    return Shape(sdf, (min(xs), min(ys), max(xs), max(ys)))


def arc_points(cx, cy, r, a0, a1, steps=24):
    return [(cx + r * math.cos(a0 + (a1 - a0) * i / steps), cy + r * math.sin(a0 + (a1 - a0) * i / steps))
            for i in range(steps + 1)]


def union(*shapes):
    fs = [s.sdf for s in shapes]
    bb = (min(s.bbox[0] for s in shapes), min(s.bbox[1] for s in shapes),
          max(s.bbox[2] for s in shapes), max(s.bbox[3] for s in shapes))
    return Shape(lambda x, y: min(f(x, y) for f in fs), bb)


def subtract(a, b):
    fa, fb = a.sdf, b.sdf
    return Shape(lambda x, y: max(fa(x, y), -fb(x, y)), a.bbox)


def drop(cx, cy, r, tip):
    """An ink drop: a disc of radius r with a point `tip` pixels above its centre."""
    h = tip
    s = r / h
    c = math.sqrt(max(1.0 - s * s, 0.0))
    t1 = (cx - r * c, cy - r * s)
    t2 = (cx + r * c, cy - r * s)
    return union(circle(cx, cy, r), polygon([(cx, cy - h), t2, (cx, cy), t1]))


def star4(cx, cy, r):
    k = r * 0.28
    return polygon([(cx, cy - r), (cx + k, cy - k), (cx + r, cy), (cx + k, cy + k),
                    (cx, cy + r), (cx - k, cy + k), (cx - r, cy), (cx - k, cy - k)])


# ---- canvas ----------------------------------------------------------------
class Canvas:
    """Premultiplied RGBA floats, colour 0..255, alpha 0..1."""

    def __init__(self, w, h, fill=None):
        self.w, self.h = w, h
        n = w * h
        if fill is None:
            self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(n)]
        else:
            self.px = [[fill[0], fill[1], fill[2], 1.0] for _ in range(n)]

    def copy(self):
        c = Canvas(self.w, self.h)
        c.px = [p[:] for p in self.px]
        return c

    def fill_fn(self, fn):
        """Opaque fill from fn(x, y) -> colour."""
        for y in range(self.h):
            for x in range(self.w):
                r, g, b = fn(x, y)
                self.px[y * self.w + x] = [r, g, b, 1.0]

    def paint(self, shape, colour, alpha=1.0, grow=0.0):
        """colour is a tuple or fn(x, y) -> tuple; grow widens (>0) or shrinks the shape."""
        x0, y0, x1, y1 = shape.bbox
        m = 2 + max(grow, 0)
        xa, ya = max(0, int(math.floor(x0 - m))), max(0, int(math.floor(y0 - m)))
        xb, yb = min(self.w, int(math.ceil(x1 + m))), min(self.h, int(math.ceil(y1 + m)))
        f = shape.sdf
        fn = colour if callable(colour) else None
        for y in range(ya, yb):
            for x in range(xa, xb):
                cov = 0.5 - (f(x + 0.5, y + 0.5) - grow)
                if cov <= 0.0:
                    continue
                a = (1.0 if cov >= 1.0 else cov) * alpha
                c = fn(x + 0.5, y + 0.5) if fn else colour
                p = self.px[y * self.w + x]
                k = 1.0 - a
                p[0] = c[0] * a + p[0] * k
                p[1] = c[1] * a + p[1] * k
                p[2] = c[2] * a + p[2] * k
                p[3] = a + p[3] * k

    def over(self, src, dx=0, dy=0, opacity=1.0, tint=None):
        """Composites src (premultiplied) at (dx, dy); tint replaces its colour."""
        for y in range(src.h):
            ty = y + dy
            if not 0 <= ty < self.h:
                continue
            for x in range(src.w):
                tx = x + dx
                if not 0 <= tx < self.w:
                    continue
                s = src.px[y * src.w + x]
                a = s[3] * opacity
                if a <= 0.0:
                    continue
                p = self.px[ty * self.w + tx]
                k = 1.0 - a
                if tint is None:
                    p[0] = s[0] * opacity + p[0] * k
                    p[1] = s[1] * opacity + p[1] * k
                    p[2] = s[2] * opacity + p[2] * k
                else:
                    p[0] = tint[0] * a + p[0] * k
                    p[1] = tint[1] * a + p[1] * k
                    p[2] = tint[2] * a + p[2] * k
                p[3] = a + p[3] * k

    def blurred(self, radius):
        """Box blur (two passes) of the whole canvas."""
        out = self.copy()
        for _ in range(2):
            out = out._box(radius, True)._box(radius, False)
        return out

    def _box(self, r, horizontal):
        w, h = self.w, self.h
        res = Canvas(w, h)
        span = 2 * r + 1
        for j in range(h if horizontal else w):
            for i in range(w if horizontal else h):
                acc = [0.0, 0.0, 0.0, 0.0]
                for k in range(-r, r + 1):
                    ii = i + k
                    if horizontal:
                        if 0 <= ii < w:
                            s = self.px[j * w + ii]
                        else:
                            continue
                    else:
                        if 0 <= ii < h:
                            s = self.px[ii * w + j]
                        else:
                            continue
                    acc[0] += s[0]; acc[1] += s[1]; acc[2] += s[2]; acc[3] += s[3]
                idx = j * w + i if horizontal else i * w + j
                res.px[idx] = [v / span for v in acc]
        return res

    def greyed(self, fade):
        """Desaturated copy, colours pulled towards a light grey."""
        c = self.copy()
        for p in c.px:
            a = p[3]
            if a <= 0:
                continue
            lum = (0.3 * p[0] + 0.59 * p[1] + 0.11 * p[2]) / a
            v = lum + (200 - lum) * fade
            p[0] = p[1] = p[2] = v * a
        return c

    def rgb_rows(self, background=(255, 255, 255)):
        rows = []
        for y in range(self.h):
            row = []
            for x in range(self.w):
                p = self.px[y * self.w + x]
                k = 1.0 - p[3]
                row.append(tuple(int(max(0, min(255, round(p[i] + background[i] * k)))) for i in range(3)))
            rows.append(row)
        return rows


def vgrad(top, bottom, y0, y1):
    def fn(x, y):
        return mix(top, bottom, clamp01((y - y0) / max(y1 - y0, 1e-6)))
    return fn


def styled(canvas, shape, base, outline=True, light=0.38, edge=1.1):
    """A shape with a darker rim and a top-lit gradient body."""
    x0, y0, x1, y1 = shape.bbox
    if outline:
        canvas.paint(shape, darken(base, 0.42))
        canvas.paint(shape, vgrad(lighten(base, light), base, y0, y1), grow=-edge)
    else:
        canvas.paint(shape, vgrad(lighten(base, light), base, y0, y1))


def with_shadow(target, layer, dx=1, dy=2, radius=1, strength=0.32):
    shadow = layer.blurred(radius)
    target.over(shadow, dx, dy, opacity=strength, tint=(40, 30, 20))
    target.over(layer)


# ---- files -----------------------------------------------------------------
def write_bmp(path, rows):
    h, w = len(rows), len(rows[0])
    stride = (w * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += b'\0' * (stride - w * 3)
        data += line
    header = struct.pack('<2sIHHI', b'BM', 14 + 40 + len(data), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, 'wb') as f:
        f.write(header + info + data)


def icon_image(canvas, matte):
    """BITMAPINFOHEADER + 24-bit colour + AND mask of one icon picture."""
    w, h = canvas.w, canvas.h
    rows = canvas.rgb_rows(matte)
    stride = (w * 3 + 3) & ~3
    mstride = ((w + 31) // 32) * 4
    xor = bytearray()
    mask = bytearray()
    for y in range(h - 1, -1, -1):
        line = bytearray()
        bits = bytearray(mstride)
        for x in range(w):
            p = canvas.px[y * w + x]
            if p[3] < 0.5:
                bits[x // 8] |= 0x80 >> (x % 8)
                line += b'\0\0\0'
            else:
                # edge pixels keep their own colour rather than the matte
                a = p[3]
                r, g, b = (int(max(0, min(255, round(p[i] / a)))) for i in range(3))
                line += bytes((b, g, r))
        line += b'\0' * (stride - w * 3)
        xor += line
        mask += bits
    header = struct.pack('<IiiHHIIiiII', 40, w, h * 2, 1, 24, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return header + bytes(xor) + bytes(mask)


def write_ico(path, canvases):
    images = [icon_image(c, (255, 255, 255)) for c in canvases]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for c, img in zip(canvases, images):
        out += struct.pack('<BBBBHHII', c.w % 256, c.h % 256, 0, 0, 1, 24, len(img), offset)
        offset += len(img)
    with open(path, 'wb') as f:
        f.write(out + b''.join(images))


def write_cur(path, grid, hotspot):
    """grid[y][x]: None transparent, 0 black, 1 white; 32 x 32."""
    size = 32
    xor_rows, and_rows = [], []
    for y in range(size - 1, -1, -1):
        xb = ab = 0
        for x in range(size):
            p = grid[y][x]
            bit = 1 << (31 - x)
            if p is None:
                ab |= bit
            elif p == 1:
                xb |= bit
        xor_rows.append(struct.pack('>I', xb))
        and_rows.append(struct.pack('>I', ab))
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 1, 0, 4 * size * 2, 0, 0, 2, 2)
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    image = header + palette + b''.join(xor_rows) + b''.join(and_rows)
    entry = struct.pack('<BBBBHHII', size, size, 2, 0, hotspot[0], hotspot[1], len(image), 22)
    with open(path, 'wb') as f:
        f.write(struct.pack('<HHH', 0, 2, 1) + entry + image)


# ---- button bar ------------------------------------------------------------
BAR_W, BAR_H = 64, 54


def bar_colour(y):
    """Colour of button-bar row y: a soft cream gradient with a darker lower rim."""
    if y >= BAR_H - 2:
        return darken(BAR_BOTTOM, 0.18 if y == BAR_H - 1 else 0.08)
    if y == 0:
        return (255, 255, 255)
    return mix(BAR_TOP, BAR_BOTTOM, (y / (BAR_H - 3)) ** 1.3)


def draw_bar():
    c = Canvas(BAR_W, BAR_H)
    c.fill_fn(lambda x, y: bar_colour(y))
    return c


# ---- tool-button glyphs (drawn in a 50 x 50 cell, caption band y >= 35) ----
def glyph_open(c):
    styled(c, union(rrect(10, 8, 36, 31, 2.5), rrect(10, 6, 21, 12, 2)), darken(SUN, 0.18))
    c.paint(rrect(13, 11, 33, 22, 1), PAPER)
    styled(c, polygon([(15, 16), (41, 16), (36.5, 31), (10, 31)]), SUN)


def glyph_play(c):
    styled(c, circle(25, 19, 14), TEAL)
    tri = polygon([(21, 11.5), (33, 19), (21, 26.5)])
    c.paint(tri, (255, 255, 255), grow=0.8)
    c.paint(tri, (255, 255, 255))


def glyph_snapshot(c):
    styled(c, rrect(17, 6, 30, 13, 2.5), darken(PLUM, 0.15))
    styled(c, rrect(9, 10, 41, 31, 4.5), PLUM)
    c.paint(circle(25, 20.5, 8), (255, 255, 255))
    c.paint(circle(25, 20.5, 6), vgrad(lighten(INK, 0.2), darken(INK, 0.45), 14, 27))
    c.paint(circle(23, 18.5, 1.8), (255, 255, 255), alpha=0.85)
    c.paint(rrect(34, 13, 38, 16, 1), SUN)


def glyph_close(c):
    styled(c, circle(25, 19, 14), CORAL)
    c.paint(capsule(19.5, 13.5, 30.5, 24.5, 2.4), (255, 255, 255))
    c.paint(capsule(30.5, 13.5, 19.5, 24.5, 2.4), (255, 255, 255))


def glyph_undo(c):
    body = polyline(arc_points(26, 22, 10, math.radians(40), math.radians(-180), 30), 2.6)
    head = polygon([(9, 19.5), (23, 19.5), (16, 28.5)])
    arrow = union(body, head)
    c.paint(arrow, darken(INK, 0.35), grow=1.0)
    c.paint(arrow, vgrad(lighten(INK, 0.4), INK, 8, 32))


def glyph_crop(c):
    a = polyline([(16, 5), (16, 26), (39, 26)], 2.4)
    b = polyline([(10, 12), (33, 12), (33, 33)], 2.4)
    c.paint(rrect(17, 13, 32, 25, 0.5), GLASS, alpha=0.8)
    c.paint(b, darken(CORAL, 0.35), grow=0.9)
    c.paint(b, vgrad(lighten(CORAL, 0.3), CORAL, 10, 34))
    c.paint(a, darken(INK, 0.35), grow=0.9)
    c.paint(a, vgrad(lighten(INK, 0.35), INK, 4, 28))


def page(c, x0, y0, x1, y1, tint):
    styled(c, rrect(x0, y0, x1, y1, 2.5), tint, light=0.8)
    for i, yy in enumerate(range(int(y0) + 6, int(y1) - 3, 4)):
        c.paint(capsule(x0 + 4, yy, x1 - (4 if i % 2 == 0 else 8), yy, 0.8), darken(tint, 0.3), alpha=0.7)


def glyph_copy(c):
    page(c, 11, 5, 29, 27, lighten(SLATE, 0.5))
    page(c, 20, 11, 38, 33, lighten(TEAL, 0.45))


def glyph_paste(c):
    styled(c, rrect(11, 7, 37, 33, 3.5), WOOD)
    c.paint(rrect(15, 12, 33, 31, 1.5), PAPER)
    for yy in (18, 22, 26):
        c.paint(capsule(18, yy, 30 - (yy == 22) * 4, yy, 0.8), SLATE, alpha=0.6)
    styled(c, rrect(18, 4, 30, 11, 2.5), SLATE)


def magnifier(c, sign):
    c.paint(capsule(29, 25, 37.5, 33.5, 3.6), darken(WOOD, 0.5))
    c.paint(capsule(29, 25, 37.5, 33.5, 2.6), vgrad(lighten(WOOD, 0.2), darken(WOOD, 0.2), 24, 34))
    c.paint(circle(21.5, 17, 9.5), vgrad(lighten(GLASS, 0.4), GLASS, 7, 27), alpha=0.95)
    c.paint(ring(21.5, 17, 10, 2.3), darken(INK, 0.3))
    c.paint(ring(21.5, 17, 10, 1.4), vgrad(lighten(INK, 0.45), INK, 6, 28))
    col = darken(INK, 0.1)
    c.paint(capsule(16.5, 17, 26.5, 17, 1.7), col)
    if sign > 0:
        c.paint(capsule(21.5, 12, 21.5, 22, 1.7), col)


def glyph_zoomout(c):
    magnifier(c, -1)


def glyph_zoomin(c):
    magnifier(c, 1)


def glyph_restore(c):
    styled(c, rrect(9, 6, 41, 32, 3.5), LEAF, light=0.3)
    c.paint(rrect(12, 9, 38, 29, 2), PAPER)
    ink = darken(INK, 0.1)
    for x in (16.5, 31.5):
        c.paint(polyline([(x - 3, 14), (x, 11.5), (x, 26)], 1.6), ink)
    c.paint(circle(24, 15.5, 1.8), ink)
    c.paint(circle(24, 23, 1.8), ink)


def glyph_next(c):
    styled(c, rrect(9, 5, 29, 22, 2.5), lighten(SLATE, 0.3), light=0.5)
    c.paint(rrect(11, 9, 27, 20, 1), PAPER)
    styled(c, rrect(21, 14, 41, 32, 2.5), TEAL)
    c.paint(rrect(23, 18, 39, 30, 1), PAPER)
    arrow = union(capsule(8, 28, 17, 28, 1.8), polygon([(15, 23), (22, 28), (15, 33)]))
    c.paint(arrow, darken(CORAL, 0.3), grow=0.9)
    c.paint(arrow, CORAL)


def glyph_about(c):
    styled(c, circle(25, 19, 14), INK)
    c.paint(circle(25, 12, 2.4), (255, 255, 255))
    c.paint(polyline([(22, 17), (25.5, 17), (25.5, 26.5)], 1.9), (255, 255, 255))
    c.paint(capsule(22, 26.5, 29, 26.5, 1.5), (255, 255, 255))


def glyph_exit(c):
    styled(c, rrect(13, 4, 33, 33, 1.5), darken(WOOD, 0.35), light=0.2)
    c.paint(rrect(15.5, 6.5, 30.5, 33, 0.5), (62, 54, 70))
    leaf = polygon([(15.5, 6.5), (25, 9.5), (25, 35.5), (15.5, 33)])
    styled(c, leaf, WOOD)
    c.paint(circle(22.5, 21, 1.5), SUN)
    arrow = union(capsule(29, 19, 36, 19, 1.8), polygon([(34.5, 14), (41.5, 19), (34.5, 24)]))
    c.paint(arrow, darken(LEAF, 0.35), grow=0.9)
    c.paint(arrow, LEAF)


BUTTONS = [
    ('Open', glyph_open), ('Play', glyph_play), ('Snapshot', glyph_snapshot), ('Close', glyph_close),
    ('Undo', glyph_undo), ('Crop', glyph_crop), ('Copy', glyph_copy), ('Paste', glyph_paste),
    ('ZOOMOUT', glyph_zoomout), ('Restore', glyph_restore), ('Zoomin', glyph_zoomin),
    ('Next', glyph_next), ('About', glyph_about), ('Exit', glyph_exit),
]
CELL = 50


def button_strip(glyph_fn):
    """Four 50 x 50 pictures top to bottom: idle, hovered, pressed, disabled.
    The face continues the bar gradient (buttons sit at y = 2 on the bar)."""
    glyph = Canvas(CELL, CELL)
    glyph_fn(glyph)
    face = Canvas(CELL, CELL)
    face.fill_fn(lambda x, y: bar_colour(y + 2))
    strip = Canvas(CELL, CELL * 4)

    def place(pic, index):
        strip.over(pic, 0, CELL * index)

    idle = face.copy()
    with_shadow(idle, glyph, 1, 1, 1, 0.28)
    place(idle, 0)

    hover = face.copy()
    panel = rrect(1.5, 1.5, 48.5, 48.5, 7)
    hover.paint(panel, darken(TEAL, 0.05), alpha=0.55)
    hover.paint(panel, vgrad((255, 255, 255), lighten(SUN, 0.75), 1, 49), grow=-1.2)
    with_shadow(hover, glyph.copy(), 1, 2, 1, 0.34)
    place(hover, 1)

    pressed = face.copy()
    pressed.paint(panel, darken(BAR_BOTTOM, 0.35), alpha=0.8)
    pressed.paint(panel, vgrad(darken(BAR_BOTTOM, 0.12), lighten(BAR_BOTTOM, 0.2), 1, 49), grow=-1.2)
    pressed.paint(capsule(7, 3.2, 43, 3.2, 0.8), darken(BAR_BOTTOM, 0.3), alpha=0.5)
    moved = Canvas(CELL, CELL)
    moved.over(glyph, 1, 1)
    with_shadow(pressed, moved, 1, 1, 1, 0.18)
    place(pressed, 2)

    disabled = face.copy()
    disabled.over(glyph.greyed(0.45), opacity=0.6)
    place(disabled, 3)
    return strip


# ---- tiles -----------------------------------------------------------------
def draw_back():
    """MDI background, 160 x 159, seamless: smooth waves with whole periods and
    small drops placed on the torus."""
    w, h = 160, 159
    base = (92, 124, 140)
    c = Canvas(w, h)

    def bg(x, y):
        t = 0.5 + 0.25 * math.sin(2 * math.pi * (x / w + 2 * y / h)) + 0.25 * math.sin(2 * math.pi * (2 * x / w - y / h))
        return mix(darken(base, 0.06), lighten(base, 0.06), t)
    c.fill_fn(bg)
    spots = []
    for row in range(3):
        for col in range(4):
            x = col * 40 + (20 if row % 2 else 0) + 10
            y = row * 53 + 18
            spots.append((x % w, y % h, 'drop' if (row + col) % 2 == 0 else 'dot'))
    for sx, sy, kind in spots:
        for ox in (-w, 0, w):
            for oy in (-h, 0, h):
                if kind == 'drop':
                    s = drop(sx + ox, sy + oy, 4.2, 10)
                    c.paint(s.moved(1, 1), darken(base, 0.25), alpha=0.35)
                    c.paint(s, lighten(base, 0.22), alpha=0.55)
                else:
                    c.paint(circle(sx + ox, sy + oy, 1.8), lighten(base, 0.3), alpha=0.5)
    return c


def draw_pane_tile():
    """Thumbnail list background, 70 x 70: soft paper with a faint diagonal weave."""
    w = h = 70
    c = Canvas(w, h)

    def fn(x, y):
        t = 0.5 + 0.5 * math.sin(2 * math.pi * (x + y) / 35.0)
        return mix((236, 232, 222), (244, 241, 233), t)
    c.fill_fn(fn)
    for cx, cy in ((17.5, 17.5), (52.5, 52.5)):
        c.paint(circle(cx, cy, 1.6), darken((236, 232, 222), 0.1), alpha=0.6)
    return c


def spin_header():
    """BXWUI "Thumb": 70 x 60; top row the two 35 x 30 halves of the spin
    button (left: next item, arrow down; right: previous item, arrow up),
    bottom row the same halves pressed."""
    c = Canvas(70, 60)
    for row in range(2):
        pressed = row == 1
        for half in range(2):
            x0, y0 = half * 35, row * 30
            face = rrect(x0 + 1.5, y0 + 1.5, x0 + 33.5, y0 + 28.5, 6)
            c.paint(rrect(x0, y0, x0 + 35, y0 + 30, 0), bar_colour(12 + row * 20))
            c.paint(face, darken(TEAL, 0.35))
            top = darken(TEAL, 0.25) if pressed else lighten(TEAL, 0.45)
            bottom = lighten(TEAL, 0.1) if pressed else TEAL
            c.paint(face, vgrad(top, bottom, y0, y0 + 30), grow=-1.2)
            cx, cy = x0 + 17.5 + (1 if pressed else 0), y0 + 15 + (1 if pressed else 0)
            if half == 0:
                tri = polygon([(cx - 7, cy - 4), (cx + 7, cy - 4), (cx, cy + 5)])
            else:
                tri = polygon([(cx - 7, cy + 4), (cx + 7, cy + 4), (cx, cy - 5)])
            c.paint(tri.moved(0.8, 1), darken(TEAL, 0.5), alpha=0.5)
            c.paint(tri, (255, 255, 255))
    return c


def button_face():
    """BXWUI "BkGnd": a 50 x 50 plain button face matching the bar."""
    c = Canvas(50, 50)
    c.fill_fn(lambda x, y: bar_colour(y + 2))
    c.paint(rrect(1.5, 1.5, 48.5, 48.5, 7), (255, 255, 255), alpha=0.35)
    return c


# ---- logo ------------------------------------------------------------------
def quill_shape(nx, ny, tx, ty, width):
    """Feather vanes along the axis nib (nx, ny) -> tip (tx, ty)."""
    length = math.hypot(tx - nx, ty - ny)
    ax, ay = (tx - nx) / length, (ty - ny) / length
    px, py = -ay, ax
    left, right = [], []
    for i in range(41):
        u = 0.26 + 0.74 * i / 40
        s = max(0.0, math.sin(math.pi * (u - 0.26) / 0.74)) ** 0.75
        wl = width * s * (1.0 + 0.25 * (u - 0.5))
        wr = width * 0.7 * s
        bx, by = nx + ax * u * length, ny + ay * u * length
        bend = width * 0.35 * math.sin(math.pi * u)
        left.append((bx + px * (wl + bend), by + py * (wl + bend)))
        right.append((bx - px * (wr - bend), by - py * (wr - bend)))
    return polygon(left + right[::-1]), (ax, ay, px, py, length)


def draw_quill(c, nx, ny, tx, ty, width):
    vanes, (ax, ay, px, py, length) = quill_shape(nx, ny, tx, ty, width)
    shadow = Canvas(c.w, c.h)
    shadow.paint(vanes.moved(3, 4), (0, 0, 0))
    c.over(shadow.blurred(2), opacity=0.18, tint=(60, 40, 30))
    c.paint(vanes, darken(PLUM, 0.25))
    c.paint(vanes, lambda x, y: mix((255, 255, 255), lighten(PLUM, 0.55),
                                    clamp01(abs((x - nx) * px + (y - ny) * py) / (width * 1.2))), grow=-1.3)
    # barbs
    for i in range(1, 14):
        u = 0.3 + 0.68 * i / 14
        bx, by = nx + ax * u * length, ny + ay * u * length
        s = max(0.0, math.sin(math.pi * (u - 0.26) / 0.74)) ** 0.75
        for side in (1, -1):
            w = width * s * (0.85 if side > 0 else 0.6)
            ex = bx + side * px * w - ax * w * 0.55
            ey = by + side * py * w - ay * w * 0.55
            c.paint(capsule(bx, by, ex, ey, 0.45), lighten(PLUM, 0.15), alpha=0.55)
    shaft = capsule(nx + ax * 10, ny + ay * 10, tx - ax * 4, ty - ay * 4, 1.6)
    c.paint(shaft, (170, 120, 80))
    nib = polygon([(nx, ny), (nx + ax * 14 + px * 3.5, ny + ay * 14 + py * 3.5),
                   (nx + ax * 14 - px * 3.5, ny + ay * 14 - py * 3.5)])
    c.paint(nib, darken(INK, 0.5))


def draw_logo():
    w, h = 400, 240
    c = Canvas(w, h)
    c.fill_fn(lambda x, y: mix((255, 252, 244), (240, 228, 206), clamp01((0.6 * x / w + y / h) / 1.6)))
    # confetti
    confetti = [(28, 30, CORAL), (372, 208, TEAL), (52, 206, SUN), (356, 26, LEAF), (206, 30, PLUM),
                (120, 214, TEAL), (300, 214, CORAL), (18, 120, PLUM), (250, 36, SUN)]
    for x, y, col in confetti:
        c.paint(circle(x, y, 3.2), col, alpha=0.5)
    # signature swash written by the quill, ending at the nib
    pts = []
    for i in range(61):
        t = i / 60
        x = 48 + t * 290
        y = 186 + 7 * math.sin(t * math.pi * 2.2) - 8 * t
        pts.append((x, y))
    swash = polyline(pts, 2.2)
    c.paint(swash, lighten(INK, 0.2), alpha=0.85)
    # the word
    stroke = 10.5
    letters = []
    letters.append(ring(78, 118, 38, stroke))
    letters.append(capsule(92, 138, 114, 164, stroke))
    ux0, ux1, top, base = 136, 176, 96, 162
    letters.append(polyline([(ux0, top)] + arc_points((ux0 + ux1) / 2, 142, 20, math.pi, 0, 16)[0:1]
                            + arc_points((ux0 + ux1) / 2, 142, 20, math.pi, 0, 16) + [(ux1, top)], stroke))
    letters.append(capsule(ux1, top, ux1, base, stroke))
    letters.append(capsule(206, 102, 206, base, stroke))
    for lx in (236, 266):
        letters.append(polyline([(lx, 62), (lx, 146)] + arc_points(lx + 12, 146, 12, math.pi, math.pi / 2, 8), stroke))
    letters.append(ring(318, 131, 25, stroke))
    word = union(*letters)
    shadow = Canvas(w, h)
    shadow.paint(word.moved(4, 5), (0, 0, 0))
    c.over(shadow.blurred(2), opacity=0.25, tint=(50, 40, 40))
    c.paint(word, darken(INK, 0.45))
    c.paint(word, vgrad(lighten(INK, 0.45), darken(INK, 0.1), 60, 175), grow=-2.0)
    gloss = union(*[l.moved(-2.5, -3.5) for l in letters])
    glint = Canvas(w, h)
    glint.paint(gloss, (255, 255, 255), grow=-6.5)
    c.over(glint, opacity=0.35)
    # the i's dot is an ink drop
    d = drop(206, 78, 9, 19)
    c.paint(d.moved(2, 3), (80, 40, 30), alpha=0.25)
    c.paint(d, darken(CORAL, 0.35))
    c.paint(d, vgrad(lighten(CORAL, 0.4), CORAL, 59, 87), grow=-1.6)
    c.paint(circle(203, 75, 2.4), (255, 255, 255), alpha=0.8)
    # quill writing the swash
    draw_quill(c, 339, 170, 384, 30, 17)
    for x, y, r in ((356, 186, 4.5), (370, 196, 2.6), (330, 198, 2.0)):
        c.paint(circle(x, y, r), INK, alpha=0.85)
    for x, y, r in ((150, 60, 7), (300, 78, 5.5), (112, 82, 4)):
        c.paint(star4(x, y, r), SUN)
    # frame
    c.paint(subtract(rrect(0, 0, w, h, 0), rrect(5, 5, w - 5, h - 5, 12)), INK, alpha=0.9)
    c.paint(subtract(rrect(5, 5, w - 5, h - 5, 12), rrect(8, 8, w - 8, h - 8, 10)), (255, 255, 255), alpha=0.8)
    return c


# ---- effect panel buttons and browser icons -------------------------------
def gift(c, ox, oy, frame):
    box = rrect(ox + 26, oy + 14, ox + 54, oy + 34, 2)
    styled(c, box, CORAL)
    styled(c, rrect(ox + 23, oy + 9, ox + 57, oy + 16, 2), lighten(CORAL, 0.1))
    c.paint(rrect(ox + 38, oy + 9, ox + 42, oy + 34, 0.5), SUN)
    lift = [0, -1.5, -3, -1.5][frame]
    bow = union(circle(ox + 35, oy + 6 + lift, 3.6), circle(ox + 45, oy + 6 + lift, 3.6))
    c.paint(bow, darken(SUN, 0.3))
    c.paint(bow, SUN, grow=-1)
    if frame:
        for i in range(3):
            a = frame * 0.9 + i * 2.1
            c.paint(star4(ox + 40 + 22 * math.cos(a), oy + 20 + 14 * math.sin(a), 3.2), SUN)


def saver(c, ox, oy):
    styled(c, rrect(ox + 22, oy + 5, ox + 58, oy + 29, 3), SLATE)
    c.paint(rrect(ox + 25, oy + 8, ox + 55, oy + 26, 1), vgrad(darken(INK, 0.3), TEAL, oy + 8, oy + 26))
    c.paint(star4(ox + 33, oy + 14, 3), (255, 255, 255))
    c.paint(circle(ox + 47, oy + 18, 4), SUN, alpha=0.9)
    styled(c, rrect(ox + 34, oy + 29, ox + 46, oy + 33, 1), SLATE)


def panel_strip(kind):
    """80 x 39 pictures: 0 idle, 1 pressed, 2 hovered, 3 disabled (and for the
    animated gift 3..5 also the idle animation frames)."""
    pw, ph = 80, 39
    count = 6 if kind == 'gift' else 4
    strip = Canvas(pw, ph * count)
    for i in range(count):
        pic = Canvas(pw, ph, fill=(206, 206, 206))
        pressed = i == 1
        face = rrect(1.5, 1.5, pw - 1.5, ph - 1.5, 8)
        pic.paint(face, darken((206, 206, 206), 0.35))
        top = (226, 222, 214) if pressed else (255, 255, 255)
        bottom = (246, 240, 228) if i == 2 else ((200, 194, 184) if pressed else (228, 222, 210))
        pic.paint(face, vgrad(top, bottom, 0, ph), grow=-1.2)
        glyph = Canvas(pw, ph)
        if kind == 'gift':
            gift(glyph, 0, 0, max(0, i - 2) if i >= 3 else 0)
        else:
            saver(glyph, 0, 0)
        if i == 3 and kind != 'gift':
            pic.over(glyph.greyed(0.45), opacity=0.6)
        else:
            with_shadow(pic, glyph, 1 + pressed, 1 + pressed, 1, 0.25)
        strip.over(pic, 0, ph * i)
    return strip


def plug_icons():
    """200 x 100: 8 x 2 icons of 25 x 25; the lower half (y + 50) the same
    icons selected (white on blue)."""
    c = Canvas(200, 100, fill=(255, 255, 255))
    c.paint(rrect(0, 50, 200, 100, 0), (0, 0, 255))
    cols = [TEAL, PLUM, CORAL, INK, SUN, LEAF, WOOD, SLATE]

    def icon(k, ox, oy, selected):
        col = cols[k % 8] if not selected else (255, 255, 255)
        cx, cy = ox + 12.5, oy + 12.5
        shapes = [
            lambda: ring(cx, cy, 7, 2),                                   # lens
            lambda: union(ring(cx, cy, 8, 1.3), ring(cx, cy, 4, 1.3)),   # tunnel
            lambda: drop(cx, cy + 3, 6, 14),                              # water
            lambda: star4(cx, cy, 10),                                    # sparkle
            lambda: union(circle(cx, cy, 4.5), *[capsule(cx + 7 * math.cos(a), cy + 7 * math.sin(a),
                                                          cx + 10 * math.cos(a), cy + 10 * math.sin(a), 1)
                                                  for a in [i * math.pi / 4 for i in range(8)]]),  # light
            lambda: polyline([(ox + 3, cy + 2), (ox + 8, cy - 4), (ox + 13, cy + 2), (ox + 18, cy - 4),
                              (ox + 22, cy + 2)], 1.6),                   # wave
            lambda: polygon([(cx, oy + 3), (cx + 7, cy + 3), (cx + 3, oy + 22), (cx - 3, oy + 22),
                             (cx - 7, cy + 3)]),                          # flame
            lambda: rrect(ox + 5, oy + 5, ox + 20, oy + 20, 3),           # square
        ]
        s = shapes[k % 8]()
        if k >= 8:
            s = union(s, circle(ox + 20, oy + 20, 2.5))
        c.paint(s, col if selected else darken(col, 0.3))
        if not selected:
            c.paint(s, lighten(col, 0.25), grow=-1)

    for k in range(16):
        ox, oy = (k % 8) * 25, (k // 8) * 25
        icon(k, ox, oy, False)
        icon(k, ox, oy + 50, True)
    return c


# ---- icon and cursor -------------------------------------------------------
def app_icon(size):
    s = size / 32.0
    c = Canvas(size, size)
    tile = rrect(1 * s, 1 * s, 31 * s, 31 * s, 6 * s)
    c.paint(tile, darken(INK, 0.35))
    c.paint(tile, vgrad(lighten(TEAL, 0.2), INK, 0, size), grow=-max(1.0, s))
    d = drop(9.5 * s, 22.5 * s, 4.2 * s, 9.5 * s)
    c.paint(d, CORAL)
    c.paint(circle(8.3 * s, 21.5 * s, 1.1 * s), (255, 255, 255), alpha=0.7)
    vanes, (ax, ay, px, py, length) = quill_shape(14 * s, 28 * s, 26.5 * s, 5 * s, 4.6 * s)
    c.paint(vanes, darken(PLUM, 0.2), alpha=0.6, grow=0.6)
    c.paint(vanes, (255, 255, 255))
    c.paint(capsule(14.5 * s, 27 * s, 26 * s, 6 * s, 0.55 * s), darken(WOOD, 0.2), alpha=0.9)
    return c


def gift_icon(size):
    """The gift player's icon: the wrapped box of the Pack button on a tile."""
    s = size / 32.0
    c = Canvas(size, size)
    tile = rrect(1 * s, 1 * s, 31 * s, 31 * s, 6 * s)
    c.paint(tile, darken(INK, 0.35))
    c.paint(tile, vgrad(lighten(TEAL, 0.2), INK, 0, size), grow=-max(1.0, s))
    styled(c, rrect(7 * s, 14 * s, 25 * s, 28 * s, 1.5 * s), CORAL)
    styled(c, rrect(5 * s, 10 * s, 27 * s, 15 * s, 1.5 * s), lighten(CORAL, 0.1))
    c.paint(rrect(14.5 * s, 10 * s, 17.5 * s, 28 * s, 0.5 * s), SUN)
    bow = union(circle(12.5 * s, 7 * s, 3 * s), circle(19.5 * s, 7 * s, 3 * s))
    c.paint(bow, darken(SUN, 0.3))
    c.paint(bow, SUN, grow=-max(0.7, s))
    return c


def cursor_grid():
    """Crosshair with a gap at its hot spot (15, 15) and a small quill."""
    g = [[None] * 32 for _ in range(32)]
    shape = set()
    for i in range(3, 28):
        if abs(i - 15) > 2:
            shape.add((i, 15))
            shape.add((15, i))
    quill, _ = quill_shape(18, 30, 30, 17, 3.6)
    for y in range(32):
        for x in range(32):
            if quill.sdf(x + 0.5, y + 0.5) < 0.2:
                shape.add((x, y))
    for x, y in shape:
        for dx in (-1, 0, 1):
            for dy in (-1, 0, 1):
                nx, ny = x + dx, y + dy
                if 0 <= nx < 32 and 0 <= ny < 32 and g[ny][nx] is None:
                    g[ny][nx] = 1  # white halo
    for x, y in shape:
        g[y][x] = 0
    # the quill's inner part light, its outline dark
    for y in range(32):
        for x in range(32):
            if quill.sdf(x + 0.5, y + 0.5) < -0.9:
                g[y][x] = 1
    return g


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)

    def bmp(name, canvas):
        write_bmp(os.path.join(out, name + '.bmp'), canvas.rgb_rows())

    bmp('Bar', draw_bar())
    for name, fn in BUTTONS:
        bmp('btn_' + name, button_strip(fn))
    bmp('Back', draw_back())
    bmp('ThumbPane', draw_pane_tile())
    bmp('Logo', draw_logo())
    bmp('Pack', panel_strip('gift'))
    bmp('Saver', panel_strip('saver'))
    bmp('Plug', plug_icons())
    bmp('BkGnd', button_face())
    bmp('ThumbSpin', spin_header())
    write_ico(os.path.join(out, 'bxView.ico'), [app_icon(32), app_icon(16)])
    write_cur(os.path.join(out, 'bxView.cur'), cursor_grid(), (15, 15))
    write_ico(os.path.join(out, 'Posy.ico'), [gift_icon(32), gift_icon(16)])


if __name__ == '__main__':
    main()
