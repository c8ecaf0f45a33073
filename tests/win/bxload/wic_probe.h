// Independent look at a written picture file through WIC: its stored pixel
// format and its pixels as blue, green, red, alpha, rows top-down.
#pragma once
#include <windows.h>
#include <wincodec.h>

#include <cstdint>
#include <string>
#include <vector>

namespace quillo::test {

struct FileProbe {
  UINT width = 0, height = 0;
  GUID format{};
  GUID container{};
  std::vector<uint8_t> bgra;
  const uint8_t* Pixel(UINT x, UINT y) const { return bgra.data() + (size_t(y) * width + x) * 4; }
};

bool ProbeFile(const std::string& path, FileProbe& probe);

}  // namespace quillo::test
