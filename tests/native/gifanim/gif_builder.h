// Builds small GIF files and LZW code streams for tests.
#pragma once
#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace gif_test {

// Packs codes least-significant bit first with explicit widths.
struct Bits {
  std::vector<uint8_t> out;
  uint32_t acc = 0;
  int n = 0;
  Bits& Put(int code, int width) {
    acc |= static_cast<uint32_t>(code) << n;
    n += width;
    while (n >= 8) {
      out.push_back(static_cast<uint8_t>(acc));
      acc >>= 8;
      n -= 8;
    }
    return *this;
  }
  std::vector<uint8_t> Done() {
    if (n > 0) out.push_back(static_cast<uint8_t>(acc));
    n = 0;
    acc = 0;
    return out;
  }
};

// Literal-only code stream for code size 2 (clear 4, end 5): a clear before
// every pair of codes keeps the code width at 3 bits.
inline std::vector<uint8_t> Literals(const std::vector<int>& px, bool end = true) {
  Bits b;
  for (size_t i = 0; i < px.size(); ++i) {
    if (i % 2 == 0) b.Put(4, 3);
    b.Put(px[i], 3);
  }
  if (end) b.Put(5, 3);
  return b.Done();
}

struct GifBuilder {
  std::vector<uint8_t> d;
  explicit GifBuilder(const char* sig = "GIF89a", int w = 4, int h = 2, int gct_bits = 1) {
    for (int i = 0; i < 6; ++i) d.push_back(static_cast<uint8_t>(sig[i]));
    Word(w);
    Word(h);
    d.push_back(static_cast<uint8_t>(gct_bits ? 0x80 | (gct_bits - 1) : 0));
    d.push_back(0);
    d.push_back(0);
    for (int i = 0; i < (gct_bits ? 1 << gct_bits : 0); ++i) {
      d.push_back(static_cast<uint8_t>(i));
      d.push_back(static_cast<uint8_t>(i + 1));
      d.push_back(static_cast<uint8_t>(i + 2));
    }
  }
  void Word(int v) {
    d.push_back(static_cast<uint8_t>(v));
    d.push_back(static_cast<uint8_t>(v >> 8));
  }
  GifBuilder& Control(int packed, int delay, int transparent) {
    d.insert(d.end(), {0x21, 0xF9, 4, static_cast<uint8_t>(packed)});
    Word(delay);
    d.push_back(static_cast<uint8_t>(transparent));
    d.push_back(0);
    return *this;
  }
  GifBuilder& Image(int x, int y, int w, int h, const std::vector<uint8_t>& lzw, int flags = 0,
                    int mcs = 2, int lct_bits = 0) {
    d.push_back(0x2C);
    Word(x);
    Word(y);
    Word(w);
    Word(h);
    d.push_back(static_cast<uint8_t>(flags | (lct_bits ? 0x80 | (lct_bits - 1) : 0)));
    for (int i = 0; i < (lct_bits ? 3 << lct_bits : 0); ++i) d.push_back(static_cast<uint8_t>(200 + i));
    d.push_back(static_cast<uint8_t>(mcs));
    for (size_t i = 0; i < lzw.size(); i += 255) {
      const size_t n = std::min<size_t>(255, lzw.size() - i);
      d.push_back(static_cast<uint8_t>(n));
      d.insert(d.end(), lzw.begin() + i, lzw.begin() + i + n);
    }
    d.push_back(0);
    return *this;
  }
  GifBuilder& Raw(std::initializer_list<uint8_t> b) {
    d.insert(d.end(), b);
    return *this;
  }
  std::vector<uint8_t> Trailer() {
    d.push_back(0x3B);
    return d;
  }
};

}  // namespace gif_test
