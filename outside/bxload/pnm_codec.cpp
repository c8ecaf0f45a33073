#include "pnm_codec.h"

#include <cstring>

namespace quillo::bxload {
namespace {

bool IsSpace(uint8_t c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

struct Cursor {
  const uint8_t* data;
  size_t size;
  size_t pos = 0;

  // Skips white space and comments.
  void SkipFiller() {
    while (pos < size) {
      if (IsSpace(data[pos])) {
        ++pos;
      } else if (data[pos] == '#') {
        while (pos < size && data[pos] != '\n' && data[pos] != '\r') ++pos;
      } else {
        break;
      }
    }
  }
  // An unsigned decimal number after filler; false when absent or above `limit`.
  bool Number(uint32_t limit, uint32_t& value) {
    SkipFiller();
    if (pos >= size || data[pos] < '0' || data[pos] > '9') return false;
    uint64_t v = 0;
    while (pos < size && data[pos] >= '0' && data[pos] <= '9') {
      v = v * 10 + (data[pos] - '0');
      if (v > limit) return false;
      ++pos;
    }
    value = uint32_t(v);
    return true;
  }
};

PnmImage Fail(const char* reason) { return PnmImage{{}, reason}; }

}  // namespace

PnmImage ReadPnm(const uint8_t* data, size_t size, uint64_t maxDibBytes) {
  if (data == nullptr || size < 2 || data[0] != 'P' || data[1] < '1' || data[1] > '6')
    return Fail("The file is not a portable bitmap, grey map or pixmap.");
  const int kind = data[1] - '0';
  const bool raw = kind >= 4;
  const int family = (kind - 1) % 3;  // 0 bitmap, 1 grey map, 2 pixmap
  Cursor in{data, size, 2};
  uint32_t width = 0, height = 0, maxval = 1;
  if (!in.Number(0x7FFFFFFF, width) || !in.Number(0x7FFFFFFF, height))
    return Fail("The picture size in the header is missing or not a number.");
  if (width == 0 || height == 0) return Fail("The picture has no pixels.");
  if (uint64_t(width) * height > kMaxFormatPixels) return Fail("The picture is too large.");
  if (family != 0) {
    if (!in.Number(65535, maxval) || maxval == 0)
      return Fail("The maximum sample value must be between 1 and 65535.");
  }
  if (raw) {
    // Exactly one white space character separates the header from the raster.
    if (in.pos >= size || !IsSpace(data[in.pos])) return Fail("The header is not terminated.");
    ++in.pos;
  }

  const int bitCount = family == 0 ? 1 : family == 1 ? 8 : 24;
  std::vector<uint8_t> dib = NewDib(int32_t(width), int32_t(height), bitCount, maxDibBytes);
  if (dib.empty()) return Fail("The picture is too large.");
  DibColour* table = DibTable(dib);
  if (bitCount == 1) {
    table[0] = {0, 0, 0, 0};
    table[1] = {255, 255, 255, 0};
  } else if (bitCount == 8) {
    for (int i = 0; i < 256; ++i) table[i] = {uint8_t(i), uint8_t(i), uint8_t(i), 0};
  }
  uint8_t* bits = dib.data() + DibBitsOffset(dib);
  const int64_t stride = DibStride(width, bitCount);
  auto rowAt = [&](uint32_t y) { return bits + stride * (int64_t(height) - 1 - y); };

  const char* truncated = "The file ends before the last pixel.";
  const char* tooBig = "A sample is larger than the maximum sample value.";
  auto scale = [maxval](uint32_t v) -> uint8_t {
    return maxval == 255 ? uint8_t(v) : uint8_t((uint64_t(v) * 255 + maxval / 2) / maxval);
  };

  if (kind == 4) {
    // Each row is packed MSB first and starts on a byte; a set bit is black.
    const size_t rowBytes = (size_t(width) + 7) / 8;
    if (uint64_t(rowBytes) * height > size - in.pos) return Fail(truncated);
    const int spare = int(rowBytes * 8 - width);
    const uint8_t lastMask = uint8_t(0xFF << spare);
    for (uint32_t y = 0; y < height; ++y) {
      uint8_t* row = rowAt(y);
      const uint8_t* src = data + in.pos + size_t(y) * rowBytes;
      for (size_t i = 0; i < rowBytes; ++i) row[i] = uint8_t(~src[i]);
      row[rowBytes - 1] &= lastMask;
    }
    return PnmImage{std::move(dib), {}};
  }
  if (kind == 1) {
    for (uint32_t y = 0; y < height; ++y) {
      uint8_t* row = rowAt(y);
      for (uint32_t x = 0; x < width; ++x) {
        in.SkipFiller();
        if (in.pos >= size) return Fail(truncated);
        const uint8_t c = data[in.pos++];
        if (c != '0' && c != '1') return Fail("The bitmap holds a character other than 0 or 1.");
        if (c == '0') row[x >> 3] |= uint8_t(0x80 >> (x & 7));
      }
    }
    return PnmImage{std::move(dib), {}};
  }

  const int channels = family == 1 ? 1 : 3;
  const uint64_t samples = uint64_t(width) * height * channels;
  if (raw) {
    const uint64_t bytesPerSample = maxval > 255 ? 2 : 1;
    if (samples * bytesPerSample > size - in.pos) return Fail(truncated);
  }
  const uint8_t* src = data + in.pos;
  for (uint32_t y = 0; y < height; ++y) {
    uint8_t* row = rowAt(y);
    for (uint32_t x = 0; x < width; ++x) {
      uint8_t out[3];
      for (int c = 0; c < channels; ++c) {
        uint32_t v = 0;
        if (!raw) {
          if (!in.Number(65535, v)) return Fail(in.pos >= size ? truncated : "A sample is missing or not a number.");
        } else if (maxval > 255) {
          v = uint32_t(src[0]) << 8 | src[1];
          src += 2;
        } else {
          v = *src++;
        }
        if (v > maxval) return Fail(tooBig);
        out[c] = scale(v);
      }
      if (channels == 1) {
        row[x] = out[0];
      } else {
        row[x * 3] = out[2];
        row[x * 3 + 1] = out[1];
        row[x * 3 + 2] = out[0];
      }
    }
  }
  return PnmImage{std::move(dib), {}};
}

}  // namespace quillo::bxload
