// Example pictures of effects that change the picture's size: the result
// keeps its shape inside the browser's size, centred, with margins in its
// corner's colour; a result of the right size is taken as it is.
#include <gtest/gtest.h>

#include "tools/make_examples/example_table.h"
#include "tools/render/effects/picture.h"

namespace quillo::examples {
namespace {

render::Picture Filled(int w, int h, uint8_t b, uint8_t g, uint8_t r) {
  render::Picture p;
  EXPECT_TRUE(render::MakePicture(w, h, p));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* q = p.Row(y) + 3 * x;
      q[0] = b, q[1] = g, q[2] = r;
    }
  return p;
}

bool IsColour(const render::Picture& p, int x, int y, uint8_t b, uint8_t g, uint8_t r) {
  const uint8_t* q = p.Row(y) + 3 * x;
  return q[0] == b && q[1] == g && q[2] == r;
}

TEST(ExampleFit, WideAndTallResultsKeepTheirShapeCentred) {
  // 200 x 100 into 160 x 120: 160 x 80 from row 20.
  render::Picture wide = Filled(200, 100, 10, 20, 30);
  for (int x = 0; x < 200; ++x) std::fill(wide.Row(50) + 3 * x, wide.Row(50) + 3 * x + 3, 200);
  render::Picture out;
  std::string error;
  ASSERT_TRUE(FitExample(wide, 160, 120, out, error)) << error;
  ASSERT_EQ(out.width, 160);
  ASSERT_EQ(out.height, 120);
  EXPECT_TRUE(IsColour(out, 80, 5, 10, 20, 30));    // margin
  EXPECT_TRUE(IsColour(out, 80, 115, 10, 20, 30));  // margin
  EXPECT_FALSE(IsColour(out, 80, 60, 10, 20, 30));  // the bright middle row
  // 50 x 300 into 160 x 120: 20 x 120 in the middle columns.
  const render::Picture tall = Filled(50, 300, 1, 2, 3);
  ASSERT_TRUE(FitExample(tall, 160, 120, out, error));
  EXPECT_TRUE(IsColour(out, 0, 60, 1, 2, 3));
  EXPECT_TRUE(IsColour(out, 159, 60, 1, 2, 3));
}

TEST(ExampleFit, SameSizeIsKeptAndHugeShapesStillGiveAPixel) {
  const render::Picture same = Filled(16, 12, 7, 8, 9);
  render::Picture out;
  std::string error;
  ASSERT_TRUE(FitExample(same, 16, 12, out, error));
  EXPECT_EQ(out.pixels, same.pixels);
  // A 1000 x 1 strip into 16 x 12: one row high, not zero.
  ASSERT_TRUE(FitExample(Filled(1000, 1, 90, 90, 90), 16, 12, out, error)) << error;
  EXPECT_TRUE(IsColour(out, 8, 6, 90, 90, 90));
}

}  // namespace
}  // namespace quillo::examples
