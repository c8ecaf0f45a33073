// Validation of packed DIB blocks: every field that could lead a reader
// outside the block is refused.
#include <gtest/gtest.h>

#include "test_dib.h"

namespace quillo::dib {
namespace {

using test::MakeDib;
using test::Shape;

DibHeader& Header(std::vector<uint8_t>& b) { return *reinterpret_cast<DibHeader*>(b.data()); }

TEST(DibCheck, SoundImagesOfEveryDepthPass) {
  for (int bits : {1, 4, 8, 16, 24, 32}) {
    auto d = MakeDib(Shape(5, 3, bits), [](int, int) { return 0u; });
    DibInfo info;
    ASSERT_EQ(CheckDib(d.data(), d.block.size(), &info), DibFault::kSound) << bits;
    EXPECT_EQ(info.stride, uint64_t(DibStride(5, bits)));
    EXPECT_EQ(info.bitsOffset + info.bitsSize, d.block.size());
  }
}

TEST(DibCheck, RefusesBrokenHeaders) {
  auto base = MakeDib(Shape(5, 3, 8), [](int, int) { return 1u; }).block;
  struct Case {
    const char* what;
    std::function<void(std::vector<uint8_t>&)> spoil;
    DibFault fault;
  } cases[] = {
      {"header size below 40", [](auto& b) { Header(b).size = 39; }, DibFault::kHeaderSize},
      {"header larger than block", [](auto& b) { Header(b).size = uint32_t(b.size() + 1); }, DibFault::kHeaderSize},
      {"two planes", [](auto& b) { Header(b).planes = 2; }, DibFault::kPlanes},
      {"bit count 2", [](auto& b) { Header(b).bitCount = 2; }, DibFault::kBitCount},
      {"RLE8", [](auto& b) { Header(b).compression = kDibRle8; }, DibFault::kCompression},
      {"bit fields on 8 bits", [](auto& b) { Header(b).compression = kDibBitfields; }, DibFault::kCompression},
      {"zero width", [](auto& b) { Header(b).width = 0; }, DibFault::kWidth},
      {"negative width", [](auto& b) { Header(b).width = -5; }, DibFault::kWidth},
      {"zero height", [](auto& b) { Header(b).height = 0; }, DibFault::kHeight},
      {"top-down", [](auto& b) { Header(b).height = -3; }, DibFault::kHeight},
      {"257 colours on 8 bits", [](auto& b) { Header(b).clrUsed = 257; }, DibFault::kColourCount},
      {"one row too many", [](auto& b) { Header(b).height = 4; }, DibFault::kTooLarge},
      {"wider than the rows", [](auto& b) { Header(b).width = 9; }, DibFault::kTooLarge},
      {"truncated block", [](auto& b) { b.pop_back(); }, DibFault::kTooLarge},
      {"only a header", [](auto& b) { b.resize(40); }, DibFault::kTooLarge},
      {"shorter than a header", [](auto& b) { b.resize(39); }, DibFault::kNoBlock},
      // 0x7FFFFFFF x 0x7FFFFFFF at 32 bits: the row size alone exceeds 2^32.
      {"huge sizes", [](auto& b) { Header(b).width = Header(b).height = 0x7FFFFFFF; Header(b).bitCount = 32; Header(b).clrUsed = 0; },
       DibFault::kTooLarge},
      // 65536 x 65537 x 1 byte wraps to a small number in 32 bits.
      {"product wrapping 32 bits", [](auto& b) { Header(b).width = 65536; Header(b).height = 65537; }, DibFault::kTooLarge},
  };
  for (const auto& c : cases) {
    auto b = base;
    c.spoil(b);
    EXPECT_EQ(CheckDib(b.data(), b.size(), nullptr), c.fault) << c.what;
  }
  EXPECT_EQ(CheckDib(nullptr, 100, nullptr), DibFault::kNoBlock);
}

TEST(DibCheck, ColourCountShrinksTheTable) {
  auto d = MakeDib(Shape(5, 3, 8), [](int, int) { return 0u; });
  auto& h = Header(d.block);
  h.clrUsed = 2;
  DibInfo info;
  // 254 fewer table entries: the same block now has spare bytes at the end.
  ASSERT_EQ(CheckDib(d.data(), d.block.size(), &info), DibFault::kSound);
  EXPECT_EQ(info.colours, 2u);
  EXPECT_EQ(info.bitsOffset, 40u + 8u);
  h.bitCount = 1;
  h.clrUsed = 3;  // a 1-bit image cannot index three colours
  EXPECT_EQ(CheckDib(d.data(), d.block.size(), nullptr), DibFault::kColourCount);
}

TEST(DibCheck, BitfieldMasksAreChecked) {
  DibShape s = Shape(3, 2, 16);
  s.compression = kDibBitfields;
  s.masks[0] = 0xF800;
  s.masks[1] = 0x07E0;
  s.masks[2] = 0x001F;
  auto d = MakeDib(s, [](int x, int) { return uint32_t(x); });
  ASSERT_TRUE(IsSoundDib(d.data(), d.block.size()));
  uint32_t* masks = reinterpret_cast<uint32_t*>(d.data() + 40);
  const uint32_t bad[][3] = {{0, 0x07E0, 0x1F}, {0xF800, 0x0FE0, 0x1F}, {0xF000, 0x07E0, 0x101},
                             {0x1F800, 0x07E0, 0x1F}};
  for (const auto& m : bad) {
    std::memcpy(masks, m, 12);
    EXPECT_EQ(CheckDib(d.data(), d.block.size(), nullptr), DibFault::kMasks) << std::hex << m[0] << m[1] << m[2];
  }
  // Masks that do not fit after the header.
  EXPECT_EQ(CheckDib(d.data(), 48, nullptr), DibFault::kMasks);
}

TEST(DibCheck, LongerHeadersMoveTableAndRows) {
  // A 108-byte header in front of a 2 x 1 1-bit image with two colours.
  std::vector<uint8_t> b(108 + 8 + 4);
  auto& h = Header(b);
  h.size = 108;
  h.width = 2;
  h.height = 1;
  h.planes = 1;
  h.bitCount = 1;
  DibInfo info;
  ASSERT_EQ(CheckDib(b.data(), b.size(), &info), DibFault::kSound);
  EXPECT_EQ(info.paletteOffset, 108u);
  EXPECT_EQ(info.bitsOffset, 116u);
}

TEST(DibCheck, BlockSizeOfNewShapes) {
  EXPECT_EQ(DibBlockSize(Shape(5, 3, 24)), 40u + 16u * 3u);
  EXPECT_EQ(DibBlockSize(Shape(5, 3, 1)), 40u + 8u + 4u * 3u);
  EXPECT_EQ(DibBlockSize(Shape(0, 3, 24)), 0u);
  EXPECT_EQ(DibBlockSize(Shape(5, -3, 24)), 0u);
  EXPECT_EQ(DibBlockSize(Shape(5, 3, 7)), 0u);
  EXPECT_EQ(DibBlockSize(Shape(0x7FFFFFFF, 0x7FFFFFFF, 32)), 0u);
  EXPECT_EQ(DibBlockSize(Shape(30000, 30000, 24)), 0u);  // 2.7 GB
}

}  // namespace
}  // namespace quillo::dib
