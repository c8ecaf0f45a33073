// X bitmaps and pixmaps as C text: bit order, both value widths, colour
// syntaxes, several characters per pixel, and text that lies.
#include <gtest/gtest.h>

#include "formats_helpers.h"
#include "outside/bxload/xbm_codec.h"
#include "outside/bxload/xpm_codec.h"

namespace quillo::bxload {
namespace {

using V = std::vector<uint8_t>;

V Grey(std::initializer_list<int> levels) {
  V out;
  for (int v : levels) out.insert(out.end(), {uint8_t(v), uint8_t(v), uint8_t(v)});
  return out;
}

TEST(Xbm, LowestBitIsTheLeftmostPixelAndSetBitsAreBlack) {
  const V file = test::Bytes(
      "/* made by hand */\n#define dot_width 10\n#define dot_height 2\n#define dot_x_hot 1\n"
      "static unsigned char dot_bits[] = {\n 0x01, 0x02, /* row 1 */ 0xFF, 0x03 };\n");
  const XbmImage image = ReadXbm(file.data(), file.size());
  ASSERT_TRUE(image.error.empty()) << image.error;
  EXPECT_EQ(test::BitsOf(image.dib), 1);
  EXPECT_EQ(test::Rgb(image.dib), Grey({0, 255, 255, 255, 255, 255, 255, 255, 255, 0,
                                        0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  // The older form: 16 pixels per short.
  const V old = test::Bytes("#define o_width 17\n#define o_height 1\nstatic short o_bits[] = { 0x8001, 0x0001 };");
  const XbmImage wide = ReadXbm(old.data(), old.size());
  ASSERT_TRUE(wide.error.empty()) << wide.error;
  V expect = Grey({0, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 0, 0});
  EXPECT_EQ(test::Rgb(wide.dib), expect);
}

TEST(Xbm, DamagedTextIsRefused) {
  const char* const cases[] = {
      "static char x_bits[] = { 0x00 };",                                            // no size
      "#define x_width 8\n#define x_height 2\nstatic char x_bits[] = { 0x00 };",     // one row missing
      "#define x_width 8\n#define x_height 1\nstatic char x_bits[] = { 0x100 };",    // above a byte
      "#define x_width 8\n#define x_height 1\nstatic char x_bits[] = { zz };",
      "#define x_width 65535\n#define x_height 65535\nstatic char x_bits[] = { 0 };",
      "#define x_width 99999999999\n#define x_height 1\nstatic char x_bits[] = { 0 };",
      "#define x_width 8\n#define x_height 1\n",
  };
  for (const char* text : cases) {
    const V file = test::Bytes(text);
    const XbmImage image = ReadXbm(file.data(), file.size());
    EXPECT_TRUE(image.dib.empty()) << text;
    EXPECT_FALSE(image.error.empty()) << text;
  }
}

TEST(Xpm, ColourSyntaxesAndCharactersPerPixel) {
  const V file = test::Bytes(
      "/* XPM */\nstatic char *x[] = {\n/* values */\n\"4 2 4 1\",\n"
      "\"a c #FF0000\",\n\"b s mask c None\",\n\"c g4 #888 c light grey\",\n\"d m black c #00008000FFFF\",\n"
      "\"abcd\",\n\"dcba\"};\n");
  const XpmImage image = ReadXpm(file.data(), file.size());
  ASSERT_TRUE(image.error.empty()) << image.error;
  EXPECT_EQ(test::BitsOf(image.dib), 4);
  const V rgb = test::Rgb(image.dib);
  EXPECT_EQ(V(rgb.begin(), rgb.begin() + 12), (V{255, 0, 0, 255, 255, 255, 211, 211, 211, 0, 128, 255}));
  EXPECT_EQ(V(rgb.begin() + 12, rgb.end()), (V{0, 128, 255, 211, 211, 211, 255, 255, 255, 255, 0, 0}));

  // Three characters per pixel, 300 colours: a true-colour DIB.
  std::string text = "static char *y[] = {\"300 1 300 3\",\n";
  for (int i = 0; i < 300; ++i) {
    char line[40];
    std::snprintf(line, sizeof line, "\"%03d c #%02X%02X%02X\",\n", i, i % 256, i / 2, 7);
    text += line;
  }
  text += "\"";
  for (int i = 299; i >= 0; --i) {
    char key[4];
    std::snprintf(key, sizeof key, "%03d", i);
    text += key;
  }
  text += "\"};";
  const V big = test::Bytes(text);
  const XpmImage many = ReadXpm(big.data(), big.size());
  ASSERT_TRUE(many.error.empty()) << many.error;
  EXPECT_EQ(test::BitsOf(many.dib), 24);
  const V pixels = test::Rgb(many.dib);
  EXPECT_EQ(V(pixels.begin(), pixels.begin() + 3), (V{299 % 256, 149, 7}));
  EXPECT_EQ(V(pixels.end() - 3, pixels.end()), (V{0, 0, 7}));

  DibColour c{};
  EXPECT_TRUE(ParseXpmColour("Gray50", c));
  EXPECT_EQ(c.red, 128);
  EXPECT_FALSE(ParseXpmColour("gray101", c));
  EXPECT_FALSE(ParseXpmColour("#12345", c));
}

TEST(Xpm, DamagedTextIsRefused) {
  const char* const cases[] = {
      "\"2 1 1 1\", \"a c #000000\", \"ab\"",            // pixel b undefined
      "\"3 1 1 1\", \"a c #000000\", \"aa\"",            // short row
      "\"1 1 1 1\", \"a c chartreuse-ish\", \"a\"",      // unknown name
      "\"1 2 1 1\", \"a c #000000\", \"a\"",             // row missing
      "\"65535 65535 1 1\", \"a c #000000\", \"a\"",     // lying size
      "\"1 1 2000000000 1\", \"a c #000000\", \"a\"",    // lying colour count
      "\"1 1 1 0\", \"a c #000000\", \"a\"",             // no characters per pixel
      "\"1 1 1\", \"a c #000000\", \"a\"",
      "\"1 1 1 1\", \"a\", \"a\"",                       // colour line without colour
      "no strings at all",
  };
  for (const char* text : cases) {
    const V file = test::Bytes(text);
    const XpmImage image = ReadXpm(file.data(), file.size());
    EXPECT_TRUE(image.dib.empty()) << text;
    EXPECT_FALSE(image.error.empty()) << text;
  }
}

}  // namespace
}  // namespace quillo::bxload
