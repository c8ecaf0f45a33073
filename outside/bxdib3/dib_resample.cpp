#include "dib_resample.h"

#include <algorithm>
#include <vector>

#include "dib_pixels.h"

namespace quillo::dib {
namespace {

// [begin, end) of source cells that output cell i covers.
void Span(int64_t i, int64_t sourceSize, int64_t outSize, int64_t* begin, int64_t* end) {
  *begin = i * sourceSize / outSize;
  *end = std::max(*begin + 1, (i + 1) * sourceSize / outSize);
}

}  // namespace

void ResampleToBgr(const uint8_t* block, const DibInfo& info, const PixelRect& source, int64_t width,
                   int64_t height, uint8_t* out, int64_t outStride) {
  std::vector<int64_t> columnBegin(static_cast<size_t>(width)), columnEnd(static_cast<size_t>(width));
  for (int64_t x = 0; x < width; ++x) Span(x, source.width, width, &columnBegin[x], &columnEnd[x]);
  std::vector<uint8_t> row(size_t(info.width) * 3);
  std::vector<uint64_t> sums(size_t(width) * 3);
  for (int64_t y = 0; y < height; ++y) {
    int64_t rowBegin, rowEnd;
    Span(y, source.height, height, &rowBegin, &rowEnd);
    std::fill(sums.begin(), sums.end(), 0);
    for (int64_t sy = rowBegin; sy < rowEnd; ++sy) {
      RowToBgr(block, info, source.top + sy, row.data());
      const uint8_t* r = row.data() + source.left * 3;
      for (int64_t x = 0; x < width; ++x)
        for (int64_t sx = columnBegin[x]; sx < columnEnd[x]; ++sx)
          for (int c = 0; c < 3; ++c) sums[size_t(x) * 3 + c] += r[sx * 3 + c];
    }
    uint8_t* o = out + y * outStride;
    for (int64_t x = 0; x < width; ++x) {
      const uint64_t n = uint64_t(rowEnd - rowBegin) * uint64_t(columnEnd[x] - columnBegin[x]);
      for (int c = 0; c < 3; ++c) o[x * 3 + c] = uint8_t((sums[size_t(x) * 3 + c] + n / 2) / n);
    }
  }
}

}  // namespace quillo::dib
