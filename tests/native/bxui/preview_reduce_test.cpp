// Reading packed DIBs of every depth, fitting sizes and box reduction.
#include "preview_reduce.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <vector>

#include "contracts/dib_format.h"

using namespace quillo;
using namespace quillo::bxui;

namespace {

// A packed DIB: header, `table` colour entries (or masks), rows bottom-up
// unless topDown; fill(x, y, row) writes pixel x of row y (from the top).
std::vector<uint8_t> MakeDib(int width, int height, int bits, int tableEntries,
                             const std::function<void(int, int, uint8_t*)>& fill,
                             bool topDown = false, uint32_t compression = kDibRgb) {
  const int64_t stride = DibStride(width, bits);
  std::vector<uint8_t> dib(sizeof(DibHeader) + size_t(tableEntries) * 4 + size_t(stride * height));
  DibHeader h = {};
  h.size = 40;
  h.width = width;
  h.height = topDown ? -height : height;
  h.planes = 1;
  h.bitCount = uint16_t(bits);
  h.compression = compression;
  h.clrUsed = compression == kDibRgb ? uint32_t(tableEntries) : 0;
  std::memcpy(dib.data(), &h, sizeof h);
  uint8_t* rows = dib.data() + 40 + tableEntries * 4;
  for (int y = 0; y < height; ++y) {
    uint8_t* row = rows + (topDown ? y : height - 1 - y) * stride;
    for (int x = 0; x < width; ++x) fill(x, y, row);
  }
  return dib;
}

std::vector<uint8_t> Reduce(const std::vector<uint8_t>& dib, int width, int height) {
  DibSource source;
  EXPECT_TRUE(ParsePackedDib(dib.data(), dib.size(), &source));
  std::vector<uint8_t> out(size_t(width) * height * 3);
  EXPECT_TRUE(BoxReduce(source, out.data(), width * 3, width, height, false));
  return out;
}

uint8_t Pattern(int x, int y, int c) { return uint8_t((x * 37 + y * 91 + c * 55) & 0xFF); }

std::vector<uint8_t> Pattern24(int width, int height) {
  return MakeDib(width, height, 24, 0, [](int x, int y, uint8_t* row) {
    for (int c = 0; c < 3; ++c) row[x * 3 + c] = Pattern(x, y, c);
  });
}

}  // namespace

TEST(PreviewFit, KeepsAspectNeverEnlargesAndFits) {
  struct Case { int64_t sw, sh, bw, bh; int32_t w, h; };
  const Case cases[] = {
      {1000, 500, 198, 198, 198, 99},   // width-limited
      {500, 1000, 198, 198, 99, 198},   // height-limited
      {100, 50, 198, 198, 100, 50},     // small pictures keep their size
      {198, 198, 198, 198, 198, 198},
      {10000, 1, 100, 100, 100, 1},     // a thin line keeps at least one row
      {1, 10000, 100, 100, 1, 100},
      {333, 222, 100, 100, 100, 67},    // 66.67 rounds to 67
      {1000, 500, 0, 100, 0, 0},
      {0, 500, 100, 100, 0, 0},
      {int64_t(1) << 40, 1, 100, 100, 100, 1},  // absurd sizes do not overflow
  };
  for (const Case& c : cases) {
    const PreviewSize s = FitPreviewSize(c.sw, c.sh, c.bw, c.bh);
    EXPECT_EQ(s.width, c.w) << c.sw << "x" << c.sh << " in " << c.bw << "x" << c.bh;
    EXPECT_EQ(s.height, c.h) << c.sw << "x" << c.sh << " in " << c.bw << "x" << c.bh;
  }
}

TEST(BoxReduce, ConstantStaysConstantAtAnyRatio) {
  const auto dib = MakeDib(97, 61, 24, 0, [](int x, int, uint8_t* row) {
    row[x * 3] = 13, row[x * 3 + 1] = 200, row[x * 3 + 2] = 255;
  });
  for (auto [w, h] : {std::pair{1, 1}, {5, 3}, {48, 30}, {96, 60}, {97, 61}, {13, 61}}) {
    const auto out = Reduce(dib, w, h);
    for (size_t i = 0; i < out.size(); i += 3) {
      ASSERT_EQ(out[i], 13);
      ASSERT_EQ(out[i + 1], 200);
      ASSERT_EQ(out[i + 2], 255);
    }
  }
}

