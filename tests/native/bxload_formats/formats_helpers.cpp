#include "formats_helpers.h"

namespace quillo::bxload::test {

std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

DibView View(const std::vector<uint8_t>& dib) {
  DibView view;
  std::string error;
  if (!ParseDib(dib.data(), dib.size(), view, error)) return DibView{};
  return view;
}

std::vector<uint8_t> Patterned(int width, int height, int bits) {
  std::vector<uint8_t> dib = NewDib(width, height, bits);
  const DibView view = View(dib);
  uint8_t* base = dib.data() + DibBitsOffset(dib);
  if (bits <= 8) {
    DibColour* table = DibTable(dib);
    for (int i = 0; i < (1 << bits); ++i) table[i] = {uint8_t(i * 37), uint8_t(255 - i), uint8_t(i * 11 + 3), 0};
  }
  const int entries = 1 << (bits <= 8 ? bits : 8);
  for (int y = 0; y < height; ++y) {
    uint8_t* row = base + view.stride * (height - 1 - y);
    for (int x = 0; x < width; ++x) {
      const int v = (x * 3 + y * 5 + (x * y) % 7 + (x / 9) * 13) % entries;
      if (bits == 1) row[x >> 3] |= uint8_t(v << (7 - (x & 7)));
      else if (bits == 4) row[x >> 1] |= uint8_t((x & 1) ? v : v << 4);
      else if (bits == 8) row[x] = uint8_t(v);
      else row[3 * x] = uint8_t(v), row[3 * x + 1] = uint8_t(x * 7 + y), row[3 * x + 2] = uint8_t(y * 3 - x);
    }
  }
  return dib;
}

int BitsOf(const std::vector<uint8_t>& dib) { return View(dib).bitCount; }

std::vector<uint8_t> Rgb(const std::vector<uint8_t>& dib, int* width, int* height) {
  const DibView view = View(dib);
  if (view.bitCount == 0) return {};
  const std::vector<uint8_t> bgr = ToBgr24(view);
  const DibView v24 = View(bgr);
  std::vector<uint8_t> rgb;
  for (int y = 0; y < v24.height; ++y)
    for (int x = 0; x < v24.width; ++x) {
      const uint8_t* p = v24.Row(y) + 3 * x;
      rgb.insert(rgb.end(), {p[2], p[1], p[0]});
    }
  if (width) *width = v24.width;
  if (height) *height = v24.height;
  return rgb;
}

}  // namespace quillo::bxload::test
