// Portable part of frame building: the common depth of the frame DIBs and
// the placement of one image's indices into a bottom-up DIB pixel block.
#pragma once
#include <cstdint>

#include "gif_decode.h"

namespace gifanim {

// 1, 4 or 8 bits per pixel from the largest colour table of the file (global
// and local): at most 2 entries -> 1, up to 16 -> 4, more -> 8. Taking the
// largest table keeps every local table inside the DIB's colour table.
int FrameBitCount(const GifImage& img);

// Entries of the DIB colour table for a depth: 2, 16 or 256.
int TableEntries(int bit_count);

// Fills `entries` RGBQUADs of a DIB colour table from the frame's palette: a
// longer palette is cut at `entries`, a shorter one leaves the rest black.
void FillColourTable(const GifFrame& f, uint8_t* table, int entries);

// Writes the frame's kept indices at (left, top) into `bits`, the pixel rows of a
// bottom-up DIB of screen_width x screen_height at bit_count with row
// `stride` bytes (`size` bytes in all). Image row r goes to DIB row
// screen_height - top - r - 1; pixels outside the screen are not written.
// 8 bits: the byte; 4 bits: the index's low nibble, even column high; 1 bit:
// any nonzero index sets the bit, bit 7 leftmost. Pixels the frame does not
// hold are left as they are. False when the block is too small for the stated
// size or the indices do not match the frame's kept corner.
bool PlaceFrame(const GifFrame& f, uint8_t* bits, uint64_t size, uint64_t stride,
                int screen_width, int screen_height, int bit_count);

}  // namespace gifanim
