// Picture reduction for the preview control: reading a packed DIB of any
// stored depth, choosing the size that fits a box, and area-averaging
// (box filter) reduction to 24-bit rows. Portable: no Windows headers.
#pragma once
#include <cstddef>
#include <cstdint>

namespace quillo::bxui {

// A packed DIB (info header, colour masks or colour table, pixel rows) whose
// every part has been checked to lie inside the bytes that hold it.
struct DibSource {
  const uint8_t* rows = nullptr;  // first stored row
  int64_t stride = 0;             // bytes per stored row
  int32_t width = 0;
  int32_t height = 0;             // always positive
  bool topDown = false;           // stored rows run top to bottom
  uint16_t bitCount = 0;          // 1, 4, 8, 16, 24 or 32
  const uint8_t* palette = nullptr;  // blue, green, red, reserved entries
  uint32_t paletteEntries = 0;
  uint32_t masks[3] = {0, 0, 0};     // red, green, blue for 16 and 32 bits
};

// Checks the DIB in data[0..bytes) and describes it. Accepts uncompressed
// 1/4/8/16/24/32-bit pixels and bit-field 16/32-bit pixels, bottom-up or
// top-down. False for anything else or anything that does not fit.
bool ParsePackedDib(const uint8_t* data, size_t bytes, DibSource* out);

// Row y (counted from the top) as width blue, green, red triples. Palette
// indexes beyond the colour table read as black.
void ReadRowBgr(const DibSource& source, int32_t y, uint8_t* bgr);

struct PreviewSize {
  int32_t width = 0;
  int32_t height = 0;
};

// The largest size with the source's aspect ratio that fits boxWidth x
// boxHeight, never larger than the source itself; each side at least 1.
// {0, 0} when any argument is not positive.
//   width-limited:  w = boxWidth,  h = trunc(srcH * boxWidth / srcW + 0.5)
//   height-limited: h = boxHeight, w = trunc(srcW * boxHeight / srcH + 0.5)
PreviewSize FitPreviewSize(int64_t sourceWidth, int64_t sourceHeight, int64_t boxWidth,
                           int64_t boxHeight);

// Area-averaging resample of `source` to width x height 24-bit pixels.
// Destination pixel (X, Y) covers the source rectangle
// [X*sw/w, (X+1)*sw/w) x [Y*sh/h, (Y+1)*sh/h); its value is the mean of the
// source pixels weighted by the area each shares with that rectangle,
// rounded to nearest. Weights are exact integers (source and destination
// grids are both scaled to w*sw by h*sh units), so a constant picture stays
// constant and equal sizes copy the pixels unchanged. Rows are written
// bottom-up (row Y at target + (height-1-Y)*stride) when bottomUp is set.
// False when a size is not positive or scratch memory cannot be had.
bool BoxReduce(const DibSource& source, uint8_t* target, int64_t targetStride, int32_t width,
               int32_t height, bool bottomUp);

}  // namespace quillo::bxui
