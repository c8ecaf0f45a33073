// The seven warp fields, each against its formula worked out again for
// every pixel of a small picture; the entries' packing and weights; reads
// clamped at the last row and column; sizes too large for the tables.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "plugins/qlo18/kernels/warp_fields.h"

namespace {

using namespace quillo::qlo18;

// Field k's source for pixel (x, y) of a w x h picture, written out one
// field at a time.
void Literal(int k, int x, int y, int w, int h, double& sx, double& sy) {
  const double dx = x - w / 2, dy = y - h / 2, R = h;
  auto turn = [&](double a, double& rx, double& ry) {
    ry = dy * std::cos(a) + dx * std::sin(a);
    rx = dx * std::cos(a) - dy * std::sin(a);
  };
  double rx, ry, scale;
  switch (k) {
    case 0:
      turn(0.002, rx, ry);
      scale = 1 - (std::sqrt(ry * ry + rx * rx) - R * 0.25) / 3000;
      break;
    case 1:
      turn(0.002, rx, ry);
      scale = 1 + (std::sqrt(ry * ry + rx * rx) - R * 0.45) / 6000;
      break;
    case 2:
      turn(0.002, rx, ry);
      scale = 1 - (std::sqrt(ry * ry + rx * rx) - R * 0.25) / 600;
      break;
    case 3:
      turn(std::sin(std::sqrt(dx * dx + dy * dy) * 0.05) * 0.05 + 0.002, rx, ry);
      scale = 1 - (std::sqrt(ry * ry + rx * rx) - R * 0.25) * 0.00025;
      break;
    case 4:
      turn(0.002, rx, ry);
      scale = 1 - (std::sqrt(ry * ry + rx * rx) - R * 0.25) / (std::sin(std::sqrt(dx * dx + dy * dy) * 0.2) * 3000 + 4000);
      break;
    case 5:
      rx = dx;
      ry = dy;
      scale = 1.02;
      break;
    default:
      turn(0.002, rx, ry);
      scale = std::cos(std::atan(dx / (dy + 0.00001)) * 6) * 0.02 + 1;
  }
  sx = std::fmin(std::fmax(w / 2 + rx * scale, 0.0), w - 1.0);
  sy = std::fmin(std::fmax(h / 2 + ry * scale, 0.0), h - 1.0);
}

TEST(Qlo18Warp, EverySevenFieldsMatchesItsFormulaOnEveryPixel) {
  constexpr int W = 61, H = 52;
  std::vector<WarpEntry> table;
  ASSERT_TRUE(BuildWarpFields(table, W, H));
  ASSERT_EQ(table.size(), size_t(7 * W * H));
  int moved[7] = {};
  for (int k = 0; k < 7; ++k)
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) {
        double sx, sy;
        Literal(k, x, y, W, H, sx, sy);
        const int ix = int(sx), iy = int(sy);
        const int u = int((sx - ix) * 252);
        const int v = int((sy - iy) * (252 - u));
        const int w = int((sy - iy) * u);
        const WarpEntry e = table[size_t(k) * W * H + size_t(y) * W + x];
        ASSERT_EQ(e.source, uint32_t(ix) << 16 | uint32_t(iy)) << k << " " << x << "," << y;
        ASSERT_EQ(e.weights >> 24, uint32_t(252 - u - v)) << k << " " << x << "," << y;
        ASSERT_EQ((e.weights >> 16) & 0xFF, uint32_t(u - w));
        ASSERT_EQ((e.weights >> 8) & 0xFF, uint32_t(v));
        ASSERT_EQ(e.weights & 0xFF, uint32_t(w));
        ASSERT_EQ((e.weights >> 24) + ((e.weights >> 16) & 0xFF) + ((e.weights >> 8) & 0xFF) + (e.weights & 0xFF),
                  252u);
        if (ix != x || iy != y) ++moved[k];
      }
  // Field 5 pushes the picture outward by 2 %: the corners' sources are
  // beyond the picture and clamp to its last row and column.
  const WarpEntry corner = table[size_t(5) * W * H + size_t(H - 1) * W + (W - 1)];
  EXPECT_EQ(corner.source, uint32_t(W - 1) << 16 | uint32_t(H - 1));
  EXPECT_EQ(corner.weights, 252u << 24);
  for (int k = 0; k < 7; ++k) EXPECT_GT(moved[k], W * H / 4) << "field " << k << " moves most pixels";
}

TEST(Qlo18Warp, ReadsAtTheLastRowAndColumnStayInThePicture) {
  constexpr int W = 5, H = 4;
  // Guard bytes of 255 around the grey picture: a read past it would show.
  std::vector<uint8_t> buffer(W * H + 2 * 16, 255);
  uint8_t* grey = buffer.data() + 16;
  for (int i = 0; i < W * H; ++i) grey[i] = uint8_t(10 * i);
  std::vector<WarpEntry> field(W * H);
  const uint32_t even = 63u << 24 | 63u << 16 | 63u << 8 | 63u;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) field[size_t(y) * W + x] = {uint32_t(x) << 16 | uint32_t(y), even};
  std::vector<uint8_t> next(W * H);
  WarpGrey(field.data(), grey, next.data(), W, H);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      const int x1 = std::min(x + 1, W - 1), y1 = std::min(y + 1, H - 1);
      const int sum = 63 * (grey[y * W + x] + grey[y * W + x1] + grey[y1 * W + x] + grey[y1 * W + x1]);
      ASSERT_EQ(next[size_t(y) * W + x], sum >> 8) << x << "," << y;
    }
}

TEST(Qlo18Warp, SizesAreCountedInSixtyFourBits) {
  EXPECT_EQ(WarpTableEntries(1920, 1080), uint64_t(7) * 1920 * 1080);
  EXPECT_EQ(WarpTableEntries(65535, 65535), SIZE_MAX > UINT32_MAX ? uint64_t(7) * 65535 * 65535 : 0u);
  EXPECT_EQ(WarpTableEntries(65536, 50), 0u) << "x no longer fits its 16 bits";
  EXPECT_EQ(WarpTableEntries(50, 65536), 0u);
  EXPECT_EQ(WarpTableEntries(0, 50), 0u);
  EXPECT_EQ(WarpTableEntries(-50, -50), 0u);
  std::vector<WarpEntry> table(3);
  EXPECT_FALSE(BuildWarpFields(table, 70000, 60));
  EXPECT_TRUE(table.empty());
}

}  // namespace
