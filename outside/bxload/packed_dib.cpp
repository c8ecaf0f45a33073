#include "packed_dib.h"

#include <cstring>

namespace quillo::bxload {

bool ParseDib(const uint8_t* data, size_t size, DibView& view, std::string& error) {
  DibHeader h;
  if (!data || size < sizeof h) {
    error = "the picture data is too short";
    return false;
  }
  std::memcpy(&h, data, sizeof h);
  if (h.size < sizeof h || h.size > size) {
    error = "the picture header is damaged";
    return false;
  }
  const int bits = h.bitCount;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) {
    error = "the picture has an unsupported colour depth";
    return false;
  }
  if (h.compression != kDibRgb) {
    error = "the picture is compressed";
    return false;
  }
  const int64_t height = h.height;
  if (h.width <= 0 || height == 0 || height == INT32_MIN) {
    error = "the picture has no pixels";
    return false;
  }
  uint64_t entries = h.clrUsed;
  if (bits <= 8 && entries == 0) entries = uint64_t(1) << bits;
  if (entries > 256) {
    error = "the picture's colour table is too large";
    return false;
  }
  const uint64_t tableBytes = entries * 4;
  const int64_t stride = DibStride(h.width, bits);
  const uint64_t rows = uint64_t(height < 0 ? -height : height);
  const uint64_t offset = uint64_t(h.size) + tableBytes;
  if (offset > size || uint64_t(stride) * rows > size - offset) {
    error = "the picture data is shorter than its header says";
    return false;
  }
  view.width = h.width;
  view.height = int32_t(rows);
  view.topDown = height < 0;
  view.bitCount = bits;
  view.table = bits <= 8 ? reinterpret_cast<const DibColour*>(data + h.size) : nullptr;
  view.tableEntries = bits <= 8 ? int(entries < (1u << bits) ? entries : (1u << bits)) : 0;
  view.bits = data + offset;
  view.stride = stride;
  return true;
}

std::vector<uint8_t> NewDib(int32_t width, int32_t height, int bitCount, uint64_t maxBytes) {
  if (width <= 0 || height <= 0) return {};
  const uint64_t entries = bitCount <= 8 ? (uint64_t(1) << bitCount) : 0;
  const uint64_t rowsBytes = uint64_t(DibStride(width, bitCount)) * uint64_t(height);
  const uint64_t total = sizeof(DibHeader) + entries * 4 + rowsBytes;
  if (rowsBytes > maxBytes || total > maxBytes) return {};
  std::vector<uint8_t> dib(size_t(total), 0);
  DibHeader h{};
  h.size = sizeof h;
  h.width = width;
  h.height = height;
  h.planes = 1;
  h.bitCount = uint16_t(bitCount);
  h.compression = kDibRgb;
  h.sizeImage = uint32_t(rowsBytes);
  h.xPelsPerMeter = h.yPelsPerMeter = 2835;  // 72 dots per inch
  h.clrUsed = uint32_t(entries);
  std::memcpy(dib.data(), &h, sizeof h);
  return dib;
}

size_t DibBitsOffset(const std::vector<uint8_t>& dib) {
  DibHeader h;
  std::memcpy(&h, dib.data(), sizeof h);
  return sizeof h + size_t(h.clrUsed) * 4;
}

DibColour* DibTable(std::vector<uint8_t>& dib) {
  return reinterpret_cast<DibColour*>(dib.data() + sizeof(DibHeader));
}

std::vector<uint8_t> CopyDib(const DibView& view) {
  std::vector<uint8_t> out = NewDib(view.width, view.height, view.bitCount);
  if (out.empty()) return out;
  if (view.bitCount <= 8) {
    DibColour* table = DibTable(out);
    for (int i = 0; i < (1 << view.bitCount); ++i) table[i] = view.Colour(i);
  }
  uint8_t* bits = out.data() + DibBitsOffset(out);
  for (int y = 0; y < view.height; ++y)
    std::memcpy(bits + view.stride * (int64_t(view.height) - 1 - y), view.Row(y), size_t(view.stride));
  return out;
}

std::vector<uint8_t> ToBgr24(const DibView& view) {
  std::vector<uint8_t> out = NewDib(view.width, view.height, 24);
  if (out.empty()) return out;
  uint8_t* bits = out.data() + DibBitsOffset(out);
  const int64_t stride = Stride24(view.width);
  for (int y = 0; y < view.height; ++y) {
    const uint8_t* src = view.Row(y);
    uint8_t* dst = bits + stride * (int64_t(view.height) - 1 - y);
    for (int x = 0; x < view.width; ++x, dst += 3) {
      if (view.bitCount <= 8) {
        const DibColour c = view.Colour(IndexAt(src, x, view.bitCount));
        dst[0] = c.blue;
        dst[1] = c.green;
        dst[2] = c.red;
      } else {
        std::memcpy(dst, src + int64_t(x) * (view.bitCount / 8), 3);
      }
    }
  }
  return out;
}

std::vector<uint8_t> PackIndices(const DibView& view8, int bitCount) {
  if (view8.bitCount != 8 || (bitCount != 1 && bitCount != 4 && bitCount != 8)) return {};
  std::vector<uint8_t> out = NewDib(view8.width, view8.height, bitCount);
  if (out.empty()) return out;
  const int entries = 1 << bitCount;
  DibColour* table = DibTable(out);
  for (int i = 0; i < entries; ++i) table[i] = view8.Colour(i);
  uint8_t* bits = out.data() + DibBitsOffset(out);
  const int64_t stride = DibStride(view8.width, bitCount);
  for (int y = 0; y < view8.height; ++y) {
    const uint8_t* src = view8.Row(y);
    uint8_t* dst = bits + stride * (int64_t(view8.height) - 1 - y);
    for (int x = 0; x < view8.width; ++x) {
      const int index = src[x];
      if (index >= entries) return {};
      if (bitCount == 1) dst[x >> 3] |= uint8_t(index << (7 - (x & 7)));
      else if (bitCount == 4) dst[x >> 1] |= uint8_t((x & 1) ? index : index << 4);
      else dst[x] = uint8_t(index);
    }
  }
  return out;
}

}  // namespace quillo::bxload
