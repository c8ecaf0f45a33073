// Brushes and patterns built by hand: both brush versions, every pattern
// depth, alpha over white, headers that lie.
#include <gtest/gtest.h>

#include "formats_helpers.h"
#include "outside/bxload/gimp_formats.h"

namespace quillo::bxload {
namespace {

using V = std::vector<uint8_t>;

void Be32(V& out, uint32_t v) { out.insert(out.end(), {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)}); }

// Header (with `magic` after the five words when given, then `extra` words) and a name.
V Make(uint32_t version, uint32_t w, uint32_t h, uint32_t bytes, const char* magic, int extraWords, const V& pixels,
       int headerSizeDelta = 0) {
  const std::string name = "Dot";
  const uint32_t headerSize = 20 + (magic ? 4 : 0) + 4 * extraWords + uint32_t(name.size()) + 1;
  V f;
  Be32(f, uint32_t(int(headerSize) + headerSizeDelta));
  for (uint32_t v : {version, w, h, bytes}) Be32(f, v);
  if (magic) f.insert(f.end(), magic, magic + 4);
  for (int i = 0; i < extraWords; ++i) Be32(f, 25);  // brush spacing
  f.insert(f.end(), name.begin(), name.end());
  f.push_back(0);
  f.insert(f.end(), pixels.begin(), pixels.end());
  return f;
}

TEST(GimpFormats, BrushesShowDarkOnWhite) {
  const V v1 = Make(1, 2, 1, 1, nullptr, 0, {0, 255});
  GimpImage image = ReadGbr(v1.data(), v1.size());
  ASSERT_TRUE(image.error.empty()) << image.error;
  EXPECT_EQ(test::BitsOf(image.dib), 8);
  EXPECT_EQ(test::Rgb(image.dib), (V{255, 255, 255, 0, 0, 0}));
  EXPECT_EQ(test::View(image.dib).Row(0)[1], 255);  // the stored amount is the index

  const V v2 = Make(2, 2, 2, 4, "GIMP", 1, {255, 0, 0, 255, 0, 0, 255, 0, 10, 20, 30, 128, 0, 0, 0, 255});
  image = ReadGbr(v2.data(), v2.size());
  ASSERT_TRUE(image.error.empty()) << image.error;
  EXPECT_EQ(test::BitsOf(image.dib), 24);
  EXPECT_EQ(test::Rgb(image.dib), (V{255, 0, 0, 255, 255, 255, OverWhite(10, 128), OverWhite(20, 128),
                                     OverWhite(30, 128), 0, 0, 0}));
  EXPECT_EQ(OverWhite(0, 128), 127);
}

TEST(GimpFormats, PatternsOfEveryDepth) {
  struct Case { uint32_t bytes; V pixels; V rgb; };
  const Case cases[] = {
      {1, {7, 200}, {7, 7, 7, 200, 200, 200}},
      {2, {0, 255, 0, 0}, {0, 0, 0, 255, 255, 255}},
      {3, {1, 2, 3, 4, 5, 6}, {1, 2, 3, 4, 5, 6}},
      {4, {1, 2, 3, 255, 4, 5, 6, 0}, {1, 2, 3, 255, 255, 255}},
  };
  for (const Case& c : cases) {
    const V file = Make(1, 2, 1, c.bytes, "GPAT", 0, c.pixels);
    const GimpImage image = ReadPat(file.data(), file.size());
    ASSERT_TRUE(image.error.empty()) << image.error;
    EXPECT_EQ(test::Rgb(image.dib), c.rgb) << c.bytes;
    EXPECT_EQ(test::BitsOf(image.dib), c.bytes <= 2 ? 8 : 24);
  }
}

TEST(GimpFormats, LyingHeadersAreRefused) {
  const V brushes[] = {
      Make(2, 2, 1, 1, "GIMP", 1, {1}),                     // one pixel short
      Make(2, 2, 1, 1, "GIMX", 1, {1, 2}),                  // magic
      Make(3, 2, 1, 1, "GIMP", 1, {1, 2}),                  // version
      Make(2, 2, 1, 3, "GIMP", 1, {1, 2, 3, 4, 5, 6}),      // 3 bytes per pixel
      Make(2, 65535, 65535, 1, "GIMP", 1, {1, 2}),          // lying size
      Make(2, 0x80000000u, 1, 1, "GIMP", 1, {1, 2}),        // width beyond int
      Make(2, 2, 1, 1, "GIMP", 1, {1, 2}, 1000),            // header size beyond the file
      Make(2, 2, 1, 1, "GIMP", 1, {1, 2}, -20),             // header size below the fixed part
      V{0, 0, 0, 28},
  };
  for (const V& file : brushes) {
    const GimpImage image = ReadGbr(file.data(), file.size());
    EXPECT_TRUE(image.dib.empty());
    EXPECT_FALSE(image.error.empty());
  }
  const V patterns[] = {
      Make(1, 2, 1, 3, "GPAT", 0, {1, 2, 3, 4, 5}),
      Make(1, 2, 1, 5, "GPAT", 0, V(10, 0)),
      Make(1, 2, 1, 1, "GIMP", 0, {1, 2}),
      Make(1, 65535, 65535, 4, "GPAT", 0, {1, 2}),
  };
  for (const V& file : patterns) {
    const GimpImage image = ReadPat(file.data(), file.size());
    EXPECT_TRUE(image.dib.empty());
    EXPECT_FALSE(image.error.empty());
  }
}

}  // namespace
}  // namespace quillo::bxload
