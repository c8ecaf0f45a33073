#!/usr/bin/env python3
"""Draws the star field's four sprites as packed 24-bit DIB files.

Each sprite is a glowing star on black, meant to be combined with a picture
by a per-byte maximum: a soft radial glow in the sprite's tint, a white
core and rays, all fading to black well inside the square so no edge shows.
The four differ in size and shape:

  Queen  64 x 64  eight rays (four long, four short diagonals), golden glow
  Bee    32 x 32  six rays, blue-white glow
  Star2  20 x 20  four thin rays, rose glow
  Star3  12 x 12  a round glint with a faint cross, green-white glow

A packed DIB is a 40-byte BITMAPINFOHEADER (24 bits a pixel, no colour
table) followed by bottom-up rows of blue, green, red bytes without padding.

usage: make_star_sprites.py OUTPUT_DIR [--cpp FILE] [--png DIR]
  --cpp FILE  also writes the sprites as C++ byte arrays (for tools that run
              without the resource module)
  --png DIR   also writes enlarged PNG previews over a dark picture
"""
import math
import os
import sys

from sprite_files import packed_dib, write_cpp_arrays, write_png

# name, size, rays, long/short ray pattern, ray width, glow tint (r, g, b)
SPRITES = [
    ('Queen', 64, 8, True, 0.9, (255, 200, 90)),
    ('Bee', 32, 6, False, 0.8, (120, 170, 255)),
    ('Star2', 20, 4, False, 0.55, (255, 130, 170)),
    ('Star3', 12, 4, False, 0.5, (150, 255, 170)),
]


def star_pixels(size, rays, alternate, ray_width, tint):
    """Rows top-down of (r, g, b) tuples."""
    centre = (size - 1) / 2.0
    radius = size / 2.0
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            dx, dy = x - centre, y - centre
            r = math.hypot(dx, dy) / radius  # 0 at the centre, 1 at the edge midpoints
            angle = math.atan2(dy, dx)
            core = math.exp(-(r / max(0.13, 1.3 / radius)) ** 2)
            glow = 0.55 * math.exp(-r / 0.22) + 0.25 * math.exp(-(r / 0.5) ** 2)
            ray = 0.0
            for k in range(rays):
                a = k * 2 * math.pi / rays
                length = 1.0 if not alternate or k % 2 == 0 else 0.6
                along = r * math.cos(angle - a)
                if along <= 0:
                    continue
                across = abs(r * math.sin(angle - a)) * radius
                fade = max(0.0, 1 - along / length) ** 1.6
                ray = max(ray, math.exp(-(across / ray_width) ** 2) * fade)
            if size <= 12:
                ray *= 0.6
            # Everything fades out before the square's border.
            edge = max(0.0, min(1.0, (1.0 - r) / 0.25))
            light = min(1.0, glow + ray) * edge
            white = min(1.0, core + 0.6 * ray * ray) * edge
            row.append(tuple(min(255, int(round(255 * white + c * light * (1 - white)))) for c in tint))
        rows.append(row)
    return rows


def preview(rows, scale=4):
    """The sprite enlarged over a dark blue-grey picture, combined by maximum."""
    out = []
    for y in range(len(rows) * scale):
        line = []
        for x in range(len(rows[0]) * scale):
            px = rows[y // scale][x // scale]
            line.append(tuple(max(p, b) for p, b in zip(px, (18, 22, 34))))
        out.append(line)
    return out


def main():
    args = sys.argv[1:]
    if not args:
        sys.exit(__doc__)
    out_dir = args[0]
    cpp = args[args.index('--cpp') + 1] if '--cpp' in args else None
    png_dir = args[args.index('--png') + 1] if '--png' in args else None
    os.makedirs(out_dir, exist_ok=True)
    arrays = []
    for name, size, rays, alternate, width, tint in SPRITES:
        rows = star_pixels(size, rays, alternate, width, tint)
        dib = packed_dib(rows)
        with open(os.path.join(out_dir, name + '.dib'), 'wb') as f:
            f.write(dib)
        arrays.append((name, dib))
        if png_dir:
            os.makedirs(png_dir, exist_ok=True)
            write_png(os.path.join(png_dir, name + '.png'), preview(rows, 256 // size))
    if cpp:
        write_cpp_arrays(cpp, 'Drawn by tools/make_star_sprites.py: the star sprites as packed DIBs.', arrays, 'Sprite')


if __name__ == '__main__':
    main()
