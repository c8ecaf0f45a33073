#include "wpg_codec.h"

#include <algorithm>
#include <cstring>

#include "pnm_codec.h"  // kMaxFormatPixels

namespace quillo::bxload {
namespace {

constexpr size_t kHeaderBytes = 16;
constexpr uint8_t kColourMap = 0x0E, kBitmap1 = 0x0B, kBitmap2 = 0x14;
constexpr uint8_t kStart = 0x0F, kEnd = 0x10;

uint16_t Le16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
void PutLe16(std::vector<uint8_t>& out, unsigned v) {
  out.push_back(uint8_t(v & 0xFF));
  out.push_back(uint8_t(v >> 8 & 0xFF));
}

WpgImage Fail(const char* reason) { return WpgImage{{}, reason}; }

// The 16 standard VGA colours (red, green, blue).
constexpr uint8_t kVga[16][3] = {{0, 0, 0},       {0, 0, 170},     {0, 170, 0},     {0, 170, 170},
                                 {170, 0, 0},     {170, 0, 170},   {170, 85, 0},    {170, 170, 170},
                                 {85, 85, 85},    {85, 85, 255},   {85, 255, 85},   {85, 255, 255},
                                 {255, 85, 85},   {255, 85, 255},  {255, 255, 85},  {255, 255, 255}};

// Expands the run-length rows of one bitmap into `rows` (height x rowBytes).
const char* DecodeRows(const uint8_t* p, size_t n, size_t rowBytes, uint32_t height, std::vector<uint8_t>& rows) {
  const char* truncated = "The file ends before the last pixel row.";
  const char* overrun = "A run-length code reaches past the end of a row.";
  size_t pos = 0, x = 0;
  uint32_t y = 0;
  auto put = [&](uint8_t v, size_t count) {
    std::memset(rows.data() + size_t(y) * rowBytes + x, v, count);
    x += count;
    if (x == rowBytes) x = 0, ++y;
  };
  while (y < height) {
    if (pos >= n) return truncated;
    const uint8_t b = p[pos++];
    const size_t count = b & 0x7F;
    if (b & 0x80) {
      if (pos >= n) return truncated;
      const uint8_t next = p[pos++];
      const size_t run = count ? count : next;
      if (run > rowBytes - x) return overrun;
      put(count ? next : uint8_t(0xFF), run);
    } else if (count) {
      if (count > rowBytes - x) return overrun;
      if (count > n - pos) return truncated;
      std::memcpy(rows.data() + size_t(y) * rowBytes + x, p + pos, count);
      pos += count;
      x += count;
      if (x == rowBytes) x = 0, ++y;
    } else {
      if (pos >= n) return truncated;
      const size_t repeats = p[pos++];
      if (x != 0 || y == 0) return "A row repeat of the bitmap has no whole row before it.";
      for (size_t i = 0; i < repeats && y < height; ++i, ++y)
        std::memcpy(rows.data() + size_t(y) * rowBytes, rows.data() + size_t(y - 1) * rowBytes, rowBytes);
    }
  }
  return nullptr;
}

void PutRecord(std::vector<uint8_t>& out, uint8_t type, const std::vector<uint8_t>& body) {
  out.push_back(type);
  const size_t n = body.size();
  if (n < 0xFF) {
    out.push_back(uint8_t(n));
  } else if (n < 0x8000) {
    out.push_back(0xFF);
    PutLe16(out, unsigned(n));
  } else {
    out.push_back(0xFF);
    PutLe16(out, unsigned(0x8000 | (n >> 16)));
    PutLe16(out, unsigned(n & 0xFFFF));
  }
  out.insert(out.end(), body.begin(), body.end());
}

// One row: runs of 2 to 127 equal bytes, literal stretches of up to 127 bytes.
void EncodeRow(const uint8_t* row, size_t n, std::vector<uint8_t>& out) {
  size_t i = 0;
  while (i < n) {
    size_t run = 1;
    while (i + run < n && run < 127 && row[i + run] == row[i]) ++run;
    if (run >= 2) {
      out.push_back(uint8_t(0x80 | run));
      out.push_back(row[i]);
      i += run;
      continue;
    }
    size_t literal = 1;
    while (i + literal < n && literal < 127 &&
           !(i + literal + 1 < n && row[i + literal] == row[i + literal + 1]))
      ++literal;
    out.push_back(uint8_t(literal));
    out.insert(out.end(), row + i, row + i + literal);
    i += literal;
  }
}

}  // namespace

WpgImage ReadWpg(const uint8_t* data, size_t size, uint64_t maxDibBytes) {
  if (data == nullptr || size < kHeaderBytes || std::memcmp(data, "\xFFWPC", 4) != 0)
    return Fail("The file is not a WPG picture.");
  if (data[9] != 0x16) return Fail("The file is not a WPG picture.");
  if (data[10] != 1) return Fail("Only level 1 WPG files can be read.");
  if (Le16(data + 12) != 0) return Fail("Encrypted WPG files cannot be read.");
  const uint32_t start = uint32_t(data[4]) | uint32_t(data[5]) << 8 | uint32_t(data[6]) << 16 | uint32_t(data[7]) << 24;
  if (start < kHeaderBytes || start > size) return Fail("The WPG header points outside the file.");

  DibColour palette[256];
  for (int i = 0; i < 256; ++i) {
    const uint8_t g = uint8_t(i);
    palette[i] = i < 16 ? DibColour{kVga[i][2], kVga[i][1], kVga[i][0], 0} : DibColour{g, g, g, 0};
  }
  bool mapped = false;
  size_t pos = start;
  while (pos < size) {
    const uint8_t type = data[pos++];
    if (pos >= size) break;
    uint64_t length = data[pos++];
    if (length == 0xFF) {
      if (size - pos < 2) return Fail("The file ends inside a record header.");
      length = Le16(data + pos);
      pos += 2;
      if (length & 0x8000) {
        if (size - pos < 2) return Fail("The file ends inside a record header.");
        length = (length & 0x7FFF) << 16 | Le16(data + pos);
        pos += 2;
      }
    }
    if (length > size - pos) return Fail("A record of the WPG file reaches past its end.");
    const uint8_t* body = data + pos;
    pos += size_t(length);
    if (type == kEnd) break;
    if (type == kColourMap) {
      if (length < 4) return Fail("A colour map record of the WPG file is damaged.");
      const uint32_t first = Le16(body), count = Le16(body + 2);
      if (first + count > 256 || 4 + uint64_t(count) * 3 > length)
        return Fail("A colour map record of the WPG file is damaged.");
      for (uint32_t i = 0; i < count; ++i)
        palette[first + i] = {body[4 + 3 * i + 2], body[4 + 3 * i + 1], body[4 + 3 * i], 0};
      mapped = true;
      continue;
    }
    if (type != kBitmap1 && type != kBitmap2) continue;

    const size_t fields = type == kBitmap1 ? 0 : 10;  // rotation and frame of type 0x14
    if (length < fields + 10) return Fail("A bitmap record of the WPG file is damaged.");
    const uint32_t width = Le16(body + fields), height = Le16(body + fields + 2);
    const int depth = Le16(body + fields + 4);
    if (depth != 1 && depth != 2 && depth != 4 && depth != 8)
      return Fail("The WPG bitmap has an unsupported number of bits per pixel.");
    if (width == 0 || height == 0) return Fail("The picture has no pixels.");
    if (uint64_t(width) * height > kMaxFormatPixels) return Fail("The picture is too large.");
    const int bitCount = depth == 2 ? 4 : depth;
    std::vector<uint8_t> dib = NewDib(int32_t(width), int32_t(height), bitCount, maxDibBytes);
    if (dib.empty()) return Fail("The picture is too large.");
    const size_t rowBytes = (size_t(width) * depth + 7) / 8;
    std::vector<uint8_t> rows(rowBytes * height);
    if (const char* problem = DecodeRows(body + fields + 10, size_t(length) - fields - 10, rowBytes, height, rows))
      return Fail(problem);

    DibColour* table = DibTable(dib);
    if (depth == 1 && !mapped) {
      table[0] = {0, 0, 0, 0};
      table[1] = {255, 255, 255, 0};
    } else {
      for (int i = 0; i < (1 << bitCount); ++i) table[i] = palette[i];
    }
    uint8_t* bits = dib.data() + DibBitsOffset(dib);
    const int64_t stride = DibStride(width, bitCount);
    for (uint32_t y = 0; y < height; ++y) {
      const uint8_t* src = rows.data() + size_t(y) * rowBytes;
      uint8_t* row = bits + stride * (int64_t(height) - 1 - y);
      if (depth != 2) {
        std::memcpy(row, src, rowBytes);
        // Bits beyond the width stay clear, as in every DIB made here.
        if (const int spare = int(rowBytes * 8 - size_t(width) * depth)) row[rowBytes - 1] &= uint8_t(0xFF << spare);
        continue;
      }
      for (uint32_t x = 0; x < width; ++x) {
        const int index = src[x >> 2] >> (6 - 2 * (x & 3)) & 3;
        row[x >> 1] |= uint8_t((x & 1) ? index : index << 4);
      }
    }
    return WpgImage{std::move(dib), {}};
  }
  return Fail("The WPG file holds no bitmap.");
}

std::vector<uint8_t> WriteWpg(const DibView& view, std::string& error) {
  const int b = view.bitCount;
  if (b != 1 && b != 4 && b != 8) {
    error = "WPG files hold pictures of at most 256 colours.";
    return {};
  }
  if (view.width <= 0 || view.height <= 0 || view.width > 65535 || view.height > 65535) {
    error = "WPG pictures are at most 65535 pixels wide and high.";
    return {};
  }
  std::vector<uint8_t> out = {0xFF, 'W', 'P', 'C', 16, 0, 0, 0, 1, 0x16, 1, 0, 0, 0, 0, 0};
  // Start record: version, flags, and the picture size in 1/1200 inch at 75 dots per inch.
  std::vector<uint8_t> body = {1, 0};
  PutLe16(body, unsigned(std::min<int64_t>(int64_t(view.width) * 16, 65535)));
  PutLe16(body, unsigned(std::min<int64_t>(int64_t(view.height) * 16, 65535)));
  PutRecord(out, kStart, body);

  body.clear();
  PutLe16(body, 0);
  PutLe16(body, 1u << b);
  for (int i = 0; i < (1 << b); ++i) {
    const DibColour c = view.Colour(i);
    body.insert(body.end(), {c.red, c.green, c.blue});
  }
  PutRecord(out, kColourMap, body);

  body.clear();
  PutLe16(body, unsigned(view.width));
  PutLe16(body, unsigned(view.height));
  PutLe16(body, unsigned(b));
  PutLe16(body, 75);
  PutLe16(body, 75);
  const size_t rowBytes = (size_t(view.width) * b + 7) / 8;
  std::vector<uint8_t> row(rowBytes);
  for (int y = 0; y < view.height; ++y) {
    std::memcpy(row.data(), view.Row(y), rowBytes);
    // Bits beyond the width are left clear.
    if (const int spare = int(rowBytes * 8 - size_t(view.width) * b)) row[rowBytes - 1] &= uint8_t(0xFF << spare);
    EncodeRow(row.data(), rowBytes, body);
  }
  if (body.size() > 0x7FFFFFFF) {
    error = "The picture is too large for a WPG file.";
    return {};
  }
  PutRecord(out, kBitmap1, body);
  PutRecord(out, kEnd, {});
  return out;
}

}  // namespace quillo::bxload
