// A 24-bit picture laid out as a DIB's pixels (rows bottom-up, blue green
// red, rows padded to 4 bytes), read from and written to binary PPM files
// (P6, maximum value 255), the format ImageMagick converts to and from.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "imaging/basics/pixel_pass.h"

namespace quillo::examples {

struct Picture {
  int width = 0;
  int height = 0;
  int stride = 0;  // ((width * 24 + 31) / 32) * 4
  std::vector<uint8_t> pixels;

  // A whole-picture pass from `source` into this picture (same size).
  PixelPass PassFrom(const Picture& source);
};

// A picture of the given size, all black. Sizes are limited to 16384 x 16384.
bool MakePicture(int width, int height, Picture& out);
// False (with `error` set) for anything but a sound P6 file with maximum
// value 255 whose pixel data is all there.
bool ReadPpm(const std::string& path, Picture& out, std::string& error);
bool WritePpm(const std::string& path, const Picture& picture);

}  // namespace quillo::examples
