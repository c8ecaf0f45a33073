// Depth conversion, grey, clipping and filling of DIBs (portable).
#pragma once
#include <cstdint>

#include "dib_check.h"

namespace quillo::dib {

// True when the image already is what effects work on: 24 bits, a 40-byte
// header and no colour table.
bool IsPlain24(const DibInfo& info);
// Shape of the 24-bit copy of an image (same size and resolution).
DibShape Bgr24Shape(const uint8_t* block, const DibInfo& info);
// Writes the 24-bit copy into `out` (DibBlockSize(Bgr24Shape(...)) bytes).
void ConvertTo24(const uint8_t* block, const DibInfo& info, uint8_t* out);

// Grey level of a colour: (77 r + 150 g + 29 b) >> 8, weights summing to 256
// so white stays 255.
inline uint8_t GreyLevel(uint8_t b, uint8_t g, uint8_t r) {
  return uint8_t((77u * r + 150u * g + 29u * b) >> 8);
}
// Turns the image grey in place: the colour table of paletted images, every
// pixel otherwise (the fourth byte of 32-bit pixels is kept).
void GreyInPlace(uint8_t* block, const DibInfo& info);

// A rectangle in image pixels, y from the top.
struct PixelRect {
  int64_t left = 0, top = 0, width = 0, height = 0;
};
// Intersects the rectangle with the image. False when nothing is left
// (empty rectangle or entirely outside).
bool ClipToImage(const DibInfo& info, int64_t left, int64_t top, int64_t width, int64_t height,
                 PixelRect* rect);
// Shape of the copy of `rect` (already clipped): same depth, table, masks.
DibShape ClipShape(const uint8_t* block, const DibInfo& info, const PixelRect& rect);
void CopyRect(const uint8_t* block, const DibInfo& info, const PixelRect& rect, uint8_t* out);

// Sets every pixel to the stored value that shows blue, green, red (the
// nearest table entry for paletted images).
void FillDib(uint8_t* block, const DibInfo& info, const uint8_t bgr[3]);

}  // namespace quillo::dib
