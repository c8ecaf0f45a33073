// Every export refuses blocks that are not sound DIBs, and works on real ones.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "contracts/dib_services.h"
#include "win_test_support.h"

using namespace quillo::test;

namespace {

HGLOBAL Block(size_t bytes, uint8_t fill) {
  HGLOBAL h = GlobalAlloc(GHND, bytes);
  std::memset(GlobalLock(h), fill, bytes);
  GlobalUnlock(h);
  return h;
}

// A header of a 100 x 100 24-bit image in a block too small for its rows.
HGLOBAL LyingHeader() {
  HGLOBAL h = GlobalAlloc(GHND, 200);
  auto* bih = static_cast<BITMAPINFOHEADER*>(GlobalLock(h));
  *bih = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 100, 100, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  GlobalUnlock(h);
  return h;
}

std::vector<uint8_t> Bytes(HGLOBAL h) {
  auto* p = static_cast<uint8_t*>(GlobalLock(h));
  std::vector<uint8_t> v(p, p + GlobalSize(h));
  GlobalUnlock(h);
  return v;
}

TEST(Bxdib3Handles, EveryExportRefusesUnsoundHandles) {
  const HGLOBAL bad[] = {nullptr, Block(64, 0xCD), Block(10, 0), LyingHeader()};
  HDC dc = CreateCompatibleDC(nullptr);
  for (HGLOBAL h : bad) {
    const auto before = h ? Bytes(h) : std::vector<uint8_t>();
    EXPECT_FALSE(IsValidDIB(h));
    for (int mode : {1, 2, 4, 8, 16, 32, 48}) EXPECT_EQ(DuplicateDIB(h, mode), nullptr);
    EXPECT_EQ(Duplicate24BitsDIB(h), nullptr);
    EXPECT_EQ(TrueColorDIB(h), nullptr);
    EXPECT_FALSE(GrayDIB(h));
    EXPECT_EQ(ClipDIBRect(h, 0, 0, 1, 1), nullptr);
    RECT r = {0, 0, 4, 4};
    EXPECT_FALSE(PaintDIB(dc, &r, h, nullptr, nullptr));
    EXPECT_EQ(CreateDIBPalette(h), nullptr);
    EXPECT_FALSE(BlackDIB(h));
    EXPECT_FALSE(SingleColorDIB(h, RGB(1, 2, 3)));
    EXPECT_EQ(AllocAlpha(h), nullptr);
    BYTE mask[16] = {};
    EXPECT_EQ(DuplicateAlpha(h, mask), nullptr);
    BYTE index[16];
    RGBQUAD palette[256];
    EXPECT_EQ(IndexDIB(h, 256, index, palette), nullptr);
    if (h) {
      EXPECT_EQ(Bytes(h), before) << "a refused handle was changed";
      GlobalFree(h);
    }
  }
  DeleteDC(dc);
  EXPECT_EQ(BitmapToDIB(nullptr, nullptr), nullptr);
  BYTE colours[3];
  const BYTE garbage[200] = {1, 2, 3};
  EXPECT_FALSE(grad_get_color_at(garbage, 1, 2, colours));
  EXPECT_FALSE(grad_get_color_at(nullptr, 1, 2, colours));
  for (auto [w, h, bits] : {std::tuple{0, 5, 24}, std::tuple{5, 0, 24}, std::tuple{-1, 5, 24},
                            std::tuple{5, 5, 7}, std::tuple{0x7FFFFFFF, 0x7FFFFFFF, 32}, std::tuple{60000, 60000, 24}})
    EXPECT_EQ(CreateDIB(w, h, bits), nullptr) << w << "x" << h << "x" << bits;
}

// A new image is zero after its header at every depth: a paletted one's
// whole colour table as well as its pixels.
TEST(Bxdib3Handles, CreatedImagesAreZeroFilled) {
  for (int bits : {1, 4, 8, 16, 24, 32}) {
    HGLOBAL dib = CreateDIB(5, 3, bits);
    ASSERT_NE(dib, nullptr) << bits;
    const std::vector<uint8_t> bytes = Bytes(dib);
    BITMAPINFOHEADER h;
    std::memcpy(&h, bytes.data(), sizeof h);
    EXPECT_EQ(h.biBitCount, bits);
    const size_t colours = bits <= 8 ? size_t(1) << bits : 0;
    const size_t rows = size_t(((5 * bits + 31) / 32) * 4) * 3;
    ASSERT_GE(bytes.size(), 40 + 4 * colours + rows) << bits;
    auto* base = static_cast<LPSTR>(GlobalLock(dib));
    EXPECT_EQ(FindDIBBits(base), base + 40 + 4 * colours);
    GlobalUnlock(dib);
    for (size_t i = 40; i < bytes.size(); ++i) ASSERT_EQ(bytes[i], 0) << bits << "-bit, byte " << i;
    DestroyDIB(dib);
  }
}

TEST(Bxdib3Handles, CreateMeasureAndCopy) {
  HGLOBAL dib = CreateDIB(5, 3, 8);
  ASSERT_TRUE(IsValidDIB(dib));
  auto* p = static_cast<LPSTR>(GlobalLock(dib));
  EXPECT_EQ(DIBWidth(p), 5);
  EXPECT_EQ(DIBHeight(p), 3);
  EXPECT_EQ(DIBNumColors(p), 256);
  EXPECT_EQ(FindDIBBits(p), p + 40 + 1024);
  GlobalUnlock(dib);

  HGLOBAL wide = TrueColorDIB(dib);
  ASSERT_NE(wide, nullptr);
  EXPECT_NE(wide, dib);
  EXPECT_EQ(TrueColorDIB(wide), wide);  // already 24-bit: the same handle
  DestroyDIB(wide);
  DestroyDIB(dib);

  HGLOBAL picture = MakeTestPicture(7, 5);
  HGLOBAL turned = DuplicateDIB(picture, 16);
  ASSERT_TRUE(IsValidDIB(turned));
  uint8_t a[3], b[3];
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 5; ++x) {
      DibPixel(turned, x, y, a);
      DibPixel(picture, y, 5 - 1 - x, b);
      ASSERT_EQ(0, std::memcmp(a, b, 3)) << x << "," << y;
    }
  HGLOBAL clip = ClipDIBRect(picture, 2, 1, 3, 2);
  ASSERT_TRUE(IsValidDIB(clip));
  DibPixel(clip, 0, 0, a);
  DibPixel(picture, 2, 1, b);
  EXPECT_EQ(0, std::memcmp(a, b, 3));
  EXPECT_EQ(ClipDIBRect(picture, 7, 0, 2, 2), nullptr);
  EXPECT_EQ(ClipDIBRect(picture, 0, 0, 0, 2), nullptr);

