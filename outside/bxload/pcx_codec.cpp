#include "pcx_codec.h"

#include <algorithm>
#include <cstring>

#include "pnm_codec.h"  // kMaxFormatPixels

namespace quillo::bxload {
namespace {

constexpr size_t kHeaderBytes = 128;
constexpr size_t kTrailingPalette = 769;  // 0x0C marker and 256 red, green, blue entries

uint16_t Le16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
void PutLe16(uint8_t* p, unsigned v) {
  p[0] = uint8_t(v & 0xFF);
  p[1] = uint8_t(v >> 8);
}

PcxImage Fail(const char* reason) { return PcxImage{{}, reason}; }

// Sample x of one plane line holding `bits`-bit samples, most significant first.
int Sample(const uint8_t* line, int x, int bits) {
  switch (bits) {
    case 1: return (line[x >> 3] >> (7 - (x & 7))) & 1;
    case 2: return (line[x >> 2] >> (6 - 2 * (x & 3))) & 3;
    case 4: return (line[x >> 1] >> (4 - 4 * (x & 1))) & 15;
    default: return line[x];
  }
}

void SetIndex(uint8_t* row, int x, int bitCount, int index) {
  if (bitCount == 1) row[x >> 3] |= uint8_t(index << (7 - (x & 7)));
  else if (bitCount == 4) row[x >> 1] |= uint8_t((x & 1) ? index : index << 4);
  else row[x] = uint8_t(index);
}

// Appends the run-length code of one plane line: runs of up to 63 equal
// bytes as a count byte (0xC0 | n) and the value; a single byte below 0xC0
// stands for itself.
void EncodeLine(const uint8_t* line, size_t n, std::vector<uint8_t>& out) {
  size_t i = 0;
  while (i < n) {
    size_t run = 1;
    while (i + run < n && run < 63 && line[i + run] == line[i]) ++run;
    if (run > 1 || line[i] >= 0xC0) out.push_back(uint8_t(0xC0 | run));
    out.push_back(line[i]);
    i += run;
  }
}

}  // namespace

PcxImage ReadPcx(const uint8_t* data, size_t size, uint64_t maxDibBytes) {
  if (data == nullptr || size < kHeaderBytes || data[0] != 0x0A)
    return Fail("The file is not a PCX picture.");
  const int encoding = data[2];
  const int bits = data[3];
  const int planes = data[65];
  const uint16_t xMin = Le16(data + 4), yMin = Le16(data + 6);
  const uint16_t xMax = Le16(data + 8), yMax = Le16(data + 10);
  const uint32_t lineBytes = Le16(data + 66);
  if (encoding > 1) return Fail("The PCX picture uses an unknown encoding.");
  if (xMax < xMin || yMax < yMin) return Fail("The picture size in the PCX header is damaged.");
  const uint32_t width = uint32_t(xMax) - xMin + 1, height = uint32_t(yMax) - yMin + 1;
  if (uint64_t(width) * height > kMaxFormatPixels) return Fail("The picture is too large.");

  const int indexBits = planes * bits;
  const bool trueColour = bits == 8 && (planes == 3 || planes == 4);
  const bool paletted = (bits == 1 && (planes == 1 || planes == 2 || planes == 4)) ||
                        ((bits == 2 || bits == 4 || bits == 8) && planes == 1);
  if (!trueColour && !paletted)
    return Fail("This combination of PCX planes and bits per pixel cannot be read.");
  if (uint64_t(lineBytes) * 8 < uint64_t(width) * bits)
    return Fail("The PCX header gives rows too short for the picture's width.");

  const int bitCount = trueColour ? 24 : indexBits <= 1 ? 1 : indexBits <= 4 ? 4 : 8;
  std::vector<uint8_t> dib = NewDib(int32_t(width), int32_t(height), bitCount, maxDibBytes);
  if (dib.empty()) return Fail("The picture is too large.");

  size_t end = size;  // coded data ends before the trailing palette, when there is one
  if (paletted) {
    DibColour* table = DibTable(dib);
    if (indexBits == 8) {
      const bool hasPalette = size >= kHeaderBytes + kTrailingPalette && data[size - kTrailingPalette] == 0x0C;
      for (int i = 0; i < 256; ++i) {
        const uint8_t* p = data + size - 768 + 3 * i;
        table[i] = hasPalette ? DibColour{p[2], p[1], p[0], 0} : DibColour{uint8_t(i), uint8_t(i), uint8_t(i), 0};
      }
      if (hasPalette) end = size - kTrailingPalette;
    } else {
      const int entries = 1 << indexBits;
      for (int i = 0; i < entries; ++i) {
        const uint8_t* p = data + 16 + 3 * i;
        table[i] = {p[2], p[1], p[0], 0};
      }
      if (entries == 2 && std::memcmp(&table[0], &table[1], sizeof table[0]) == 0) {
        table[0] = {0, 0, 0, 0};
        table[1] = {255, 255, 255, 0};
      }
    }
  }

  const size_t rowBytes = size_t(lineBytes) * size_t(planes);
  std::vector<uint8_t> line(rowBytes);
  uint8_t* bits0 = dib.data() + DibBitsOffset(dib);
  const int64_t stride = DibStride(width, bitCount);
  size_t pos = kHeaderBytes;
  for (uint32_t y = 0; y < height; ++y) {
    if (encoding == 0) {
      if (rowBytes > end - pos) return Fail("The file ends before the last pixel.");
      std::memcpy(line.data(), data + pos, rowBytes);
      pos += rowBytes;
    } else {
      size_t filled = 0;
      while (filled < rowBytes) {
        if (pos >= end) return Fail("The file ends before the last pixel.");
        uint8_t value = data[pos++];
        size_t run = 1;
        if (value >= 0xC0) {
          run = value & 0x3F;
          if (pos >= end) return Fail("The file ends before the last pixel.");
          value = data[pos++];
          if (run > rowBytes - filled) return Fail("A run-length code reaches past the end of a row.");
        }
        std::memset(line.data() + filled, value, run);
        filled += run;
      }
    }
    uint8_t* row = bits0 + stride * (int64_t(height) - 1 - y);
    for (uint32_t x = 0; x < width; ++x) {
      if (trueColour) {
        row[3 * x] = line[2 * size_t(lineBytes) + x];
        row[3 * x + 1] = line[size_t(lineBytes) + x];
        row[3 * x + 2] = line[x];
      } else {
        int index = 0;
        for (int p = 0; p < planes; ++p) index |= Sample(line.data() + size_t(p) * lineBytes, int(x), bits) << (p * bits);
        SetIndex(row, int(x), bitCount, index);
      }
    }
  }
  return PcxImage{std::move(dib), {}};
}

std::vector<uint8_t> WritePcx(const DibView& view, std::string& error) {
  const int b = view.bitCount;
  if (b != 1 && b != 4 && b != 8 && b != 24 && b != 32) {
    error = "PCX pictures cannot hold this colour depth.";
    return {};
  }
  if (view.width <= 0 || view.height <= 0 || view.width > 65535 || view.height > 65535) {
    error = "PCX pictures are at most 65535 pixels wide and high.";
    return {};
  }
  const int planes = b == 4 ? 4 : b >= 24 ? 3 : 1;
  const int bitsPerPlane = b == 8 || b >= 24 ? 8 : 1;
  // Rows of every plane hold an even number of bytes.
  const size_t lineBytes = ((size_t(view.width) * bitsPerPlane + 15) / 16) * 2;

  std::vector<uint8_t> out(kHeaderBytes, 0);
  out[0] = 0x0A;
  out[1] = 5;
  out[2] = 1;
  out[3] = uint8_t(bitsPerPlane);
  PutLe16(&out[8], unsigned(view.width - 1));
  PutLe16(&out[10], unsigned(view.height - 1));
  PutLe16(&out[12], 72);
  PutLe16(&out[14], 72);
  if (b <= 4)
    for (int i = 0; i < (1 << b); ++i) {
      const DibColour c = view.Colour(i);
      out[16 + 3 * i] = c.red;
      out[17 + 3 * i] = c.green;
      out[18 + 3 * i] = c.blue;
    }
  out[65] = uint8_t(planes);
  PutLe16(&out[66], unsigned(lineBytes));
  PutLe16(&out[68], 1);  // colour palette

  std::vector<uint8_t> line(lineBytes * planes);
  const int step = b == 32 ? 4 : 3;
  for (int y = 0; y < view.height; ++y) {
    std::fill(line.begin(), line.end(), 0);
    const uint8_t* row = view.Row(y);
    for (int x = 0; x < view.width; ++x) {
      if (b >= 24) {
        const uint8_t* p = row + size_t(x) * step;
        line[x] = p[2];
        line[lineBytes + x] = p[1];
        line[2 * lineBytes + x] = p[0];
      } else if (b == 8) {
        line[x] = row[x];
      } else {
        const int index = IndexAt(row, x, b);
        for (int p = 0; p < planes; ++p)
          if (index >> p & 1) line[p * lineBytes + (x >> 3)] |= uint8_t(0x80 >> (x & 7));
      }
    }
    for (int p = 0; p < planes; ++p) EncodeLine(line.data() + p * lineBytes, lineBytes, out);
  }
  if (b == 8) {
    out.push_back(0x0C);
    for (int i = 0; i < 256; ++i) {
      const DibColour c = view.Colour(i);
      out.insert(out.end(), {c.red, c.green, c.blue});
    }
  }
  return out;
}

}  // namespace quillo::bxload
