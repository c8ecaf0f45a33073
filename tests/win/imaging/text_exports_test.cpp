// Text exports of BXCOMM.DLL: text bitmaps, coloured text DIBs and text
// bent between guide lines, drawn with the real GDI under Wine.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <vector>

#include "contracts/dib_services.h"
#include "contracts/imaging_library.h"
#include "win_test_support.h"

using namespace quillo::test;

namespace {

TEST(GetTextBitmapTest, EmptyTextGivesNothing) {
  EXPECT_EQ(GetTextBitmap("", nullptr, 0), nullptr);
  EXPECT_EQ(GetTextBitmap(nullptr, nullptr, 0), nullptr);
}

TEST(GetTextBitmapTest, WhiteTextOnBlackOfTheMeasuredSize) {
  HFONT font = CreateFontA(-24, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
  HBITMAP bitmap = GetTextBitmap("Hello & Co", font, DT_LEFT);
  ASSERT_TRUE(bitmap);
  BITMAP bm{};
  ASSERT_TRUE(GetObjectA(bitmap, sizeof bm, &bm));
  EXPECT_EQ(bm.bmBitsPixel, 1);
  EXPECT_GT(bm.bmWidth, 40);  // ten characters of a 24-pixel font, "&" kept (no prefix)
  EXPECT_GE(bm.bmHeight, 20);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  int white = 0, black = 0;
  for (int y = 0; y < bm.bmHeight; ++y)
    for (int x = 0; x < bm.bmWidth; ++x) (GetPixel(dc, x, y) == RGB(255, 255, 255) ? white : black)++;
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(bitmap);
  DeleteObject(font);
  EXPECT_GT(white, 30);
  EXPECT_GT(black, white);
}

TEST(GetTextDIBTest, TextInTheColourOnItsInverse) {
  const COLORREF colour = RGB(200, 30, 10);
  HGLOBAL dib = GetTextDIB("Wq", nullptr, DT_LEFT, colour);
  ASSERT_TRUE(dib);
  BITMAPINFOHEADER h{};
  std::memcpy(&h, GlobalLock(dib), sizeof h);
  GlobalUnlock(dib);
  EXPECT_EQ(h.biBitCount, 24);
  std::set<std::vector<uint8_t>> seen;
  for (int y = 0; y < h.biHeight; ++y)
    for (int x = 0; x < h.biWidth; ++x) {
      uint8_t p[3];
      DibPixel(dib, x, y, p);
      seen.insert({p[0], p[1], p[2]});
    }
  const std::set<std::vector<uint8_t>> expected = {{10, 30, 200}, {245, 225, 55}};
  EXPECT_EQ(seen, expected);
  uint8_t corner[3];
  DibPixel(dib, 0, 0, corner);
  EXPECT_EQ(corner[2], 55);  // the background takes the inverse
  DestroyDIB(dib);
  EXPECT_EQ(GetTextDIB("", nullptr, 0, colour), nullptr);
}

// A white 24-bit DIB section to draw into.
struct Canvas {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ old = nullptr;
  uint8_t* bits = nullptr;
  int width, height;
  Canvas(int w, int h) : width(w), height(h) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;  // top-down: row y is y from the top
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    dc = CreateCompatibleDC(nullptr);
    void* p = nullptr;
    bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &p, nullptr, 0);
    bits = static_cast<uint8_t*>(p);
    old = SelectObject(dc, bitmap);
    PatBlt(dc, 0, 0, w, h, WHITENESS);
    GdiFlush();
  }
  ~Canvas() {
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  bool dark(int x, int y) const { return bits[(y * width + x) * 4 + 1] < 128; }
  int DarkIn(int x0, int y0, int x1, int y1) const {
    int n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) n += dark(x, y);
    return n;
  }
};

TEST(DrawTextFXTest, FillsTheTextBetweenTheGuides) {
  Canvas canvas(300, 200);
  HFONT font = CreateFontA(-40, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, OUT_TT_ONLY_PRECIS, 0, 0, 0, "Arial");
  HGDIOBJ oldFont = SelectObject(canvas.dc, font);
  // A band from x 50 to 250, one guide point a pixel (a point takes the
  // guide point at its fraction of the text width, no interpolation), 40
  // pixels high at the left, widening to 70 at the right.
  POINT top[201], bottom[201];
  for (int i = 0; i <= 200; ++i) {
    top[i] = {50 + i, 60 - i / 20};
    bottom[i] = {50 + i, 100 + i / 10};
  }
  ASSERT_EQ(DrawTextFX(canvas.dc, top, bottom, 201, 201, "MMMM", FALSE), 1);
  GdiFlush();
  EXPECT_GT(canvas.DarkIn(50, 40, 250, 140), 2000);
  EXPECT_EQ(canvas.DarkIn(0, 0, 45, 200), 0);     // nothing left of the band
  EXPECT_EQ(canvas.DarkIn(0, 150, 300, 200), 0);  // nor below it
  // Outlined: fewer dark pixels than filled, still inside the band.
  Canvas outline(300, 200);
  SelectObject(outline.dc, font);
  ASSERT_EQ(DrawTextFX(outline.dc, top, bottom, 201, 201, "MMMM", TRUE), 1);
  GdiFlush();
  const int stroked = outline.DarkIn(0, 0, 300, 200);
  EXPECT_GT(stroked, 100);
  EXPECT_LT(stroked, canvas.DarkIn(0, 0, 300, 200));
  SelectObject(outline.dc, GetStockObject(SYSTEM_FONT));
  SelectObject(canvas.dc, oldFont);
  DeleteObject(font);
}

TEST(DrawTextFXTest, RefusesEmptyTextAndMissingGuides) {
  Canvas canvas(64, 64);
  POINT top[2] = {{0, 0}, {60, 0}}, bottom[2] = {{0, 40}, {60, 40}};
  EXPECT_EQ(DrawTextFX(canvas.dc, top, bottom, 2, 2, "", FALSE), 0);
  EXPECT_EQ(DrawTextFX(canvas.dc, top, bottom, 2, 2, nullptr, FALSE), 0);
  EXPECT_EQ(DrawTextFX(canvas.dc, top, bottom, 0, 2, "A", FALSE), 0);
  EXPECT_EQ(DrawTextFX(canvas.dc, top, bottom, 2, 0, "A", FALSE), 0);
  EXPECT_EQ(DrawTextFX(canvas.dc, nullptr, bottom, 2, 2, "A", FALSE), 0);
  EXPECT_EQ(DrawTextFX(canvas.dc, top, bottom, -1, 2, "A", TRUE), 0);
  GdiFlush();
  EXPECT_EQ(canvas.DarkIn(0, 0, 64, 64), 0);
  // The same guides with a text draw.
  EXPECT_EQ(DrawTextFX(canvas.dc, top, bottom, 2, 2, "A", FALSE), 1);
}

}  // namespace
