// Rotation and shear against a plain model of their steps: the picture on a
// canvas of background, each shear a line at a time with the 14-bit blend,
// then the crop. Every byte of the result (pixels, row padding, mask), its
// size and the progress reported must match, for awkward sizes, many angles,
// with and without a mask, on several backgrounds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <vector>

#include "plugins/bxcomm2/kernels/shear_rotate.h"

namespace quillo::bxcomm2 {
namespace {

constexpr double kPi = 3.14159265358979323846;

// One layer (colour: 3 bytes a pixel, mask: 1) by memory row, and its background.
struct Grid {
  int w, h, c;
  std::vector<uint8_t> v;
  uint8_t fill[3];
  uint8_t* At(int x, int y) { return &v[(size_t(y) * w + x) * c]; }
};

// `length` pixels of `in` land at start + k + floor(offset) in the line of
// `outLength` at `out`, each blended with the one before (background before
// the first); the last one's share spills one further; the rest is background.
void ShearLine(const uint8_t* in, ptrdiff_t inStep, int length, uint8_t* out, ptrdiff_t outStep, int outLength,
               int start, double offset, const uint8_t* fill, int c) {
  const int shift = int(std::floor(offset));
  const int f = int(std::lround((1.0 - (offset - std::floor(offset))) * 16384));
  for (int pos = 0; pos < outLength; ++pos) {
    const int k = pos - start - shift;
    const uint8_t* p = k >= 0 && k < length ? in + k * inStep : fill;
    const uint8_t* q = k >= 1 && k <= length ? in + (k - 1) * inStep : fill;
    for (int ch = 0; ch < c; ++ch)
      out[pos * outStep + ch] =
          k < 0 || k > length ? fill[ch] : uint8_t((p[ch] * f + q[ch] * (16384 - f) + 8192) >> 14);
  }
}

void ShearRows(Grid& g, int y0, int y1, int first, int count, const std::function<double(int)>& offset) {
  Grid in = g;
  for (int y = y0; y < y1; ++y)
    ShearLine(in.At(first, y), g.c, count, g.At(0, y), g.c, g.w, first, offset(y), g.fill, g.c);
}

void ShearColumns(Grid& g, int x0, int x1, int first, int count, const std::function<double(int)>& offset) {
  Grid in = g;
  const ptrdiff_t step = ptrdiff_t(g.w) * g.c;
  for (int x = x0; x < x1; ++x)
    ShearLine(in.At(x, first), step, count, g.At(x, 0), step, g.h, first, offset(x), g.fill, g.c);
}

// The picture's layers placed at (x, y) of a w x h canvas of background.
std::vector<Grid> Canvas(const Picture& p, int w, int h, int x, int y, Background bg) {
  std::vector<Grid> layers{{w, h, 3, {}, {bg.blue, bg.green, bg.red}}};
  if (!p.mask.empty()) layers.push_back({w, h, 1, {}, {0, 0, 0}});
  for (Grid& g : layers) {
    g.v.resize(size_t(w) * h * g.c);
    for (size_t i = 0; i < g.v.size(); ++i) g.v[i] = g.fill[i % g.c];
  }
  for (int row = 0; row < p.height; ++row)
    for (int col = 0; col < p.width; ++col) {
      std::copy_n(p.Row(row) + col * 3, 3, layers[0].At(x + col, y + row));
      if (layers.size() > 1) *layers[1].At(x + col, y + row) = p.mask[size_t(p.height - 1 - row) * p.width + col];
    }
  return layers;
}

// The canvas inside the box of the picture's corners mapped by `map`.
Picture Crop(std::vector<Grid>& layers, double w, double h, const std::function<void(double&, double&)>& map) {
  const int cw = layers[0].w, ch = layers[0].h;
  double x0 = 1e300, x1 = -1e300, y0 = 1e300, y1 = -1e300;
  for (double sx : {-0.5, 0.5})
    for (double sy : {-0.5, 0.5}) {
      double x = sx * w, y = sy * h;
      map(x, y);
      x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
    }
  const int left = std::clamp(int(std::floor((cw - 1) / 2.0 + x0 + 0.5)), 0, cw - 1);
  const int right = std::clamp(int(std::ceil((cw - 1) / 2.0 + x1 - 0.5)), left, cw - 1);
  const int bottom = std::clamp(int(std::floor((ch - 1) / 2.0 + y0 + 0.5)), 0, ch - 1);
  const int top = std::clamp(int(std::ceil((ch - 1) / 2.0 + y1 - 0.5)), bottom, ch - 1);
  Picture out = *Picture::Make(right - left + 1, top - bottom + 1, layers.size() > 1);
  for (int y = 0; y < out.height; ++y)
    for (int x = 0; x < out.width; ++x) {
      std::copy_n(layers[0].At(left + x, bottom + y), 3, out.Row(y) + x * 3);
      if (layers.size() > 1) out.mask[size_t(out.height - 1 - y) * out.width + x] = *layers[1].At(left + x, bottom + y);
    }
  return out;
}

// Once counter-clockwise with rows counted upward: (x, y) goes to (H - 1 - y, x).
Picture TurnOnce(const Picture& p) {
  Picture out = *Picture::Make(p.height, p.width, !p.mask.empty());
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x) {
      std::copy_n(p.Row(y) + x * 3, 3, out.Row(x) + (p.height - 1 - y) * 3);
      if (!p.mask.empty())
        out.mask[size_t(out.height - 1 - x) * out.width + (p.height - 1 - y)] =
            p.mask[size_t(p.height - 1 - y) * p.width + x];
    }
  return out;
}

std::optional<Picture> ModelRotate(const Picture& in, double degrees, Background bg) {
  double a = std::fmod(degrees, 360.0);
  if (a < 0) a += 360;
  Picture p = in;
  while (a > 45) a -= 90, p = TurnOnce(p);
  if (a == 0) return p;
  const double s = -std::tan(a * kPi / 360), t = std::sin(a * kPi / 180);
  const int px = int(std::ceil(std::fabs(s) * (p.height - 1))), n = p.width + px;
  const int py = int(std::ceil(std::fabs(t) * (n - 1))) / 2 + 1;
  const int cw = p.width + 2 * px, ch = p.height + 2 * py, first = px / 2;
  if (int64_t(cw) * ch > kMaxCanvasPixels) return std::nullopt;
  const double cx = first + (n - 1) / 2.0, cy = (ch - 1) / 2.0;
  std::vector<Grid> layers = Canvas(p, cw, ch, px, py, bg);
  for (Grid& g : layers) {
    ShearRows(g, py, py + p.height, px, p.width, [&](int y) { return s * (y - cy); });
    ShearColumns(g, first, first + n, py, p.height, [&](int x) { return t * (x - cx); });
    ShearRows(g, 1, ch - 1, first, n, [&](int y) { return s * (y - cy); });
  }
  return Crop(layers, p.width, p.height, [&](double& x, double& y) { x += s * y, y += t * x, x += s * y; });
}

std::optional<Picture> ModelShear(const Picture& p, double horizontal, double vertical, Background bg) {
  const double s = -std::tan(horizontal * kPi / 360), t = std::sin(vertical * kPi / 180);
  const double px = std::ceil(std::fabs(s) * (p.height - 1)), py = std::ceil(std::fabs(t) * (p.width + px - 1));
  if ((p.width + px) * (p.height + py) > double(kMaxCanvasPixels)) return std::nullopt;
  const int cw = p.width + 2 * int(px / 2 + 1), ch = p.height + 2 * int(py / 2 + 1);
  const int x0 = (cw - p.width) / 2, y0 = (ch - p.height) / 2;
  std::vector<Grid> layers = Canvas(p, cw, ch, x0, y0, bg);
  for (Grid& g : layers) {
    ShearRows(g, y0, y0 + p.height, x0, p.width, [&](int y) { return s * (y - (ch - 1) / 2.0); });
    ShearColumns(g, 0, cw, y0, p.height, [&](int x) { return t * (x - (cw - 1) / 2.0); });
  }
  return Crop(layers, p.width, p.height, [&](double& x, double& y) { x += s * y, y += t * x; });
}

// Random bytes everywhere, row padding included, which must not show.
Picture Noise(int w, int h, bool mask, std::mt19937& random) {
  Picture p = *Picture::Make(w, h, mask);
  for (uint8_t& b : p.pixels) b = uint8_t(random());
  for (uint8_t& b : p.mask) b = uint8_t(random());
  return p;
}

void ExpectSame(const std::optional<Picture>& got, const std::optional<Picture>& want) {
  ASSERT_EQ(got.has_value(), want.has_value());
  if (!got) return;
  EXPECT_EQ(got->width, want->width);
  EXPECT_EQ(got->height, want->height);
  EXPECT_TRUE(got->pixels == want->pixels);
  EXPECT_TRUE(got->mask == want->mask);
}

const int kSizes[][2] = {{1, 1}, {2, 3}, {5, 7}, {7, 5}, {13, 4}, {1, 9}, {9, 1}, {300, 200}};
const Background kBackgrounds[] = {{0, 0, 0}, {255, 255, 255}, {10, 200, 77}};

TEST(ShearRotateModel, RotationGivesTheModelsBytes) {
  std::mt19937 random(1);
  for (auto [w, h] : kSizes)
    for (bool mask : {false, true})
      for (double angle : {0.0, 1.0, -1.0, 30.0, 44.0, 45.0, 46.0, 89.0, 90.0, 135.0, 180.0, -90.0, -270.0, 290.0,
                           359.0, 360.0, -33.3})
        for (Background bg : kBackgrounds) {
          SCOPED_TRACE(testing::Message()
                       << w << "x" << h << " mask " << mask << " angle " << angle << " bg " << int(bg.green));
          const Picture p = Noise(w, h, mask, random);
          ExpectSame(RotatePicture(p, angle, bg), ModelRotate(p, angle, bg));
        }
}

TEST(ShearRotateModel, ShearGivesTheModelsBytes) {
  std::mt19937 random(2);
  for (auto [w, h] : kSizes)
    for (bool mask : {false, true})
      for (double horizontal : {0.0, 20.0, -45.0, 89.0, 170.0})
        for (double vertical : {0.0, 10.0, -30.0, 60.0, -89.0}) {
          const Background bg = kBackgrounds[random() % 3];
          SCOPED_TRACE(testing::Message()
                       << w << "x" << h << " mask " << mask << " angles " << horizontal << ", " << vertical);
          const Picture p = Noise(w, h, mask, random);
          ExpectSame(ShearPicture(p, horizontal, vertical, bg), ModelShear(p, horizontal, vertical, bg));
        }
}

TEST(ShearRotateModel, ProgressComesInTheSameSteps) {
  std::vector<int> seen;
  const Progress note = [&](int percent) { seen.push_back(percent); };
  for (auto [w, h] : {std::pair{1, 1}, std::pair{40, 30}}) {
    seen.clear();
    ASSERT_TRUE(RotatePicture(*Picture::Make(w, h, true), 30, {}, note));
    EXPECT_EQ(seen, (std::vector<int>{5, 10, 15, 40, 65, 95}));
    seen.clear();
    ASSERT_TRUE(ShearPicture(*Picture::Make(w, h, false), 20, 10, {}, note));
    EXPECT_EQ(seen, (std::vector<int>{5, 10, 15, 95}));
  }
  seen.clear();
  ASSERT_TRUE(RotatePicture(*Picture::Make(4, 3, false), -90, {}, note));
  EXPECT_EQ(seen, std::vector<int>{5});
  // Refused canvases: the rotation has begun, the shear has not.
  Picture huge;
  huge.width = huge.height = 30000;
  seen.clear();
  EXPECT_FALSE(RotatePicture(huge, 10, {}, note));
  EXPECT_EQ(seen, std::vector<int>{5});
  seen.clear();
  EXPECT_FALSE(ShearPicture(huge, 10, 0, {}, note));
  EXPECT_TRUE(seen.empty());
}

}  // namespace
}  // namespace quillo::bxcomm2
