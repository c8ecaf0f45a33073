// ZoomDIBEx, Convert2To24BitsDIB, ReadDIBBlock, CStretch and Blur through
// the real BXCOMM.DLL.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "contracts/dib_services.h"
#include "contracts/imaging_library.h"
#include "win_test_support.h"
#include "zoom.h"

using namespace quillo::test;

namespace {

int Stride(int width, int bits) { return ((width * bits + 31) / 32) * 4; }

BITMAPINFOHEADER Header(HGLOBAL dib) {
  BITMAPINFOHEADER h{};
  std::memcpy(&h, GlobalLock(dib), sizeof h);
  GlobalUnlock(dib);
  return h;
}

// A paletted DIB with a grey ramp table (entry i is i * 255 / (n - 1))
// whose pixel (x, y), y from the top, holds index(x, y).
template <typename IndexFn>
HGLOBAL MakePaletted(int width, int height, int bits, IndexFn index) {
  HGLOBAL dib = CreateDIB(width, height, bits);
  auto* base = static_cast<uint8_t*>(GlobalLock(dib));
  const int colours = 1 << bits;
  auto* table = reinterpret_cast<RGBQUAD*>(base + 40);
  for (int i = 0; i < colours; ++i) {
    const BYTE grey = BYTE(i * 255 / (colours - 1));
    table[i] = RGBQUAD{grey, grey, grey, 0};
  }
  auto* bitsStart = reinterpret_cast<uint8_t*>(FindDIBBits(reinterpret_cast<LPSTR>(base)));
  for (int y = 0; y < height; ++y) {
    uint8_t* row = bitsStart + (height - 1 - y) * Stride(width, bits);
    for (int x = 0; x < width; ++x) {
      const int v = index(x, y);
      const int bit = x * bits;
      const int shift = 8 - bits - bit % 8;
      row[bit / 8] = uint8_t(row[bit / 8] | (v << shift));
    }
  }
  GlobalUnlock(dib);
  return dib;
}

struct Dib {
  HGLOBAL handle;
  explicit Dib(HGLOBAL h) : handle(h) {}
  ~Dib() { if (handle) DestroyDIB(handle); }
  operator HGLOBAL() const { return handle; }
};

TEST(ZoomDIBExTest, Resamples24BitPicturesLikeTheKernel) {
  Dib source(MakeTestPicture(40, 30));
  const std::vector<uint8_t> before = DibPixels(source);
  for (auto [w, h] : {std::pair{17, 11}, std::pair{40, 30}, std::pair{93, 70}}) {
    Dib out(ZoomDIBEx(source, w, h));
    ASSERT_TRUE(out.handle);
    const BITMAPINFOHEADER hdr = Header(out);
    EXPECT_EQ(hdr.biWidth, w);
    EXPECT_EQ(hdr.biHeight, h);
    EXPECT_EQ(hdr.biBitCount, 24);
    std::vector<uint8_t> in = before, expected(size_t(Stride(w, 24)) * h, 0);
    quillo::imaging::ZoomBgr24({in.data(), 40, 30, Stride(40, 24)},
                               {expected.data(), w, h, Stride(w, 24)});
    EXPECT_EQ(DibPixels(out), expected) << w << "x" << h;
  }
  EXPECT_EQ(DibPixels(source), before);  // the source is not changed
}

TEST(ZoomDIBExTest, PalettedSourcesResampleAsTheir24BitColours) {
  // MakePaletted's grey ramp: entry i is i * 255 / (n - 1).
  for (int bits : {1, 4, 8}) {
    const int top = (1 << bits) - 1;
    auto index = [&](int x, int y) { return ((x / 3) * 5 + y * 3) % (top + 1); };
    Dib paletted(MakePaletted(23, 19, bits, index));
    Dib direct(MakeDib24(23, 19, [&](int x, int y, uint8_t p[3]) {
      p[0] = p[1] = p[2] = uint8_t(index(x, y) * 255 / top);
    }));
    ASSERT_TRUE(paletted.handle && direct.handle);
    Dib a(ZoomDIBEx(paletted, 11, 31)), b(ZoomDIBEx(direct, 11, 31));
    ASSERT_TRUE(a.handle && b.handle) << bits;
    EXPECT_EQ(Header(a).biBitCount, 24);
    EXPECT_EQ(DibPixels(a), DibPixels(b)) << bits << "-bit source";
  }
}

TEST(ZoomDIBExTest, OnePixelSourceFillsTheTarget) {
  Dib one(MakeDib24(1, 1, [](int, int, uint8_t p[3]) { p[0] = 9, p[1] = 99, p[2] = 199; }));
  Dib out(ZoomDIBEx(one, 6, 4));
  ASSERT_TRUE(out.handle);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) {
      uint8_t p[3];
      DibPixel(out, x, y, p);
      ASSERT_EQ(p[0], 9);
      ASSERT_EQ(p[1], 99);
      ASSERT_EQ(p[2], 199);
    }
}