  ASSERT_TRUE(GrayDIB(clip));
  DibPixel(clip, 1, 1, a);
  EXPECT_TRUE(a[0] == a[1] && a[1] == a[2]);
  ASSERT_TRUE(SingleColorDIB(clip, RGB(10, 20, 30)));
  DibPixel(clip, 2, 1, a);
  EXPECT_EQ(a[0], 30);
  EXPECT_EQ(a[2], 10);
  ASSERT_TRUE(BlackDIB(clip));
  DibPixel(clip, 2, 1, a);
  EXPECT_EQ(a[0] | a[1] | a[2], 0);
  for (HGLOBAL h : {picture, turned, clip}) DestroyDIB(h);
}

TEST(Bxdib3Handles, MasksMatchTheImage) {
  HGLOBAL picture = MakeTestPicture(7, 5);
  LPBYTE mask = AllocAlpha(picture);
  ASSERT_NE(mask, nullptr);
  ASSERT_GE(GlobalSize(mask), 35u);
  for (int i = 0; i < 35; ++i) ASSERT_EQ(mask[i], 0);
  for (int i = 0; i < 35; ++i) mask[i] = BYTE(i * 7);
  LPBYTE copy = DuplicateAlpha(picture, mask);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(0, std::memcmp(copy, mask, 35));
  // A mask too small for the image is not copied.
  LPBYTE small = static_cast<LPBYTE>(GlobalAlloc(GPTR, 20));
  EXPECT_EQ(DuplicateAlpha(picture, small), nullptr);
  GlobalFree(small);
  FreeAlpha(copy);
  FreeAlpha(mask);
  FreeAlpha(nullptr);
  LPVOID scratch = DIBAlloc(100);
  ASSERT_NE(scratch, nullptr);
  EXPECT_EQ(static_cast<BYTE*>(scratch)[99], 0);
  GlobalFree(scratch);
  DestroyDIB(picture);
}

TEST(Bxdib3Handles, IndexImages) {
  // Four colours map exactly into 2-, 16- and 256-entry requests that can hold them.
  const COLORREF four[] = {RGB(0, 0, 0), RGB(255, 0, 0), RGB(0, 128, 255), RGB(250, 250, 250)};
  HGLOBAL picture = MakeDib24(9, 4, [&](int x, int y, uint8_t p[3]) {
    const COLORREF c = four[(x + y) % 4];
    p[0] = GetBValue(c), p[1] = GetGValue(c), p[2] = GetRValue(c);
  });
  std::vector<BYTE> index(36, 0xEE);
  RGBQUAD palette[16];
  HGLOBAL indexed = IndexDIB(picture, 16, index.data(), palette);
  ASSERT_TRUE(IsValidDIB(indexed));
  auto* p = static_cast<LPSTR>(GlobalLock(indexed));
  EXPECT_EQ(reinterpret_cast<BITMAPINFOHEADER*>(p)->biBitCount, 8);
  EXPECT_EQ(DIBNumColors(p), 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 9; ++x) {
      const RGBQUAD& q = palette[index[size_t(y) * 9 + x]];
      const COLORREF c = four[(x + y) % 4];
      ASSERT_EQ(RGB(q.rgbRed, q.rgbGreen, q.rgbBlue), c) << x << "," << y;
      // The index buffer runs top-down, the DIB's rows bottom-up.
      ASSERT_EQ(BYTE(FindDIBBits(p)[(3 - y) * 12 + x]), index[size_t(y) * 9 + x]);
    }
  EXPECT_EQ(palette[5].rgbRed | palette[5].rgbGreen | palette[5].rgbBlue, 0);
  GlobalUnlock(indexed);
  DestroyDIB(indexed);
  RGBQUAD two[2];
  HGLOBAL bw = IndexDIB(picture, 2, nullptr, two);
  ASSERT_NE(bw, nullptr);
  EXPECT_EQ(IndexDIB(picture, 1, nullptr, nullptr), nullptr);
  EXPECT_EQ(IndexDIB(picture, 257, nullptr, nullptr), nullptr);
  DestroyDIB(bw);
  DestroyDIB(picture);
}

}  // namespace
