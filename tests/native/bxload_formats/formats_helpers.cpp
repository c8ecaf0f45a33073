#include "formats_helpers.h"

namespace quillo::bxload::test {

std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

DibView View(const std::vector<uint8_t>& dib) {
  DibView view;
  std::string error;
  if (!ParseDib(dib.data(), dib.size(), view, error)) return DibView{};
  return view;
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
