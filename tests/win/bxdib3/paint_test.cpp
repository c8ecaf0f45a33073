// Drawing DIB handles into a memory DC and reading the pixels back; device
// bitmaps to DIBs; palettes.
#include <gtest/gtest.h>

#include <cstring>

#include "contracts/dib_services.h"
#include "win_test_support.h"

using namespace quillo::test;

namespace {

// A 32-bit top-down DIB section selected into a memory DC.
struct Canvas {
  Canvas(int w, int h) : width(w) {
    BITMAPINFO bi{};
    bi.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    dc = CreateCompatibleDC(nullptr);
    bitmap = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
    old = SelectObject(dc, bitmap);
    std::memset(bits, 0x11, size_t(w) * h * 4);
  }
  ~Canvas() {
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  // Blue, green, red of (x, y), y from the top.
  uint32_t At(int x, int y) {
    GdiFlush();
    return bits[size_t(y) * width + x] & 0xFFFFFF;
  }
  int width;
  HDC dc;
  HBITMAP bitmap;
  HGDIOBJ old;
  uint32_t* bits = nullptr;
};

uint32_t Pixel(HGLOBAL dib, int x, int y) {
  uint8_t p[3];
  DibPixel(dib, x, y, p);
  return p[0] | p[1] << 8 | p[2] << 16;
}

TEST(Bxdib3Paint, OneToOneAndSourceRectangles) {
  HGLOBAL picture = MakeTestPicture(9, 6);
  Canvas canvas(20, 12);
  RECT dest = {2, 3, 11, 9};
  ASSERT_TRUE(PaintDIB(canvas.dc, &dest, picture, nullptr, nullptr));
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 9; ++x) ASSERT_EQ(canvas.At(x + 2, y + 3), Pixel(picture, x, y)) << x << "," << y;
  EXPECT_EQ(canvas.At(1, 3), 0x111111u);
  EXPECT_EQ(canvas.At(11, 3), 0x111111u);

  // Source rectangle counted from the top of the picture.
  RECT src = {3, 1, 7, 4};
  RECT dest2 = {0, 0, 4, 3};
  ASSERT_TRUE(PaintDIB(canvas.dc, &dest2, picture, &src, nullptr));
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) ASSERT_EQ(canvas.At(x, y), Pixel(picture, x + 3, y + 1)) << x << "," << y;

  // Enlarging repeats pixels.
  RECT one = {0, 0, 1, 1};
  RECT big = {10, 0, 14, 4};
  ASSERT_TRUE(PaintDIB(canvas.dc, &big, picture, &one, nullptr));
  EXPECT_EQ(canvas.At(13, 3), Pixel(picture, 0, 0));

  RECT empty = {5, 5, 5, 8};
  EXPECT_FALSE(PaintDIB(canvas.dc, &dest, picture, &empty, nullptr));
  EXPECT_FALSE(PaintDIB(canvas.dc, nullptr, picture, nullptr, nullptr));
  DestroyDIB(picture);
}

TEST(Bxdib3Paint, ShrinkingAverages) {
  // Black and white columns shrunk 4:1 come out grey, not black or white.
  HGLOBAL stripes = MakeDib24(16, 16, [](int x, int, uint8_t p[3]) { p[0] = p[1] = p[2] = (x & 1) ? 255 : 0; });
  Canvas canvas(4, 4);
  RECT dest = {0, 0, 4, 4};
  ASSERT_TRUE(PaintDIB(canvas.dc, &dest, stripes, nullptr, nullptr));
  const uint32_t c = canvas.At(1, 1);
  EXPECT_GT(c & 0xFF, 60u);
  EXPECT_LT(c & 0xFF, 195u);
  DestroyDIB(stripes);
}

TEST(Bxdib3Paint, PalettedImagesAndPalettes) {
  HGLOBAL grey = CreateDIB(4, 2, 8);
  ASSERT_NE(grey, nullptr);
  auto* p = static_cast<BYTE*>(GlobalLock(grey));
  auto* table = reinterpret_cast<RGBQUAD*>(p + 40);
  for (int i = 0; i < 256; ++i) table[i] = RGBQUAD{BYTE(i), BYTE(i), BYTE(i), 0};
  BYTE* bits = reinterpret_cast<BYTE*>(FindDIBBits(reinterpret_cast<LPSTR>(p)));
  for (int i = 0; i < 4; ++i) bits[i] = BYTE(i * 80);  // bottom row
  GlobalUnlock(grey);
  HPALETTE palette = CreateDIBPalette(grey);
  ASSERT_NE(palette, nullptr);
  PALETTEENTRY entries[256];
  EXPECT_EQ(GetPaletteEntries(palette, 0, 256, entries), 256u);
  EXPECT_EQ(entries[200].peRed, 200);
  Canvas canvas(4, 2);
  RECT dest = {0, 0, 4, 2};
  ASSERT_TRUE(PaintDIB(canvas.dc, &dest, grey, nullptr, palette));
  EXPECT_EQ(canvas.At(3, 1), 240u * 0x010101u);
  DeleteObject(palette);

  HGLOBAL picture = MakeTestPicture(3, 3);
  HPALETTE halftone = CreateDIBPalette(picture);
  EXPECT_NE(halftone, nullptr);
  DeleteObject(halftone);
  DestroyDIB(picture);
  DestroyDIB(grey);
}

TEST(Bxdib3Paint, DeviceBitmapsBecomeDibs) {
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 6, 4);
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT all = {0, 0, 6, 4}, corner = {0, 0, 2, 1};
  HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255)), red = CreateSolidBrush(RGB(255, 0, 0));
  FillRect(dc, &all, blue);
  FillRect(dc, &corner, red);
  SelectObject(dc, old);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  DeleteObject(blue);
  DeleteObject(red);

  HGLOBAL dib = BitmapToDIB(bitmap, nullptr);
  DeleteObject(bitmap);
  ASSERT_TRUE(IsValidDIB(dib));
  auto* bih = static_cast<BITMAPINFOHEADER*>(GlobalLock(dib));
  EXPECT_EQ(bih->biWidth, 6);
  EXPECT_EQ(bih->biHeight, 4);
  EXPECT_EQ(bih->biBitCount, 24);
  GlobalUnlock(dib);
  EXPECT_EQ(Pixel(dib, 1, 0), 0xFF0000u);  // red, stored blue, green, red
  EXPECT_EQ(Pixel(dib, 5, 3), 0x0000FFu);
  DestroyDIB(dib);
}

}  // namespace
