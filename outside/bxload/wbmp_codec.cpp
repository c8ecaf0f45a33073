#include "wbmp_codec.h"

#include "pnm_codec.h"  // kMaxFormatPixels

namespace quillo::bxload {
namespace {

// A multi-byte integer at `pos`; false when it runs past the buffer or above 2^31 - 1.
bool ReadMultiByte(const uint8_t* data, size_t size, size_t& pos, uint32_t& value) {
  uint64_t v = 0;
  for (;;) {
    if (pos >= size) return false;
    const uint8_t b = data[pos++];
    v = (v << 7) | (b & 0x7F);
    if (v > 0x7FFFFFFF) return false;
    if ((b & 0x80) == 0) break;
  }
  value = uint32_t(v);
  return true;
}

void WriteMultiByte(std::vector<uint8_t>& out, uint32_t value) {
  uint8_t groups[5];
  int n = 0;
  do {
    groups[n++] = uint8_t(value & 0x7F);
    value >>= 7;
  } while (value != 0);
  while (n > 1) out.push_back(uint8_t(groups[--n] | 0x80));
  out.push_back(groups[0]);
}

WbmpImage Fail(const char* reason) { return WbmpImage{{}, reason}; }

}  // namespace

WbmpImage ReadWbmp(const uint8_t* data, size_t size, uint64_t maxDibBytes) {
  size_t pos = 0;
  uint32_t type = 0, width = 0, height = 0;
  if (data == nullptr || !ReadMultiByte(data, size, pos, type))
    return Fail("The file is not a wireless bitmap.");
  if (type != 0) return Fail("Only uncompressed black and white wireless bitmaps (type 0) can be read.");
  if (pos >= size) return Fail("The file ends inside the header.");
  if (data[pos++] & 0x80) return Fail("Wireless bitmaps with extension headers cannot be read.");
  if (!ReadMultiByte(data, size, pos, width) || !ReadMultiByte(data, size, pos, height))
    return Fail("The picture size in the header is damaged.");
  if (width == 0 || height == 0) return Fail("The picture has no pixels.");
  if (uint64_t(width) * height > kMaxFormatPixels) return Fail("The picture is too large.");
  const uint64_t rowBytes = (uint64_t(width) + 7) / 8;
  if (rowBytes * height > size - pos) return Fail("The file ends before the last pixel.");
  std::vector<uint8_t> dib = NewDib(int32_t(width), int32_t(height), 1, maxDibBytes);
  if (dib.empty()) return Fail("The picture is too large.");
  DibColour* table = DibTable(dib);
  table[0] = {0, 0, 0, 0};
  table[1] = {255, 255, 255, 0};
  uint8_t* bits = dib.data() + DibBitsOffset(dib);
  const int64_t stride = DibStride(width, 1);
  const uint8_t lastMask = uint8_t(0xFF << (rowBytes * 8 - width));
  for (uint32_t y = 0; y < height; ++y) {
    uint8_t* row = bits + stride * (int64_t(height) - 1 - y);
    const uint8_t* src = data + pos + rowBytes * y;
    for (uint64_t i = 0; i < rowBytes; ++i) row[i] = src[i];
    row[rowBytes - 1] &= lastMask;
  }
  return WbmpImage{std::move(dib), {}};
}

std::vector<uint8_t> WriteWbmp(const DibView& view, std::string& error) {
  if (view.bitCount != 1) {
    error = "Wireless bitmaps hold black and white pictures only.";
    return {};
  }
  if (view.width <= 0 || view.height <= 0 ||
      uint64_t(view.width) * uint64_t(view.height) > kMaxFormatPixels) {
    error = "The picture is too large for a wireless bitmap.";
    return {};
  }
  bool white[2];
  for (int i = 0; i < 2; ++i) {
    const DibColour c = view.Colour(i);
    white[i] = 299 * c.red + 587 * c.green + 114 * c.blue >= 128 * 1000;
  }
  std::vector<uint8_t> out;
  const size_t rowBytes = (size_t(view.width) + 7) / 8;
  out.reserve(16 + rowBytes * size_t(view.height));
  out.push_back(0);  // type 0
  out.push_back(0);  // fixed header field
  WriteMultiByte(out, uint32_t(view.width));
  WriteMultiByte(out, uint32_t(view.height));
  const uint8_t lastMask = uint8_t(0xFF << (rowBytes * 8 - size_t(view.width)));
  for (int y = 0; y < view.height; ++y) {
    const uint8_t* row = view.Row(y);
    for (size_t i = 0; i < rowBytes; ++i) {
      uint8_t b = row[i];
      if (white[0] && white[1]) b = 0xFF;
      else if (!white[0] && !white[1]) b = 0;
      else if (white[0]) b = uint8_t(~b);
      if (i + 1 == rowBytes) b &= lastMask;
      out.push_back(b);
    }
  }
  return out;
}

}  // namespace quillo::bxload
