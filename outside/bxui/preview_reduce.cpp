#include "preview_reduce.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

#include "contracts/dib_format.h"

namespace quillo::bxui {
namespace {

constexpr uint32_t kBitFields = 3;  // BI_BITFIELDS

uint32_t Read32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// Where a colour mask's field starts and its largest value.
struct MaskField {
  uint32_t shift = 0;
  uint32_t maximum = 0;
};

MaskField FieldOf(uint32_t mask) {
  MaskField field;
  if (mask == 0) return field;
  while (((mask >> field.shift) & 1u) == 0) ++field.shift;
  field.maximum = mask >> field.shift;
  return field;
}

// A mask field scaled to 0..255: trunc(v * 255 / max + 0.5).
uint8_t Expand(uint32_t pixel, uint32_t mask, MaskField field) {
  if (field.maximum == 0) return 0;
  const uint64_t v = (pixel & mask) >> field.shift;
  return uint8_t((v * 255 + field.maximum / 2) / field.maximum);
}

}  // namespace

bool ParsePackedDib(const uint8_t* data, size_t bytes, DibSource* out) {
  if (!data || !out || bytes < sizeof(DibHeader)) return false;
  DibHeader header;
  std::memcpy(&header, data, sizeof header);
  if (header.size < sizeof(DibHeader) || header.size > bytes) return false;
  if (header.width <= 0 || header.height == 0 || header.height == INT32_MIN) return false;
  const uint16_t bits = header.bitCount;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
  const bool fields = header.compression == kBitFields;
  if (header.compression != kDibRgb && !(fields && (bits == 16 || bits == 32))) return false;

  DibSource source;
  source.width = header.width;
  source.topDown = header.height < 0;
  source.height = source.topDown ? -header.height : header.height;
  source.bitCount = bits;

  uint64_t offset = header.size;
  if (fields) {
    // A 40-byte header is followed by the three masks; longer headers hold them.
    const uint64_t maskAt = sizeof(DibHeader);
    if (maskAt + 12 > bytes) return false;
    for (int i = 0; i < 3; ++i) source.masks[i] = Read32(data + maskAt + 4 * i);
    if (header.size == sizeof(DibHeader)) offset += 12;
  } else if (bits == 16) {
    source.masks[0] = 0x7C00, source.masks[1] = 0x03E0, source.masks[2] = 0x001F;
  } else if (bits == 32) {
    source.masks[0] = 0xFF0000, source.masks[1] = 0x00FF00, source.masks[2] = 0x0000FF;
  }
  // The colour table: clrUsed entries, or the full 2^bits for indexed
  // pictures that leave it 0. True-colour pictures may carry an optional one.
  uint64_t entries = header.clrUsed;
  if (entries == 0 && bits <= 8) entries = uint64_t(1) << bits;
  if (entries > (bytes - offset) / 4) return false;
  source.palette = data + offset;
  source.paletteEntries = uint32_t(bits <= 8 ? std::min<uint64_t>(entries, uint64_t(1) << bits) : 0);
  offset += entries * 4;

  const int64_t stride = DibStride(source.width, bits);
  const uint64_t left = bytes - offset;
  if (uint64_t(stride) > left || uint64_t(source.height) > left / uint64_t(stride)) return false;
  source.rows = data + offset;
  source.stride = stride;
  *out = source;
  return true;
}

void ReadRowBgr(const DibSource& s, int32_t y, uint8_t* bgr) {
  const int32_t stored = s.topDown ? y : s.height - 1 - y;
  const uint8_t* row = s.rows + int64_t(stored) * s.stride;
  const int32_t w = s.width;
  switch (s.bitCount) {
    case 24:
      std::memcpy(bgr, row, size_t(w) * 3);
      return;
    case 1:
    case 4:
    case 8: {
      const int bits = s.bitCount;
      const int perByte = 8 / bits;
      const uint32_t mask = (1u << bits) - 1;
      for (int32_t x = 0; x < w; ++x) {
        const int shift = 8 - bits * (x % perByte + 1);
        const uint32_t index = (row[x / perByte] >> shift) & mask;
        uint8_t* p = bgr + int64_t(x) * 3;
        if (index < s.paletteEntries) {
          const uint8_t* entry = s.palette + index * 4;
          p[0] = entry[0], p[1] = entry[1], p[2] = entry[2];
        } else {
          p[0] = p[1] = p[2] = 0;
        }
      }
      return;
    }
    default: {
      const MaskField red = FieldOf(s.masks[0]), green = FieldOf(s.masks[1]),
                      blue = FieldOf(s.masks[2]);
      for (int32_t x = 0; x < w; ++x) {
        const uint32_t pixel = s.bitCount == 16
                                   ? uint32_t(row[x * 2]) | uint32_t(row[x * 2 + 1]) << 8
                                   : Read32(row + int64_t(x) * 4);
        uint8_t* p = bgr + int64_t(x) * 3;
        p[0] = Expand(pixel, s.masks[2], blue);
        p[1] = Expand(pixel, s.masks[1], green);
        p[2] = Expand(pixel, s.masks[0], red);
      }
      return;
    }
  }
}

PreviewSize FitPreviewSize(int64_t sw, int64_t sh, int64_t bw, int64_t bh) {
  if (sw <= 0 || sh <= 0 || bw <= 0 || bh <= 0) return {};
  // Limits keep every product below 2^62.
  constexpr int64_t kLimit = int64_t(1) << 31;
  sw = std::min(sw, kLimit), sh = std::min(sh, kLimit);
  bw = std::min(bw, kLimit), bh = std::min(bh, kLimit);
  if (sw <= bw && sh <= bh) return {int32_t(sw), int32_t(sh)};
  int64_t w, h;
  if (sw * bh >= sh * bw) {
    w = bw;
    h = std::clamp<int64_t>((sh * bw + sw / 2) / sw, 1, bh);
  } else {
    h = bh;
    w = std::clamp<int64_t>((sw * bh + sh / 2) / sh, 1, bw);
  }
  return {int32_t(w), int32_t(h)};
}

namespace {

// One source cell's share of a destination cell along one axis.
struct Tap {
  int32_t source;
  int64_t weight;
};

// For each of `count` destination cells over `sourceCount` source cells:
// the source cells it overlaps and the overlap length, measured in units
// where a source cell is `count` long and a destination cell `sourceCount`
// long. Each destination cell's weights add up to sourceCount.
void BuildTaps(int32_t sourceCount, int32_t count, std::vector<Tap>& taps,
               std::vector<size_t>& first) {
  first.assign(size_t(count) + 1, 0);
  for (int32_t d = 0; d < count; ++d) {
    first[size_t(d)] = taps.size();
    const int64_t begin = int64_t(d) * sourceCount, end = begin + sourceCount;
    for (int64_t i = begin / count; i < sourceCount && i * count < end; ++i) {
      const int64_t overlap = std::min((i + 1) * count, end) - std::max(i * count, begin);
      if (overlap > 0) taps.push_back({int32_t(i), overlap});
    }
  }
  first[size_t(count)] = taps.size();
}

}  // namespace

bool BoxReduce(const DibSource& source, uint8_t* target, int64_t targetStride, int32_t width,
               int32_t height, bool bottomUp) {
  if (!target || width <= 0 || height <= 0 || source.width <= 0 || source.height <= 0 ||
      targetStride < int64_t(width) * 3)
    return false;
  // Scratch rows of width * 3 and source.width * 3 bytes must be addressable.
  constexpr uint64_t kMaxScratch = SIZE_MAX / 32;
  if (uint64_t(source.width) * 3 > kMaxScratch || uint64_t(width) * 3 > kMaxScratch) return false;
  try {
    std::vector<Tap> xTaps, yTaps;
    std::vector<size_t> xFirst, yFirst;
    BuildTaps(source.width, width, xTaps, xFirst);
    BuildTaps(source.height, height, yTaps, yFirst);
    std::vector<uint8_t> row(size_t(source.width) * 3);
    std::vector<uint64_t> across(size_t(width) * 3);  // one source row, reduced across
    std::vector<uint64_t> sum(size_t(width) * 3);     // weighted sum of a destination row
    const uint64_t total = uint64_t(source.width) * uint64_t(source.height);
    int32_t rowRead = -1;

    for (int32_t y = 0; y < height; ++y) {
      std::fill(sum.begin(), sum.end(), 0);
      for (size_t t = yFirst[size_t(y)]; t < yFirst[size_t(y) + 1]; ++t) {
        const Tap vertical = yTaps[t];
        if (vertical.source != rowRead) {
          ReadRowBgr(source, vertical.source, row.data());
          rowRead = vertical.source;
          for (int32_t x = 0; x < width; ++x) {
            uint64_t b = 0, g = 0, r = 0;
            for (size_t u = xFirst[size_t(x)]; u < xFirst[size_t(x) + 1]; ++u) {
              const uint8_t* p = row.data() + size_t(xTaps[u].source) * 3;
              const uint64_t w = uint64_t(xTaps[u].weight);
              b += w * p[0], g += w * p[1], r += w * p[2];
            }
            uint64_t* a = across.data() + size_t(x) * 3;
            a[0] = b, a[1] = g, a[2] = r;
          }
        }
        const uint64_t w = uint64_t(vertical.weight);
        for (size_t i = 0; i < sum.size(); ++i) sum[i] += w * across[i];
      }
      uint8_t* out = target + (bottomUp ? int64_t(height - 1 - y) : int64_t(y)) * targetStride;
      for (size_t i = 0; i < sum.size(); ++i) out[i] = uint8_t((sum[i] + total / 2) / total);
    }
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

}  // namespace quillo::bxui
