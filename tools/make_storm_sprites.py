#!/usr/bin/env python3
"""Draws the sprite storm's pictures as packed 24-bit DIB files.

The storm stamps its five 200 x 200 sprites into a glow buffer that is
added to the picture, so each is light on black: black pixels leave the glow
as it was, and everything fades to black well inside the square so no edge
of it ever shows.

  Blob     a soft round glow, white-hot in the middle, amber outside
  Ellipse  a tilted elliptical ring of cyan light around a faint haze
  Flare    a golden flare: a bright core with four long and four short rays
  Lens     a lens flare: a violet disc, a green ring and a soft halo
  SNova    a supernova: a blue-white core bursting into many thin rays
  Swirl    (240 x 160) a spiral of coloured arms, carried but not drawn

A packed DIB is a 40-byte BITMAPINFOHEADER (24 bits a pixel, no colour
table) followed by bottom-up rows of blue, green, red bytes (rows of 600 and
720 bytes need no padding).

usage: make_storm_sprites.py OUTPUT_DIR [--cpp FILE] [--png DIR]
  --cpp FILE  also writes the five sprites as C++ byte arrays (for tools
              that run without the plug-in module)
  --png DIR   also writes PNG previews over a dark picture
"""
import math
import os
import sys

from sprite_files import packed_dib, write_cpp_arrays, write_png

SIDE = 200


def clamp01(v):
    return 0.0 if v < 0 else 1.0 if v > 1 else v


def edge_fade(r):
    """1 inside, falling smoothly to 0 at 0.98 of the half-side."""
    t = clamp01((0.98 - r) / 0.2)
    return t * t * (3 - 2 * t)


def mix(white, light, tint):
    """A colour from a white part and a tinted part, each 0 ... 1."""
    return tuple(min(255, int(round(255 * (white + c / 255.0 * light * (1 - white))))) for c in tint)


def blob(u, v):
    r = math.hypot(u, v)
    core = math.exp(-(r / 0.16) ** 2)
    glow = 0.85 * math.exp(-(r / 0.45) ** 2) + 0.25 * math.exp(-r / 0.3)
    f = edge_fade(r)
    return mix(core * f, min(1.0, glow) * f, (255, 150, 50))


def ellipse(u, v):
    a = math.radians(30)
    x = u * math.cos(a) + v * math.sin(a)
    y = -u * math.sin(a) + v * math.cos(a)
    e = math.hypot(x / 0.78, y / 0.42)  # 1 on the ring
    ring = math.exp(-((e - 1) / 0.09) ** 2)
    haze = 0.3 * math.exp(-(e / 0.8) ** 2)
    r = math.hypot(u, v)
    f = edge_fade(r)
    return mix(0.55 * ring ** 3 * f, min(1.0, ring + haze) * f, (60, 220, 255))


def flare(u, v):
    r = math.hypot(u, v)
    angle = math.atan2(v, u)
    core = math.exp(-(r / 0.1) ** 2)
    ray = 0.0
    for k in range(8):
        a = k * math.pi / 4
        length = 0.95 if k % 2 == 0 else 0.5
        along = r * math.cos(angle - a)
        if along <= 0:
            continue
        across = abs(r * math.sin(angle - a))
        ray = max(ray, math.exp(-(across / 0.025) ** 2) * clamp01(1 - along / length) ** 1.5)
    glow = 0.6 * math.exp(-(r / 0.3) ** 2)
    f = edge_fade(r)
    return mix(min(1.0, core + 0.7 * ray * ray) * f, min(1.0, glow + ray) * f, (255, 200, 70))


def lens(u, v):
    r = math.hypot(u, v)
    disc = 0.55 * clamp01((0.32 - r) / 0.04 + 1) * (0.6 + 0.4 * (r / 0.32) ** 2)
    ring = math.exp(-((r - 0.62) / 0.05) ** 2)
    halo = 0.25 * math.exp(-((r - 0.45) / 0.25) ** 2)
    f = edge_fade(r)
    violet, green = (170, 90, 255), (80, 255, 140)
    out = []
    for cv, cg in zip(violet, green):
        out.append(min(255, int(round((cv * (disc + halo) + cg * ring) * f))))
    return tuple(out)


def snova(u, v):
    r = math.hypot(u, v)
    angle = math.atan2(v, u)
    core = math.exp(-(r / 0.12) ** 2)
    # Many thin rays of uneven length, from a fixed pattern of sines.
    spikes = 0.0
    for k, w in ((13, 1.0), (29, 0.7), (47, 0.5)):
        spikes += w * max(0.0, math.cos(k * angle + 1.3 * k)) ** 24
    length = 0.55 + 0.35 * (0.5 + 0.5 * math.sin(7 * angle + 0.4))
    rays = min(1.0, spikes) * clamp01(1 - r / length) ** 1.2
    glow = 0.7 * math.exp(-(r / 0.28) ** 2)
    f = edge_fade(r)
    return mix(min(1.0, core + 0.5 * rays) * f, min(1.0, glow + rays) * f, (150, 160, 255))


def swirl_pixels(width=240, height=160):
    rows = []
    for y in range(height):
        row = []
        for x in range(width):
            u, v = (x - width / 2) / (height / 2), (y - height / 2) / (height / 2)
            r = math.hypot(u, v)
            a = math.atan2(v, u)
            arm = 0.5 + 0.5 * math.cos(3 * a - 6 * r)
            glow = arm ** 3 * math.exp(-r / 0.9)
            row.append(mix(0.3 * glow ** 2, glow, (255, 120 + int(100 * (0.5 + 0.5 * math.sin(a))), 200)))
        rows.append(row)
    return rows


SPRITES = [('Blob', blob), ('Ellipse', ellipse), ('Flare', flare), ('Lens', lens), ('SNova', snova)]


def sprite_pixels(shape):
    """Rows top-down of (r, g, b) tuples."""
    half = SIDE / 2.0
    centre = (SIDE - 1) / 2.0
    return [[shape((x - centre) / half, (y - centre) / half) for x in range(SIDE)] for y in range(SIDE)]


def preview(rows):
    """The sprite added to a dark blue-grey picture, as the storm adds its glow."""
    return [[tuple(min(255, p + b) for p, b in zip(px, (18, 22, 34))) for px in row] for row in rows]


def main():
    args = sys.argv[1:]
    if not args:
        sys.exit(__doc__)
    out_dir = args[0]
    cpp = args[args.index('--cpp') + 1] if '--cpp' in args else None
    png_dir = args[args.index('--png') + 1] if '--png' in args else None
    os.makedirs(out_dir, exist_ok=True)
    pictures = [(name, sprite_pixels(shape)) for name, shape in SPRITES]
    pictures.append(('Swirl', swirl_pixels()))
    arrays = []
    for name, rows in pictures:
        dib = packed_dib(rows)
        with open(os.path.join(out_dir, name + '.dib'), 'wb') as f:
            f.write(dib)
        if name != 'Swirl':
            arrays.append((name, dib))
        if png_dir:
            os.makedirs(png_dir, exist_ok=True)
            write_png(os.path.join(png_dir, name + '.png'), preview(rows))
    if cpp:
        write_cpp_arrays(cpp, 'Drawn by tools/make_storm_sprites.py: the storm sprites as packed DIBs.', arrays, 'StormSprite')


if __name__ == '__main__':
    main()
