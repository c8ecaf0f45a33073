#include "tga_codec.h"

#include <algorithm>
#include <cstring>

#include "pnm_codec.h"  // kMaxFormatPixels

namespace quillo::bxload {
namespace {

constexpr size_t kHeaderBytes = 18;

uint16_t Le16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

TgaImage Fail(const char* reason) { return TgaImage{{}, reason}; }

// Colour of one stored map entry or true-colour pixel of `bits` bits.
DibColour Decode(const uint8_t* p, int bits) {
  switch (bits) {
    case 15:
    case 16: {
      const uint16_t v = Le16(p);
      auto expand = [](int c) { return uint8_t((c << 3) | (c >> 2)); };
      return {expand(v & 31), expand((v >> 5) & 31), expand((v >> 10) & 31), 0};
    }
    default:  // 24 and 32: blue, green, red (, alpha)
      return {p[0], p[1], p[2], 0};
  }
}

}  // namespace

TgaImage ReadTga(const uint8_t* data, size_t size, uint64_t maxDibBytes) {
  if (data == nullptr || size < kHeaderBytes) return Fail("The file is too short to be a targa picture.");
  const uint8_t idLength = data[0];
  const uint8_t mapType = data[1];
  const uint8_t imageType = data[2];
  const uint16_t mapFirst = Le16(data + 3);
  const uint16_t mapLength = Le16(data + 5);
  const uint8_t mapEntryBits = data[7];
  const uint16_t width = Le16(data + 12);
  const uint16_t height = Le16(data + 14);
  const uint8_t pixelBits = data[16];
  const uint8_t descriptor = data[17];

  const int baseType = imageType & 7;
  const bool rle = (imageType & 8) != 0;
  if ((imageType & ~0x0B) != 0 || baseType < 1 || baseType > 3)
    return Fail("Only colour-mapped, true colour and grey targa pictures can be read.");
  if (mapType > 1) return Fail("The colour map type of the targa picture is unknown.");
  if (descriptor & 0xC0) return Fail("Interleaved targa pictures cannot be read.");
  if (width == 0 || height == 0) return Fail("The picture has no pixels.");
  if (uint64_t(width) * height > kMaxFormatPixels) return Fail("The picture is too large.");

  size_t pos = kHeaderBytes + idLength;
  if (pos > size) return Fail("The file ends inside the picture's ID field.");
  const uint8_t* map = nullptr;
  if (mapType == 1) {
    if (mapEntryBits != 15 && mapEntryBits != 16 && mapEntryBits != 24 && mapEntryBits != 32)
      return Fail("The colour map entries have an unsupported size.");
    const uint64_t mapBytes = uint64_t(mapLength) * ((mapEntryBits + 7) / 8);
    if (mapBytes > size - pos) return Fail("The file ends inside the colour map.");
    map = data + pos;
    pos += size_t(mapBytes);
  }

  int bitCount = 24;
  switch (baseType) {
    case 1:
      if (mapType != 1) return Fail("The colour-mapped picture has no colour map.");
      if (pixelBits != 8) return Fail("Only 8-bit colour map indices can be read.");
      bitCount = 8;
      break;
    case 2:
      if (pixelBits != 15 && pixelBits != 16 && pixelBits != 24 && pixelBits != 32)
        return Fail("The true colour pixels have an unsupported size.");
      break;
    case 3:
      if (pixelBits != 8 && pixelBits != 16) return Fail("The grey pixels have an unsupported size.");
      bitCount = 8;
      break;
  }
  const int pixelBytes = (pixelBits + 7) / 8;
  const uint64_t count = uint64_t(width) * height;

  std::vector<uint8_t> dib = NewDib(width, height, bitCount, maxDibBytes);
  if (dib.empty()) return Fail("The picture is too large.");
  DibColour* table = DibTable(dib);
  if (baseType == 1) {
    const int mapBytesEach = (mapEntryBits + 7) / 8;
    for (int i = 0; i < 256; ++i) {
      const int entry = i - mapFirst;
      table[i] = (entry >= 0 && entry < mapLength) ? Decode(map + size_t(entry) * mapBytesEach, mapEntryBits)
                                                   : DibColour{0, 0, 0, 0};
    }
  } else if (baseType == 3) {
    for (int i = 0; i < 256; ++i) table[i] = {uint8_t(i), uint8_t(i), uint8_t(i), 0};
  }

  // Pixels in file order, expanded from run-length packets when needed.
  std::vector<uint8_t> expanded;
  const uint8_t* pixels = nullptr;
  const char* truncated = "The file ends before the last pixel.";
  if (!rle) {
    if (count * pixelBytes > size - pos) return Fail(truncated);
    pixels = data + pos;
  } else {
    expanded.resize(size_t(count * pixelBytes));
    uint64_t done = 0;
    while (done < count) {
      if (pos >= size) return Fail(truncated);
      const uint8_t packet = data[pos++];
      const uint64_t n = std::min<uint64_t>((packet & 0x7F) + 1, count - done);
      uint8_t* out = expanded.data() + done * pixelBytes;
      if (packet & 0x80) {
        if (size_t(pixelBytes) > size - pos) return Fail(truncated);
        for (uint64_t i = 0; i < n; ++i) std::memcpy(out + i * pixelBytes, data + pos, size_t(pixelBytes));
        pos += size_t(pixelBytes);
      } else {
        // A raw packet cut at the end still needs only the pixels it delivers.
        const uint64_t bytes = n * pixelBytes;
        if (bytes > size - pos) return Fail(truncated);
        std::memcpy(out, data + pos, size_t(bytes));
        pos += size_t(bytes);
      }
      done += n;
    }
    pixels = expanded.data();
  }

  const bool topDown = (descriptor & 0x20) != 0;
  const bool rightToLeft = (descriptor & 0x10) != 0;
  uint8_t* bits = dib.data() + DibBitsOffset(dib);
  const int64_t stride = DibStride(width, bitCount);
  for (int r = 0; r < height; ++r) {
    // File row r lands on DIB row (counted from the bottom) r or height-1-r.
    uint8_t* row = bits + stride * (topDown ? int64_t(height) - 1 - r : r);
    const uint8_t* src = pixels + uint64_t(r) * width * pixelBytes;
    for (int c = 0; c < width; ++c) {
      const int x = rightToLeft ? width - 1 - c : c;
      const uint8_t* p = src + size_t(c) * pixelBytes;
      if (bitCount == 8) {
        row[x] = p[0];
      } else {
        const DibColour colour = Decode(p, pixelBits);
        row[x * 3] = colour.blue;
        row[x * 3 + 1] = colour.green;
        row[x * 3 + 2] = colour.red;
      }
    }
  }
  return TgaImage{std::move(dib), {}};
}

std::vector<uint8_t> WriteTga(const DibView& view, std::string& error) {
  const int b = view.bitCount;
  if (b != 1 && b != 4 && b != 8 && b != 24 && b != 32) {
    error = "Targa pictures cannot hold this colour depth.";
    return {};
  }
  if (view.width <= 0 || view.height <= 0 || view.width > 65535 || view.height > 65535) {
    error = "Targa pictures are at most 65535 pixels wide and high.";
    return {};
  }
  const bool paletted = b <= 8;
  const int entries = paletted ? 1 << b : 0;
  const uint64_t total = kHeaderBytes + uint64_t(entries) * 3 +
                         uint64_t(view.width) * uint64_t(view.height) * (paletted ? 1 : 3);
  std::vector<uint8_t> out;
  out.reserve(size_t(total));
  const uint8_t header[kHeaderBytes] = {
      0,                                 // no ID field
      uint8_t(paletted ? 1 : 0),         // colour map present
      uint8_t(paletted ? 1 : 2),         // uncompressed colour-mapped or true colour
      0, 0,                              // first map entry
      uint8_t(entries & 0xFF), uint8_t(entries >> 8),
      uint8_t(paletted ? 24 : 0),        // map entry size
      0, 0, 0, 0,                        // origin
      uint8_t(view.width & 0xFF), uint8_t(view.width >> 8),
      uint8_t(view.height & 0xFF), uint8_t(view.height >> 8),
      uint8_t(paletted ? 8 : 24),
      0,                                 // bottom-left origin, no alpha
  };
  out.insert(out.end(), header, header + kHeaderBytes);
  for (int i = 0; i < entries; ++i) {
    const DibColour c = view.Colour(i);
    out.push_back(c.blue);
    out.push_back(c.green);
    out.push_back(c.red);
  }
  const int step = b == 32 ? 4 : 3;
  for (int y = view.height - 1; y >= 0; --y) {
    const uint8_t* row = view.Row(y);
    for (int x = 0; x < view.width; ++x) {
      if (paletted) {
        out.push_back(uint8_t(IndexAt(row, x, b)));
      } else {
        const uint8_t* p = row + size_t(x) * step;
        out.push_back(p[0]);
        out.push_back(p[1]);
        out.push_back(p[2]);
      }
    }
  }
  return out;
}

}  // namespace quillo::bxload