TEST(ZoomDIBExTest, RefusesNullUnsoundAndEmptyRequests) {
  Dib source(MakeTestPicture(8, 8));
  EXPECT_EQ(ZoomDIBEx(nullptr, 10, 10), nullptr);
  EXPECT_EQ(ZoomDIBEx(source, 0, 10), nullptr);
  EXPECT_EQ(ZoomDIBEx(source, 10, 0), nullptr);
  EXPECT_EQ(ZoomDIBEx(source, -4, 10), nullptr);
  // A block too small for the header it claims.
  HGLOBAL bogus = GlobalAlloc(GHND, 16);
  EXPECT_EQ(ZoomDIBEx(bogus, 10, 10), nullptr);
  GlobalFree(bogus);
}

TEST(Convert2To24BitsDIBTest, ExpandsBitsToColourAndInverse) {
  // Columns 0, 2, 4 set in the top row, nothing in the bottom row.
  Dib mono(MakePaletted(5, 2, 1, [](int x, int y) { return y == 0 && x % 2 == 0; }));
  Dib out(Convert2To24BitsDIB(mono, RGB(200, 30, 10)));
  ASSERT_TRUE(out.handle);
  const BITMAPINFOHEADER h = Header(out);
  EXPECT_EQ(h.biSize, 40u);
  EXPECT_EQ(h.biBitCount, 24);
  EXPECT_EQ(h.biClrUsed, 0u);
  EXPECT_EQ(h.biSizeImage, DWORD(2 * Stride(5, 24)));
  EXPECT_EQ(GlobalSize(out), SIZE_T(40 + 2 * Stride(5, 24)));
  for (int x = 0; x < 5; ++x) {
    uint8_t p[3];
    DibPixel(out, x, 0, p);
    const bool set = x % 2 == 0;
    EXPECT_EQ(p[0], set ? 10 : 245);
    EXPECT_EQ(p[1], set ? 30 : 225);
    EXPECT_EQ(p[2], set ? 200 : 55);
    DibPixel(out, x, 1, p);
    EXPECT_EQ(p[2], 55);
  }
}

TEST(Convert2To24BitsDIBTest, DuplicatesTrueColourAndRefusesNothingToRead) {
  Dib colour(MakeTestPicture(7, 5));
  Dib copy(Convert2To24BitsDIB(colour, RGB(1, 2, 3)));
  ASSERT_TRUE(copy.handle);
  EXPECT_NE(copy.handle, colour.handle);
  EXPECT_EQ(DibPixels(copy), DibPixels(colour));
  EXPECT_EQ(Convert2To24BitsDIB(nullptr, 0), nullptr);
  HGLOBAL tiny = GlobalAlloc(GHND, 39);
  EXPECT_EQ(Convert2To24BitsDIB(tiny, 0), nullptr);
  GlobalFree(tiny);
}

// A 5 x 2 block of 8-bit header and table read as one bit per pixel: its
// one-bit rows are 4 bytes each, so the first 8 pixel bytes hold both rows,
// bottom row first.
HGLOBAL EightBitHeaderWithRows(SIZE_T rowBytes, const std::vector<uint8_t>& bytes) {
  HGLOBAL h = GlobalAlloc(GHND, 40 + 1024 + rowBytes);
  auto* base = static_cast<uint8_t*>(GlobalLock(h));
  const BITMAPINFOHEADER header{sizeof(BITMAPINFOHEADER), 5, 2, 1, 8, BI_RGB, 0, 0, 0, 0, 0};
  std::memcpy(base, &header, sizeof header);
  std::memcpy(base + 40 + 1024, bytes.data(), std::min<size_t>(bytes.size(), rowBytes));
  GlobalUnlock(h);
  return h;
}

