// Targa files built by hand: every type and depth, origins, colour map
// offsets, run-length packets across rows and past the end; round trips.
#include <gtest/gtest.h>

#include "formats_helpers.h"
#include "outside/bxload/tga_codec.h"

namespace quillo::bxload {
namespace {

using V = std::vector<uint8_t>;

struct Header {
  uint8_t idLength = 0, mapType = 0, type = 2;
  uint16_t mapFirst = 0, mapLength = 0;
  uint8_t mapBits = 0;
  uint16_t width = 1, height = 1;
  uint8_t bits = 24, descriptor = 0;
};

V Make(const Header& h, const V& body) {
  V f{h.idLength, h.mapType, h.type,
      uint8_t(h.mapFirst), uint8_t(h.mapFirst >> 8), uint8_t(h.mapLength), uint8_t(h.mapLength >> 8), h.mapBits,
      0, 0, 0, 0, uint8_t(h.width), uint8_t(h.width >> 8), uint8_t(h.height), uint8_t(h.height >> 8),
      h.bits, h.descriptor};
  f.insert(f.end(), body.begin(), body.end());
  return f;
}

V ReadRgb(const V& file, int expectBits) {
  const TgaImage image = ReadTga(file.data(), file.size());
  EXPECT_TRUE(image.error.empty()) << image.error;
  EXPECT_EQ(test::BitsOf(image.dib), expectBits);
  return test::Rgb(image.dib);
}

TEST(TgaReader, TrueColourDepthsAndOrigins) {
  // 2 x 2, stored bottom row first (default origin): bottom = red, green; top = blue, white.
  const V body24{0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255};
  const V topDown{0, 0, 255, 255, 255, 255, 255, 0, 0, 0, 255, 0};  // as RGB, top row first
  Header h;
  h.width = h.height = 2;
  h.idLength = 3;
  V withId{'a', 'b', 'c'};
  withId.insert(withId.end(), body24.begin(), body24.end());
  EXPECT_EQ(ReadRgb(Make(h, withId), 24), topDown);
  // 32 bits: alpha dropped.
  h.idLength = 0;
  h.bits = 32;
  V body32;
  for (size_t i = 0; i < body24.size(); i += 3) body32.insert(body32.end(), {body24[i], body24[i + 1], body24[i + 2], 7});
  EXPECT_EQ(ReadRgb(Make(h, body32), 24), topDown);
  // 16 bits (x RRRRR GGGGG BBBBB), 15 bits the same layout.
  const V body16{0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0xFF, 0x7F};
  for (uint8_t bits : {uint8_t(15), uint8_t(16)}) {
    h.bits = bits;
    EXPECT_EQ(ReadRgb(Make(h, body16), 24), topDown);
  }
  // Top-left origin, then right-to-left as well.
  h.bits = 24;
  h.descriptor = 0x20;
  EXPECT_EQ(ReadRgb(Make(h, body24), 24), (V{255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255}));
  h.descriptor = 0x30;
  EXPECT_EQ(ReadRgb(Make(h, body24), 24), (V{0, 255, 0, 255, 0, 0, 255, 255, 255, 0, 0, 255}));
}

TEST(TgaReader, ColourMapWithFirstEntryOffsetAndEntrySizes) {
  // Map covers indices 10..12; index 3 lies outside it and reads black.
  Header h;
  h.type = 1;
  h.mapType = 1;
  h.mapFirst = 10;
  h.mapLength = 3;
  h.bits = 8;
  h.width = 4;
  const V pixels{10, 11, 12, 3};
  const V expected{255, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0};
  const V map24{0, 0, 255, 0, 255, 0, 255, 0, 0};
  const V map32{0, 0, 255, 9, 0, 255, 0, 9, 255, 0, 0, 9};
  const V map16{0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00};
  const std::pair<uint8_t, V> maps[] = {{24, map24}, {32, map32}, {16, map16}, {15, map16}};
  for (const auto& [bits, map] : maps) {
    h.mapBits = bits;
    V body = map;
    body.insert(body.end(), pixels.begin(), pixels.end());
    const V file = Make(h, body);
    EXPECT_EQ(ReadRgb(file, 8), expected) << int(bits);
    const TgaImage image = ReadTga(file.data(), file.size());
    EXPECT_EQ(test::View(image.dib).Row(0)[2], 12);  // indices are kept
  }
  // A true colour picture may carry an unused map: it is skipped.
  Header t;
  t.mapType = 1;
  t.mapLength = 2;
  t.mapBits = 24;
  EXPECT_EQ(ReadRgb(Make(t, {1, 2, 3, 4, 5, 6, 30, 20, 10}), 24), (V{10, 20, 30}));
}

TEST(TgaReader, GreyPictures) {
  Header h;
  h.type = 3;
  h.bits = 8;
  h.width = 3;
  EXPECT_EQ(ReadRgb(Make(h, {0, 128, 255}), 8), (V{0, 0, 0, 128, 128, 128, 255, 255, 255}));
  h.bits = 16;  // grey and alpha
  EXPECT_EQ(ReadRgb(Make(h, {0, 1, 128, 1, 255, 1}), 8), (V{0, 0, 0, 128, 128, 128, 255, 255, 255}));
}

TEST(TgaReader, RunLengthPacketsCrossRowsAndAreCutAtTheEnd) {
  // 3 x 2 true colour, top-left origin: a run of 4 red crosses into row 2,
  // then a raw packet of 3 pixels of which only 2 fit; trailing bytes ignored.
  Header h;
  h.type = 10;
  h.width = 3;
  h.height = 2;
  h.descriptor = 0x20;
  const V body{0x83, 0, 0, 255, 0x02, 0, 255, 0, 255, 0, 0, 1, 2, 3, 0xEE, 0xEE};
  EXPECT_EQ(ReadRgb(Make(h, body), 24), (V{255, 0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255}));
  // A run packet longer than the picture.
  EXPECT_EQ(ReadRgb(Make(h, {0xFF, 9, 8, 7}), 24), (V{7, 8, 9, 7, 8, 9, 7, 8, 9, 7, 8, 9, 7, 8, 9, 7, 8, 9}));
  // Colour-mapped and grey run-length forms.
  Header m;
  m.type = 9;
  m.mapType = 1;
  m.mapLength = 2;
  m.mapBits = 24;
  m.bits = 8;
  m.width = 3;
  EXPECT_EQ(ReadRgb(Make(m, {0, 0, 0, 255, 255, 255, 0x81, 1, 0x00, 0}), 8), (V{255, 255, 255, 255, 255, 255, 0, 0, 0}));
  Header g;
  g.type = 11;
  g.bits = 8;
  g.width = 2;
  g.height = 2;
  EXPECT_EQ(ReadRgb(Make(g, {0x01, 10, 20, 0x81, 30}), 8), (V{30, 30, 30, 30, 30, 30, 10, 10, 10, 20, 20, 20}));
}

TEST(TgaReader, DamagedAndLyingFilesAreRefused) {
  Header ok;
  ok.width = 2;
  auto bad = [](const Header& h, const V& body) {
    const V file = Make(h, body);
    const TgaImage image = ReadTga(file.data(), file.size());
    return image.dib.empty() && !image.error.empty();
  };
  EXPECT_FALSE(bad(ok, {1, 2, 3, 4, 5, 6}));
  EXPECT_TRUE(bad(ok, {1, 2, 3, 4, 5}));           // raster short by one byte
  Header h = ok;
  h.idLength = 10;
  EXPECT_TRUE(bad(h, {1, 2, 3}));                  // ID runs off the end
  h = ok;
  h.type = 10;
  EXPECT_TRUE(bad(h, {0x80, 1, 2, 3}));            // run covers one of two pixels, then nothing
  EXPECT_TRUE(bad(h, {0x81, 1, 2}));               // run value cut
  EXPECT_TRUE(bad(h, {0x01, 1, 2, 3, 4, 5}));      // raw packet cut
  h = ok;
  h.type = 1;
  h.bits = 8;
  EXPECT_TRUE(bad(h, {0, 0}));                     // colour-mapped without a map
  h.mapType = 1;
  h.mapLength = 300;
  h.mapBits = 24;
  EXPECT_TRUE(bad(h, V(100, 0)));                  // map runs off the end
  h.mapLength = 1;
  h.mapBits = 12;
  EXPECT_TRUE(bad(h, V(10, 0)));                   // odd map entry size
  h = ok;
  h.width = 0;
  EXPECT_TRUE(bad(h, {}));
  h = ok;
  h.width = h.height = 65535;
  EXPECT_TRUE(bad(h, {}));                          // over 2^28 pixels
  for (uint8_t type : {uint8_t(0), uint8_t(4), uint8_t(32), uint8_t(33)}) {
    h = ok;
    h.type = type;
    EXPECT_TRUE(bad(h, V(6, 0))) << int(type);
  }
  h = ok;
  h.bits = 8;
  EXPECT_TRUE(bad(h, V(6, 0)));                    // 8-bit true colour
  h = ok;
  h.descriptor = 0x40;
  EXPECT_TRUE(bad(h, V(6, 0)));                    // interleaved
  EXPECT_TRUE(ReadTga(nullptr, 0).dib.empty());
  const V shortHeader(17, 0);
  EXPECT_TRUE(ReadTga(shortHeader.data(), shortHeader.size()).dib.empty());
}

TEST(TgaWriter, RoundTripsEveryDepth) {
  for (int bits : {1, 4, 8, 24}) {
    std::vector<uint8_t> dib = NewDib(7, 5, bits);
    if (bits <= 8) {
      DibColour* table = DibTable(dib);
      for (int i = 0; i < (1 << bits); ++i) table[i] = {uint8_t(i * 3), uint8_t(255 - i), uint8_t(i * 7), 0};
    }
    const DibView view = test::View(dib);
    uint8_t* data = dib.data() + DibBitsOffset(dib);
    for (int64_t i = 0; i < view.stride * 5; ++i) data[i] = uint8_t(i * 29 + 3);
    std::string error;
    const V file = WriteTga(test::View(dib), error);
    ASSERT_FALSE(file.empty()) << error;
    EXPECT_EQ(file[2], bits == 24 ? 2 : 1);
    const TgaImage back = ReadTga(file.data(), file.size());
    ASSERT_TRUE(back.error.empty()) << back.error;
    EXPECT_EQ(test::BitsOf(back.dib), bits == 24 ? 24 : 8);
    EXPECT_EQ(test::Rgb(back.dib), test::Rgb(dib)) << bits;
    if (bits <= 8) {
      const DibView v = test::View(back.dib);
      for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) EXPECT_EQ(v.Row(y)[x], IndexAt(view.Row(y), x, bits));
    }
  }
  std::vector<uint8_t> wide = NewDib(70000, 1, 24);
  std::string error;
  EXPECT_TRUE(WriteTga(test::View(wide), error).empty());
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace quillo::bxload
