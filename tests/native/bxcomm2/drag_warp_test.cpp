// The drag warp: what lay at the start shows at the end, the squares'
// outer corners and everything outside them stay, the mask follows, drags
// at the picture's edges never touch memory outside it, and a drag of no
// length or from outside the picture changes nothing.
#include <gtest/gtest.h>

#include <vector>

#include "plugins/bxcomm2/kernels/drag_warp.h"

namespace quillo::bxcomm2 {
namespace {

constexpr uint8_t kGuard = 0xA5;

// A picture with two guard rows around it and padding at each row's end.
struct TestPicture {
  int width, height;
  int64_t stride;
  std::vector<uint8_t> source, target, sourceMask, targetMask;

  TestPicture(int w, int h) : width(w), height(h), stride(((w * 3 + 3) & ~3) + 4) {
    source.assign(size_t(stride) * (h + 2), kGuard);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        uint8_t* p = &source[size_t((y + 1) * stride + x * 3)];
        p[0] = uint8_t(x * 7 + y), p[1] = uint8_t(y * 11), p[2] = uint8_t(x * y + 3);
      }
    target = source;
    sourceMask.assign(size_t(w) * h + 2, kGuard);
    for (int i = 0; i < w * h; ++i) sourceMask[size_t(i) + 1] = uint8_t(i * 5);
    targetMask = sourceMask;
  }
  DragWarpPicture View() {
    return {source.data() + stride, target.data() + stride, width, height, stride,
            sourceMask.data() + 1, targetMask.data() + 1};
  }
  const uint8_t* In(int x, int y) const { return &source[size_t((y + 1) * stride + x * 3)]; }
  const uint8_t* Out(int x, int y) const { return &target[size_t((y + 1) * stride + x * 3)]; }
  uint8_t MaskIn(int x, int y) const { return sourceMask[size_t((height - 1 - y) * width + x) + 1]; }
  uint8_t MaskOut(int x, int y) const { return targetMask[size_t((height - 1 - y) * width + x) + 1]; }
  bool GuardsKept() const {
    for (int64_t i = 0; i < stride; ++i)
      if (target[size_t(i)] != kGuard || target[size_t((height + 1) * stride + i)] != kGuard) return false;
    for (int y = 0; y < height; ++y)
      for (int64_t i = width * 3; i < stride; ++i)
        if (target[size_t((y + 1) * stride + i)] != kGuard) return false;
    return targetMask.front() == kGuard && targetMask.back() == kGuard;
  }
};

bool SamePixel(const uint8_t* a, const uint8_t* b) { return a[0] == b[0] && a[1] == b[1] && a[2] == b[2]; }

TEST(DragWarp, EndShowsStartAndOuterCornersStay) {
  TestPicture p(40, 30);
  const DragPoint s{12, 10}, e{15, 14};  // distance 5: squares of side 10
  ASSERT_EQ(DragWarpSide(s, e), 10);
  DragWarp(p.View(), s, e);
  EXPECT_TRUE(SamePixel(p.Out(15, 14), p.In(12, 10)));
  EXPECT_EQ(p.MaskOut(15, 14), p.MaskIn(12, 10));
  for (int cx : {5, 15, 25})
    for (int cy : {4, 14, 24})
      if (cx != 15 || cy != 14) {
        EXPECT_TRUE(SamePixel(p.Out(cx, cy), p.In(cx, cy))) << cx << "," << cy;
      }
  // Outside the four squares nothing moves; inside, something did.
  int changed = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) {
      const bool inside = x >= 5 && x <= 25 && y >= 4 && y <= 24;
      if (!inside) {
        EXPECT_TRUE(SamePixel(p.Out(x, y), p.In(x, y))) << x << "," << y;
      }
      changed += !SamePixel(p.Out(x, y), p.In(x, y));
    }
  EXPECT_GT(changed, 100);
  EXPECT_TRUE(p.GuardsKept());
}

TEST(DragWarp, NoLengthOrPointsOutsideChangeNothing) {
  TestPicture p(9, 7);
  DragWarp(p.View(), {3, 3}, {3, 3});
  DragWarp(p.View(), {-1, 3}, {4, 3});
  DragWarp(p.View(), {3, 3}, {4, 7});
  EXPECT_EQ(p.target, p.source);
  EXPECT_EQ(p.targetMask, p.sourceMask);
}

TEST(DragWarp, DragsAtEdgesAndOnTinyPicturesStayInside) {
  for (auto [w, h] : {std::pair{1, 1}, {2, 1}, {1, 3}, {3, 3}, {17, 5}}) {
    TestPicture p(w, h);
    for (int sy = 0; sy < h; ++sy)
      for (int sx = 0; sx < w; ++sx) {
        DragWarp(p.View(), {sx, sy}, {w - 1, h - 1});
        DragWarp(p.View(), {sx, sy}, {0, 0});
      }
    EXPECT_TRUE(p.GuardsKept()) << w << "x" << h;
  }
  // A long drag: the squares reach far past every edge.
  TestPicture p(20, 10);
  DragWarp(p.View(), {0, 0}, {19, 9});
  EXPECT_TRUE(SamePixel(p.Out(19, 9), p.In(0, 0)));
  EXPECT_TRUE(p.GuardsKept());
}

}  // namespace
}  // namespace quillo::bxcomm2
