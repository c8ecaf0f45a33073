#include "bmp_builder.h"

#include <string>

namespace quillo::bxload::test {

namespace {
void Put(std::vector<uint8_t>& out, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(v >> (8 * i)));
}
}  // namespace

std::vector<uint8_t> BuildBmp(const BmpLayout& s) {
  std::vector<uint8_t> info;
  Put(info, s.headerSize, 4);
  if (s.headerSize == 12) {
    Put(info, uint32_t(s.width), 2);
    Put(info, uint32_t(s.height), 2);
    Put(info, 1, 2);
    Put(info, uint32_t(s.bitCount), 2);
  } else {
    Put(info, uint32_t(s.width), 4);
    Put(info, uint32_t(s.height), 4);
    Put(info, 1, 2);
    Put(info, uint32_t(s.bitCount), 2);
    Put(info, s.compression, 4);
    Put(info, uint32_t(s.pixels.size()), 4);
    Put(info, 2835, 4);
    Put(info, 2835, 4);
    Put(info, s.colours, 4);
    Put(info, 0, 4);
    const bool masksInside = s.headerSize > 40;
    if (masksInside)
      for (uint32_t m : s.masks) Put(info, m, 4);
    info.resize(s.headerSize < 40 ? 40 : s.headerSize, 0);
    if (!masksInside)
      for (uint32_t m : s.masks) Put(info, m, 4);
  }
  for (const DibColour& c : s.table) {
    info.push_back(c.blue);
    info.push_back(c.green);
    info.push_back(c.red);
    if (s.headerSize != 12) info.push_back(0);
  }
  std::vector<uint8_t> out;
  if (s.fileHeader) {
    const uint32_t offset = s.pixelOffset >= 0 ? uint32_t(s.pixelOffset) : uint32_t(14 + info.size());
    out.push_back('B');
    out.push_back('M');
    Put(out, uint32_t(14 + info.size() + s.pixels.size()), 4);
    Put(out, 0, 4);
    Put(out, offset, 4);
  }
  out.insert(out.end(), info.begin(), info.end());
  out.insert(out.end(), s.pixels.begin(), s.pixels.end());
  return out;
}

std::vector<uint8_t> PackRows(const std::vector<std::vector<uint32_t>>& rows, int bitCount,
                              bool topDown) {
  const int height = int(rows.size());
  const int width = int(rows[0].size());
  const int64_t stride = DibStride(width, bitCount);
  std::vector<uint8_t> out(size_t(stride * height), 0);
  for (int y = 0; y < height; ++y) {
    uint8_t* row = out.data() + stride * (topDown ? y : height - 1 - y);
    for (int x = 0; x < width; ++x) {
      const uint32_t v = rows[y][x];
      switch (bitCount) {
        case 1: row[x / 8] |= uint8_t((v & 1) << (7 - x % 8)); break;
        case 4: row[x / 2] |= uint8_t((x & 1) ? (v & 15) : (v & 15) << 4); break;
        case 8: row[x] = uint8_t(v); break;
        default:
          row[3 * x] = uint8_t(v);
          row[3 * x + 1] = uint8_t(v >> 8);
          row[3 * x + 2] = uint8_t(v >> 16);
      }
    }
  }
  return out;
}

Decoded::Decoded(std::vector<uint8_t> bytes) : dib(std::move(bytes)) {
  std::string error;
  if (!ParseDib(dib.data(), dib.size(), view, error)) view = DibView{};
}

uint32_t Decoded::Rgb(int x, int y) const {
  const uint8_t* p = view.Row(y) + 3 * x;
  return uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}

}  // namespace quillo::bxload::test
