#include "bmp_writer.h"

#include <cstring>

namespace quillo::bxload {

namespace {

void Put16(uint8_t* p, uint32_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
}
void Put32(uint8_t* p, uint32_t v) {
  Put16(p, v & 0xFFFF);
  Put16(p + 2, v >> 16);
}

}  // namespace

std::vector<uint8_t> WriteBmp(const DibView& view, std::string& error) {
  const int bits = view.bitCount;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24) {
    error = "Bitmap files are written with 1, 4, 8 or 24 bits per pixel only.";
    return {};
  }
  const uint32_t entries = bits <= 8 ? (1u << bits) : 0;
  const int64_t stride = DibStride(view.width, bits);
  const uint64_t rowsBytes = uint64_t(stride) * uint64_t(view.height);
  const uint64_t headers = 14 + 40 + uint64_t(entries) * 4;
  if (rowsBytes > kMaxDibBytes) {
    error = "The picture is too large for a bitmap file.";
    return {};
  }
  std::vector<uint8_t> file(size_t(headers + rowsBytes), 0);
  uint8_t* p = file.data();
  p[0] = 'B';
  p[1] = 'M';
  Put32(p + 2, uint32_t(file.size()));
  Put32(p + 10, uint32_t(headers));
  uint8_t* info = p + 14;
  Put32(info, 40);
  Put32(info + 4, uint32_t(view.width));
  Put32(info + 8, uint32_t(view.height));
  Put16(info + 12, 1);
  Put16(info + 14, uint32_t(bits));
  Put32(info + 20, uint32_t(rowsBytes));
  Put32(info + 24, 2835);  // 72 dots per inch
  Put32(info + 28, 2835);
  Put32(info + 32, entries);
  uint8_t* table = info + 40;
  for (uint32_t i = 0; i < entries; ++i) {
    const DibColour c = view.Colour(int(i));
    table[4 * i] = c.blue;
    table[4 * i + 1] = c.green;
    table[4 * i + 2] = c.red;
  }
  uint8_t* rows = p + headers;
  const size_t rowBytes = size_t((int64_t(view.width) * bits + 7) / 8);
  for (int y = 0; y < view.height; ++y)
    std::memcpy(rows + stride * (int64_t(view.height) - 1 - y), view.Row(y), rowBytes);
  return file;
}

}  // namespace quillo::bxload
