// A 24-bit picture laid out as a DIB's pixels (rows bottom-up, blue green
// red, rows padded to 4 bytes): what every effect kernel reads and writes,
// and what the render tool and the example maker pass between them.
#pragma once
#include <cstdint>
#include <vector>

#include "imaging/basics/pixel_pass.h"

namespace quillo::render {

// Pictures are limited to this side and this many pixels, so a lying file
// header cannot make a size product wrap or exhaust memory.
constexpr int kMaxPictureSide = 16384;
constexpr int64_t kMaxPicturePixels = int64_t(1) << 26;

struct Picture {
  int width = 0;
  int height = 0;
  int stride = 0;  // ((width * 24 + 31) / 32) * 4
  std::vector<uint8_t> pixels;

  uint8_t* Row(int memoryRow) { return pixels.data() + int64_t(memoryRow) * stride; }
  const uint8_t* Row(int memoryRow) const { return pixels.data() + int64_t(memoryRow) * stride; }
  // A whole-picture pass from `source` into this picture (same size).
  PixelPass PassFrom(const Picture& source);
};

// True for sizes inside the limits above.
bool PictureSizeUsable(int width, int height);
// A picture of the given size, all black; false for an unusable size.
bool MakePicture(int width, int height, Picture& out);

// `source` resampled to width x height with the imaging library's B-spline
// resampler. False for an unusable size or when memory runs out.
bool ResamplePicture(const Picture& source, int width, int height, Picture& out);

// `source` turned a quarter turn clockwise (the DIB services' duplicate
// mode 16), height x width.
bool QuarterTurnPicture(const Picture& source, Picture& out);

// The picture as a packed DIB block (40-byte header, then the rows), the
// form the DIB services' kernels take.
std::vector<uint8_t> PictureToDib(const Picture& picture);

}  // namespace quillo::render
