#!/usr/bin/env python3
"""Draws the print preview library's pictures: the tool bar strip "BMP"
(20 x 20 cells, ten per row; for each row of ten commands three rows of
cells: normal, pressed, checked or disabled), the "Move" and "Zoom" cursors
and the "Preview" icon. Shapes and files come from make_art.py, so the
preview looks like the rest of the studio.

usage: make_preview_art.py OUTPUT_DIR
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_art import (CORAL, INK, LEAF, PAPER, PLUM, SLATE, SUN, TEAL, Canvas, capsule,  # noqa: E402
                      circle, darken, lighten, polygon, ring, rrect, styled, union, with_shadow,
                      write_bmp, write_cur, write_ico)

CELL = 20
PER_ROW = 10
FACE = (192, 192, 192)  # the tool bar's light grey


def sheet(c, x0, y0, x1, y1, tint=PAPER):
    styled(c, rrect(x0, y0, x1, y1, 1.2), tint, light=0.1, edge=0.9)


def lines(c, x0, x1, ys):
    for y in ys:
        c.paint(capsule(x0, y, x1, y, 0.45), SLATE)


def printer(c):
    styled(c, rrect(2.5, 8, 17.5, 15, 2), SLATE)
    sheet(c, 5.5, 3, 14.5, 9)
    sheet(c, 5.5, 13, 14.5, 18)
    c.paint(circle(15, 10.5, 0.9), LEAF)


def glyph_two_pages(c):
    sheet(c, 1.5, 3, 9.5, 17)
    sheet(c, 10.5, 3, 18.5, 17)
    lines(c, 3.5, 7.5, (6, 8.5, 11))
    lines(c, 12.5, 16.5, (6, 8.5, 11))


def glyph_one_page(c):
    sheet(c, 5, 2, 15, 18)
    lines(c, 7, 13, (5.5, 8, 10.5, 13))


def glyph_print(c):
    printer(c)


def arrow(c, pointing_right):
    pts = [(6, 4), (14, 10), (6, 16)] if pointing_right else [(14, 4), (6, 10), (14, 16)]
    styled(c, polygon(pts), TEAL)


def glyph_previous(c):
    arrow(c, False)


def glyph_next(c):
    arrow(c, True)


def glyph_setup(c):
    printer(c)
    c.paint(ring(14.5, 14.5, 3.2, 1.1), darken(SUN, 0.2))
    c.paint(circle(14.5, 14.5, 1.0), darken(SUN, 0.2))


def glass(c, sign):
    c.paint(capsule(12.5, 12.5, 17.5, 17.5, 1.6), darken(SLATE, 0.25))
    c.paint(circle(8.5, 8.5, 5.8), darken(INK, 0.1))
    c.paint(circle(8.5, 8.5, 4.6), lighten((196, 228, 244), 0.3))
    c.paint(capsule(6, 8.5, 11, 8.5, 0.7), INK)
    if sign > 0:
        c.paint(capsule(8.5, 6, 8.5, 11, 0.7), INK)


def glyph_zoom_in(c):
    glass(c, 1)


def glyph_zoom_out(c):
    glass(c, -1)


def glyph_exit(c):
    styled(c, rrect(3, 3, 17, 17, 3), CORAL)
    c.paint(capsule(7, 7, 13, 13, 1.1), PAPER)
    c.paint(capsule(13, 7, 7, 13, 1.1), PAPER)


def glyph_help(c):
    styled(c, circle(10, 10, 7.5), INK)
    c.paint(circle(10, 6.2, 1.3), PAPER)
    c.paint(capsule(10, 9.2, 10, 14.6, 1.1), PAPER)


def glyph_print_page(c):
    sheet(c, 4, 2, 13, 14)
    lines(c, 6, 11, (5, 7.5, 10))
    styled(c, rrect(8, 11, 18, 18, 1.5), SLATE)
    c.paint(circle(15.5, 14.5, 0.8), LEAF)


def glyph_meter(c):
    styled(c, rrect(1.5, 6.5, 18.5, 13.5, 1), SUN, light=0.2)
    for i, x in enumerate(range(3, 18, 2)):
        c.paint(capsule(x, 7.3, x, 9.5 if i % 2 else 11, 0.4), darken(SUN, 0.55))


def glyph_magnifier(c):
    sheet(c, 2, 2, 12, 17)
    lines(c, 4, 10, (5, 7.5, 10, 12.5))
    c.paint(capsule(14, 14, 18, 18, 1.5), darken(SLATE, 0.25))
    c.paint(circle(11.5, 11.5, 4.8), darken(INK, 0.1))
    c.paint(circle(11.5, 11.5, 3.7), lighten((196, 228, 244), 0.35))
    c.paint(capsule(10, 11.5, 13, 11.5, 1.2), SLATE)


def glyph_save_file(c):
    styled(c, rrect(3, 3, 17, 17, 1.5), INK)
    c.paint(rrect(6, 3.5, 14, 8, 0.5), PAPER)
    c.paint(rrect(5.5, 11, 14.5, 16.5, 0.8), lighten(INK, 0.6))


def glyph_font(c):
    styled(c, union(polygon([(4, 17), (9, 3), (11, 3), (16, 17), (13.5, 17), (10, 6.5), (6.5, 17)]),
                    rrect(7, 11, 13, 12.8, 0.3)), PLUM)


def glyph_add_text(c):
    sheet(c, 3, 2, 14, 18)
    lines(c, 5, 12, (5, 7.5, 10))
    c.paint(capsule(12, 15, 18, 15, 1.2), LEAF)
    c.paint(capsule(15, 12, 15, 18, 1.2), LEAF)


def glyph_user(c):
    styled(c, polygon([(10, 2.5), (12.2, 7.6), (17.6, 8), (13.4, 11.5), (14.8, 17), (10, 14),
                       (5.2, 17), (6.6, 11.5), (2.4, 8), (7.8, 7.6)]), SUN)


def glyph_copies(c):
    sheet(c, 7, 2, 17, 14)
    sheet(c, 3, 6, 13, 18)
    lines(c, 5, 11, (9.5, 12, 14.5))


# Glyphs by command ID - 24000; 13 has no command.
GLYPHS = {
    0: glyph_two_pages, 1: glyph_one_page, 2: glyph_print, 3: glyph_previous, 4: glyph_next,
    5: glyph_setup, 6: glyph_zoom_in, 7: glyph_zoom_out, 8: glyph_exit, 9: glyph_help,
    10: glyph_print_page, 11: glyph_meter, 12: glyph_magnifier, 14: glyph_save_file,
    15: glyph_font, 16: glyph_add_text, 17: glyph_user, 18: glyph_copies,
}


def bevel(c, sunken):
    hi, lo = ((128, 128, 128), (255, 255, 255)) if sunken else ((255, 255, 255), (128, 128, 128))
    for i in range(CELL):
        c.px[i] = (*hi, 1.0)
        c.px[i * CELL] = (*hi, 1.0)
        c.px[(CELL - 1) * CELL + i] = (*lo, 1.0)
        c.px[i * CELL + CELL - 1] = (*lo, 1.0)


def cells(fn):
    """The three cells of one command: normal, pressed, checked or disabled."""
    glyph = Canvas(CELL, CELL)
    fn(glyph)
    out = []
    normal = Canvas(CELL, CELL, FACE)
    with_shadow(normal, glyph, 1, 1, 1, 0.25)
    bevel(normal, False)
    out.append(normal)
    pressed = Canvas(CELL, CELL, darken(FACE, 0.08))
    moved = Canvas(CELL, CELL)
    moved.over(glyph, 1, 1)
    pressed.over(moved)
    bevel(pressed, True)
    out.append(pressed)
    checked = Canvas(CELL, CELL, lighten(FACE, 0.55))
    checked.over(glyph.greyed(0.2), 1, 1)
    bevel(checked, True)
    out.append(checked)
    return out


def strip():
    blocks = (max(GLYPHS) // PER_ROW) + 1
    canvas = Canvas(CELL * PER_ROW, CELL * 3 * blocks, FACE)
    for k, fn in GLYPHS.items():
        col, block = k % PER_ROW, k // PER_ROW
        for row, cell in enumerate(cells(fn)):
            canvas.over(cell, col * CELL, (block * 3 + row) * CELL)
    return canvas


def outlined(shape_pixels):
    """Cursor grid: the shape black with a one-pixel white halo."""
    g = [[None] * 32 for _ in range(32)]
    for x, y in shape_pixels:
        for dx in (-1, 0, 1):
            for dy in (-1, 0, 1):
                nx, ny = x + dx, y + dy
                if 0 <= nx < 32 and 0 <= ny < 32 and g[ny][nx] is None:
                    g[ny][nx] = 1
    for x, y in shape_pixels:
        g[y][x] = 0
    return g


def move_cursor():
    """Four arrows from the centre (15, 15)."""
    pts = set()
    for i in range(-10, 11):
        pts.add((15 + i, 15))
        pts.add((15, 15 + i))
    for k in range(1, 5):
        for j in range(-k, k + 1):
            pts.update({(5 + k, 15 + j), (25 - k, 15 + j), (15 + j, 5 + k), (15 + j, 25 - k)})
    return outlined(pts), (15, 15)


def zoom_cursor():
    """A magnifying glass whose lens centre is the hot spot."""
    pts = set()
    for y in range(32):
        for x in range(32):
            d = ((x - 11) ** 2 + (y - 11) ** 2) ** 0.5
            if 6.2 <= d <= 7.8:
                pts.add((x, y))
    for t in range(0, 9):
        for w in (-1, 0, 1):
            pts.add((17 + t + w, 17 + t))
    for i in range(-3, 4):
        pts.add((11 + i, 11))
        pts.add((11, 11 + i))
    return outlined(pts), (11, 11)


def preview_icon(size):
    c = Canvas(size, size)
    s = size / 32.0
    styled(c, rrect(5 * s, 2 * s, 23 * s, 28 * s, 2 * s), PAPER, light=0.1)
    for y in (7, 11, 15):
        c.paint(capsule(8 * s, y * s, 20 * s, y * s, 0.8 * s), SLATE)
    c.paint(rrect(8 * s, 18 * s, 16 * s, 24 * s, 1 * s), TEAL)
    c.paint(capsule(22 * s, 22 * s, 29 * s, 29 * s, 2.2 * s), darken(SLATE, 0.25))
    c.paint(circle(19 * s, 19 * s, 7 * s), darken(INK, 0.1))
    c.paint(circle(19 * s, 19 * s, 5.5 * s), lighten((196, 228, 244), 0.3), alpha=0.85)
    return c


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    write_bmp(os.path.join(out, 'BMP.bmp'), strip().rgb_rows(FACE))
    grid, hot = move_cursor()
    write_cur(os.path.join(out, 'Move.cur'), grid, hot)
    grid, hot = zoom_cursor()
    write_cur(os.path.join(out, 'Zoom.cur'), grid, hot)
    write_ico(os.path.join(out, 'Preview.ico'), [preview_icon(32), preview_icon(16)])


if __name__ == '__main__':
    main()