TEST(BoxReduce, SameSizeCopiesPixels) {
  const int w = 7, h = 5;  // odd width: padded rows
  const auto out = Reduce(Pattern24(w, h), w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      for (int c = 0; c < 3; ++c) ASSERT_EQ(out[(y * w + x) * 3 + c], Pattern(x, y, c));
}

TEST(BoxReduce, MatchesAreaAverageOnOddSizes) {
  // Reference: the area each source pixel shares with the destination
  // pixel's rectangle, in floating point.
  const int sw = 11, sh = 7;
  const auto dib = Pattern24(sw, sh);
  for (auto [w, h] : {std::pair{3, 2}, {4, 3}, {10, 7}, {1, 7}, {5, 1}}) {
    const auto out = Reduce(dib, w, h);
    for (int Y = 0; Y < h; ++Y)
      for (int X = 0; X < w; ++X)
        for (int c = 0; c < 3; ++c) {
          const double x0 = double(X) * sw / w, x1 = double(X + 1) * sw / w;
          const double y0 = double(Y) * sh / h, y1 = double(Y + 1) * sh / h;
          double sum = 0, area = 0;
          for (int y = 0; y < sh; ++y)
            for (int x = 0; x < sw; ++x) {
              const double a = std::max(0.0, std::min(x1, x + 1.0) - std::max(x0, double(x))) *
                               std::max(0.0, std::min(y1, y + 1.0) - std::max(y0, double(y)));
              sum += a * Pattern(x, y, c), area += a;
            }
          EXPECT_NEAR(out[(Y * w + X) * 3 + c], sum / area, 0.5 + 1e-9)
              << w << "x" << h << " at " << X << "," << Y;
        }
  }
}

TEST(BoxReduce, HalvingAveragesTwoByTwoBlocks) {
  const auto dib = MakeDib(4, 2, 24, 0, [](int x, int y, uint8_t* row) {
    const uint8_t v = uint8_t(x < 2 ? (x + y) * 10 : 100 + x * y);  // left block 0,10,10,20
    row[x * 3] = row[x * 3 + 1] = row[x * 3 + 2] = v;
  });
  const auto out = Reduce(dib, 2, 1);
  EXPECT_EQ(out[0], 10);                          // (0+10+10+20)/4
  EXPECT_EQ(out[3], (100 + 100 + 102 + 103 + 2) / 4);  // 101.25 -> 101
}

TEST(BoxReduce, WritesBottomUpWhenAsked) {
  const auto dib = Pattern24(3, 4);
  DibSource source;
  ASSERT_TRUE(ParsePackedDib(dib.data(), dib.size(), &source));
  const int stride = int(Stride24(3));
  std::vector<uint8_t> out(size_t(stride) * 4, 0xEE);
  ASSERT_TRUE(BoxReduce(source, out.data(), stride, 3, 4, true));
  EXPECT_EQ(out[0], Pattern(0, 3, 0));  // first stored row is the bottom one
  EXPECT_EQ(out[size_t(stride) * 3], Pattern(0, 0, 0));
  EXPECT_EQ(out[9], 0xEE);  // padding untouched
}

TEST(ReadDib, EveryDepthReadsTheSameColours) {
  // Two colours, red (255,0,0) and a blue-green (0,128,255), in a 5 x 3
  // checkerboard, stored at each depth.
  const uint8_t red[3] = {0, 0, 255}, other[3] = {255, 128, 0};  // blue, green, red
  auto colourAt = [&](int x, int y) { return (x + y) % 2 ? other : red; };
  auto expectPicture = [&](const std::vector<uint8_t>& dib, int tolerance, const char* what) {
    DibSource s;
    ASSERT_TRUE(ParsePackedDib(dib.data(), dib.size(), &s)) << what;
    std::vector<uint8_t> row(5 * 3);
    for (int y = 0; y < 3; ++y) {
      ReadRowBgr(s, y, row.data());
      for (int x = 0; x < 5; ++x)
        for (int c = 0; c < 3; ++c)
          EXPECT_NEAR(row[x * 3 + c], colourAt(x, y)[c], tolerance) << what << " " << x << "," << y;
    }
  };
  auto withTable = [&](int bits) {
    auto dib = MakeDib(5, 3, bits, 2, [&](int x, int y, uint8_t* row) {
      const int index = (x + y) % 2, perByte = 8 / bits;
      row[x / perByte] |= uint8_t(index << (8 - bits * (x % perByte + 1)));
    });
    std::memcpy(dib.data() + 40, red, 3);
    std::memcpy(dib.data() + 44, other, 3);
    return dib;
  };
  expectPicture(withTable(1), 0, "1-bit");
  expectPicture(withTable(4), 0, "4-bit");
  expectPicture(withTable(8), 0, "8-bit");
  expectPicture(MakeDib(5, 3, 24, 0, [&](int x, int y, uint8_t* row) {
                  std::memcpy(row + x * 3, colourAt(x, y), 3);
                }, true), 0, "24-bit top-down");
  expectPicture(MakeDib(5, 3, 32, 0, [&](int x, int y, uint8_t* row) {
                  std::memcpy(row + x * 4, colourAt(x, y), 3);
                }), 0, "32-bit");
  expectPicture(MakeDib(5, 3, 16, 0, [&](int x, int y, uint8_t* row) {
                  const uint8_t* p = colourAt(x, y);  // 5-5-5
                  const unsigned v = (p[2] >> 3) << 10 | (p[1] >> 3) << 5 | (p[0] >> 3);
                  row[x * 2] = uint8_t(v), row[x * 2 + 1] = uint8_t(v >> 8);
                }), 4, "16-bit");
  // 5-6-5 bit fields: masks after the 40-byte header.
  auto fields = MakeDib(5, 3, 16, 3, [&](int x, int y, uint8_t* row) {
    const uint8_t* p = colourAt(x, y);
    const unsigned v = (p[2] >> 3) << 11 | (p[1] >> 2) << 5 | (p[0] >> 3);
    row[x * 2] = uint8_t(v), row[x * 2 + 1] = uint8_t(v >> 8);
  }, false, 3);
  const uint32_t masks[3] = {0xF800, 0x07E0, 0x001F};
  std::memcpy(fields.data() + 40, masks, 12);
  expectPicture(fields, 4, "16-bit fields");
}

TEST(ReadDib, IndexBeyondTheTableReadsBlack) {
  auto dib = MakeDib(2, 1, 8, 1, [](int x, int, uint8_t* row) { row[x] = uint8_t(x * 200); });
  std::memset(dib.data() + 40, 0x7F, 3);
  DibSource s;
  ASSERT_TRUE(ParsePackedDib(dib.data(), dib.size(), &s));
  uint8_t row[6];
  ReadRowBgr(s, 0, row);
  EXPECT_EQ(row[0], 0x7F);
  EXPECT_EQ(row[3] | row[4] | row[5], 0);
}

TEST(ReadDib, RejectsWhatDoesNotFitOrIsUnknown) {
  const auto good = Pattern24(9, 9);
  DibSource s;
  ASSERT_TRUE(ParsePackedDib(good.data(), good.size(), &s));
  EXPECT_FALSE(ParsePackedDib(good.data(), good.size() - 1, &s));  // one byte short
  EXPECT_FALSE(ParsePackedDib(good.data(), 39, &s));
  EXPECT_FALSE(ParsePackedDib(nullptr, 100, &s));

  auto edit = [&](auto change) {
    auto dib = good;
    DibHeader h;
    std::memcpy(&h, dib.data(), 40);
    change(h);
    std::memcpy(dib.data(), &h, 40);
    return ParsePackedDib(dib.data(), dib.size(), &s);
  };
  EXPECT_FALSE(edit([](DibHeader& h) { h.width = 0; }));
  EXPECT_FALSE(edit([](DibHeader& h) { h.width = -9; }));
  EXPECT_FALSE(edit([](DibHeader& h) { h.height = 0; }));
  EXPECT_FALSE(edit([](DibHeader& h) { h.height = INT32_MIN; }));
  EXPECT_FALSE(edit([](DibHeader& h) { h.bitCount = 12; }));
  EXPECT_FALSE(edit([](DibHeader& h) { h.compression = kDibRle8; }));
  EXPECT_FALSE(edit([](DibHeader& h) { h.size = 12; }));
  EXPECT_FALSE(edit([](DibHeader& h) { h.size = 0x7FFFFFFF; }));
  EXPECT_FALSE(edit([](DibHeader& h) { h.clrUsed = 0xFFFFFFFF; }));
  // Sizes whose products overflow 32 bits must not slip through.
  EXPECT_FALSE(edit([](DibHeader& h) { h.width = 0x40000000, h.height = 0x40000000; }));
  EXPECT_FALSE(edit([](DibHeader& h) { h.width = 0x7FFFFFFF, h.bitCount = 32; }));
  EXPECT_FALSE(edit([](DibHeader& h) { h.height = -0x7FFFFFFF; }));
}
