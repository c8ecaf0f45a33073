#!/usr/bin/env python3
"""Draws the project's cursors as 32 x 32 monochrome .cur files.

Each cursor is a shape given as a function of the pixel position in a frame
that runs along the tool's axis (u from the working tip, v across it). Shape
pixels touching the outside get a black outline, the inside is white, and
parts marked dark (a pencil's lead, a brush's paint) are black.

usage: make_cursors.py OUTPUT_DIR
"""
import math
import os
import struct
import sys

SIZE = 32


def tool_cursor(tip, tail, profile):
    """profile(u, v) -> None (outside), 'light' or 'dark' along the axis tip->tail."""
    (x0, y0), (x1, y1) = tip, tail
    length = math.hypot(x1 - x0, y1 - y0)
    ax, ay = (x1 - x0) / length, (y1 - y0) / length
    grid = [[None] * SIZE for _ in range(SIZE)]
    for y in range(SIZE):
        for x in range(SIZE):
            dx, dy = x + 0.5 - x0, y + 0.5 - y0
            u = dx * ax + dy * ay
            v = -dx * ay + dy * ax
            grid[y][x] = profile(u, v)
    return grid


def pencil(u, v):
    if u < 0 or u > 30:
        return None
    if u < 7:  # sharpened cone
        if abs(v) > u * 0.5 + 0.3:
            return None
        return 'dark' if u < 2.6 else 'light'
    if abs(v) > 3.8:
        return None
    if u > 25:  # ferrule and eraser
        return 'dark' if 25 < u < 26.5 else 'light'
    return 'dark' if abs(v) < 0.7 and 9 < u < 24 else 'light'


def brush(u, v):
    if u < 0 or u > 31:
        return None
    if u < 9:  # bristles loaded with paint, widening from the tip
        if abs(v) > 1.0 + u * 0.42:
            return None
        return 'dark'
    if u < 13:  # ferrule
        return None if abs(v) > 4.3 else ('dark' if abs(u - 11) < 0.6 else 'light')
    width = 3.2 - (u - 13) * 0.09
    if abs(v) > max(width, 1.4):
        return None
    return 'light'


def hand_grid():
    """A hand with its forefinger raised; the hot spot is the fingertip."""
    rows = [
        "      XX          ",
        "     X..X         ",
        "     X..X         ",
        "     X..X         ",
        "     X..XXX       ",
        "     X..X..XXX    ",
        "     X..X..X..XX  ",
        " XXX X..X..X..X.X ",
        " X..XX........X.X ",
        " X...X..........X ",
        "  X..X..........X ",
        "  X.............X ",
        "   X............X ",
        "   X...........X  ",
        "    X..........X  ",
        "    X.........X   ",
        "     X........X   ",
        "     XXXXXXXXXX   ",
    ]
    grid = [[None] * SIZE for _ in range(SIZE)]
    for y, row in enumerate(rows):
        for x, ch in enumerate(row):
            if ch == 'X':
                grid[y + 2][x + 4] = 'dark'
            elif ch == '.':
                grid[y + 2][x + 4] = 'light'
    return grid


def hit_grid():
    """A splash target: a ring with four ticks and a dot where the drop lands."""
    centre = 15.5
    grid = [[None] * SIZE for _ in range(SIZE)]
    for y in range(SIZE):
        for x in range(SIZE):
            dx, dy = x + 0.5 - centre, y + 0.5 - centre
            r = math.hypot(dx, dy)
            if 7.0 <= r <= 10.0:
                grid[y][x] = 'light'
            elif (abs(dx) < 1.5 and 11.0 <= abs(dy) <= 15.0) or (abs(dy) < 1.5 and 11.0 <= abs(dx) <= 15.0):
                grid[y][x] = 'light'
            elif r <= 2.2:
                grid[y][x] = 'light'
    return grid


def outline(grid):
    out = [[None] * SIZE for _ in range(SIZE)]
    for y in range(SIZE):
        for x in range(SIZE):
            if grid[y][x] is None:
                continue
            edge = False
            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                nx, ny = x + dx, y + dy
                if not (0 <= nx < SIZE and 0 <= ny < SIZE) or grid[ny][nx] is None:
                    edge = True
            out[y][x] = 'dark' if edge else grid[y][x]
    return out


def write_cur(path, grid, hotspot):
    row_bytes = 4  # 32 pixels at 1 bit
    xor_rows, and_rows = [], []
    for y in range(SIZE - 1, -1, -1):  # bottom-up
        xor_bits = and_bits = 0
        for x in range(SIZE):
            p = grid[y][x]
            bit = 1 << (31 - x)
            if p is None:
                and_bits |= bit
            elif p == 'light':
                xor_bits |= bit
        xor_rows.append(struct.pack('>I', xor_bits))
        and_rows.append(struct.pack('>I', and_bits))
    header = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE * 2, 1, 1, 0, row_bytes * SIZE * 2, 0, 0, 2, 2)
    palette = struct.pack('<BBBBBBBB', 0, 0, 0, 0, 255, 255, 255, 0)
    image = header + palette + b''.join(xor_rows) + b''.join(and_rows)
    directory = struct.pack('<HHH', 0, 2, 1)
    entry = struct.pack('<BBBBHHII', SIZE, SIZE, 2, 0, hotspot[0], hotspot[1], len(image), 6 + 16)
    with open(path, 'wb') as f:
        f.write(directory + entry + image)


def main():
    out_dir = sys.argv[1]
    os.makedirs(out_dir, exist_ok=True)
    write_cur(os.path.join(out_dir, 'pencil.cur'), outline(tool_cursor((1, 30), (30, 1), pencil)), (1, 30))
    write_cur(os.path.join(out_dir, 'brush.cur'), outline(tool_cursor((1, 30), (30, 1), brush)), (1, 30))
    write_cur(os.path.join(out_dir, 'hit.cur'), outline(hit_grid()), (15, 15))
    write_cur(os.path.join(out_dir, 'hand.cur'), hand_grid(), (10, 2))


if __name__ == '__main__':
    main()