TEST(Convert2To24BitsDIBTest, ReadsOtherDepthsAsOneBitRowsInsideTheBlock) {
  // Bottom row 1010 1..., top row 0101 0...
  const std::vector<uint8_t> rows = {0xA8, 0, 0, 0, 0x50, 0, 0, 0};
  // A whole 8-bit picture, and a block that holds only the one-bit rows
  // (half of what its 8-bit rows would need): both are read alike.
  for (SIZE_T rowBytes : {SIZE_T(16), SIZE_T(8)}) {
    Dib in(EightBitHeaderWithRows(rowBytes, rows));
    Dib out(Convert2To24BitsDIB(in, RGB(200, 30, 10)));
    ASSERT_TRUE(out.handle) << rowBytes;
    const BITMAPINFOHEADER h = Header(out);
    EXPECT_EQ(h.biBitCount, 24);
    EXPECT_EQ(h.biClrUsed, 0u);
    EXPECT_EQ(h.biSizeImage, DWORD(2 * Stride(5, 24)));
    EXPECT_TRUE(IsValidDIB(out));
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 5; ++x) {
        uint8_t p[3];
        DibPixel(out, x, y, p);  // y from the top
        const bool set = y == 0 ? x % 2 == 1 : x % 2 == 0;
        EXPECT_EQ(p[0], set ? 10 : 245) << x << "," << y;
        EXPECT_EQ(p[2], set ? 200 : 55) << x << "," << y;
      }
  }
  // One byte short of the second one-bit row.
  Dib shortBlock(EightBitHeaderWithRows(7, rows));
  EXPECT_EQ(Convert2To24BitsDIB(shortBlock, 0), nullptr);
  // A colour count far beyond the block.
  Dib hugeTable(EightBitHeaderWithRows(4096, rows));
  static_cast<BITMAPINFOHEADER*>(GlobalLock(hugeTable))->biClrUsed = 0xFFFFFFFF;
  GlobalUnlock(hugeTable);
  EXPECT_EQ(Convert2To24BitsDIB(hugeTable, 0), nullptr);
}

TEST(ReadDIBBlockTest, TilesFromTheStartAndRefusesSelfAndOtherDepths) {
  Dib source(MakeDib24(4, 3, [](int x, int y, uint8_t p[3]) { p[0] = uint8_t(x), p[1] = uint8_t(y), p[2] = 7; }));
  Dib target(CreateDIB(9, 5, 24));
  ASSERT_EQ(ReadDIBBlock(target, source, 4, 1), 1);  // column 4 of 4 is column 0
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 9; ++x) {
      uint8_t p[3];
      DibPixel(target, x, y, p);
      ASSERT_EQ(p[0], x % 4);
      ASSERT_EQ(p[1], (y + 1) % 3);
    }
  EXPECT_EQ(ReadDIBBlock(target, target, 1, 1), 0);
  Dib grey(CreateDIB(4, 4, 8));
  EXPECT_EQ(ReadDIBBlock(target, grey, 0, 0), 0);
  EXPECT_EQ(ReadDIBBlock(nullptr, source, 0, 0), 0);
}

TEST(CStretchTest, StretchesTheSelectionOrTheWholeImage) {
  auto make = [] {
    return MakeDib24(4, 2, [](int x, int, uint8_t p[3]) { p[0] = p[1] = p[2] = uint8_t(100 + 20 * x); });
  };
  Dib whole(make()), part(make());
  INT32 invalid[4] = {0, 0, 5, 2};  // one column too wide: the whole image
  ASSERT_EQ(CStretch(0, 0, &whole.handle, invalid), 1);
  uint8_t p[3];
  DibPixel(whole, 0, 1, p);
  EXPECT_EQ(p[0], 0);
  DibPixel(whole, 3, 1, p);
  EXPECT_EQ(p[0], 255);
  INT32 middle[4] = {1, 0, 3, 1};  // columns 1..2 of the top row
  ASSERT_EQ(CStretch(0, 0, &part.handle, middle), 1);
  DibPixel(part, 1, 0, p);
  EXPECT_EQ(p[0], 0);
  DibPixel(part, 1, 1, p);
  EXPECT_EQ(p[0], 120);
  EXPECT_EQ(CStretch(0, 0, nullptr, nullptr), 0);
}

TEST(BlurTest, ChecksTheImageWithoutChangingIt) {
  Dib image(MakeTestPicture(6, 6));
  const auto before = DibPixels(image);
  EXPECT_EQ(Blur(3, 0, &image.handle, nullptr, 0, 0), 1);
  EXPECT_EQ(DibPixels(image), before);
  EXPECT_EQ(Blur(3, 0, nullptr, nullptr, 0, 0), 0);
  HGLOBAL none = nullptr;
  EXPECT_EQ(Blur(3, 0, &none, nullptr, 0, 0), 0);
}

}  // namespace
