// Text exports of BXCOMM.DLL: text as a bitmap or DIB, text bent between
// guide lines, and the font dialog.
#include <windows.h>
#include <commdlg.h>

#include <cstring>
#include <memory>
#include <new>

#include "contracts/dib_services.h"
#include "contracts/imaging_library.h"
#include "library_state.h"
#include "text_bend.h"

using namespace quillo::imaging;

namespace {

// Longest text drawn; DrawText and TextOut take an int length.
constexpr size_t kMaxText = 1 << 20;

size_t TextLength(LPCSTR text) { return text ? strnlen(text, kMaxText) : 0; }

// Replays moved path points: 6 starts a figure, 2 and 3 draw a line, 4 and
// 5 a Bezier curve through that point and the next two; other types are
// skipped. A Bezier cut short at the end of the list is dropped.
void ReplayPath(HDC dc, const POINT* points, const BYTE* types, int count) {
  for (int i = 0; i < count; ++i) {
    switch (types[i]) {
      case PT_MOVETO:
        MoveToEx(dc, points[i].x, points[i].y, nullptr);
        break;
      case PT_LINETO:
      case PT_LINETO | PT_CLOSEFIGURE:
        LineTo(dc, points[i].x, points[i].y);
        break;
      case PT_BEZIERTO:
      case PT_BEZIERTO | PT_CLOSEFIGURE:
        if (i + 2 < count) PolyBezierTo(dc, points + i, 3);
        i += 2;
        break;
      default:
        break;
    }
  }
}

}  // namespace

extern "C" {

HBITMAP WINAPI GetTextBitmap(LPCSTR text, HFONT font, UINT format) {
  const size_t length = TextLength(text);
  if (length == 0 || length >= kMaxText) return nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  if (!dc) return nullptr;
  HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
  RECT box = {0, 0, 0, 0};
  DrawTextA(dc, text, int(length), &box, format | DT_CALCRECT | DT_NOPREFIX);
  const int width = box.right - box.left, height = box.bottom - box.top;
  HBITMAP bitmap = width > 0 && height > 0 ? CreateBitmap(width, height, 1, 1, nullptr) : nullptr;
  if (bitmap) {
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    PatBlt(dc, 0, 0, width, height, BLACKNESS);
    SetTextColor(dc, RGB(255, 255, 255));
    SetBkColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, OPAQUE);
    DrawTextA(dc, text, int(length), &box, format | DT_NOPREFIX);
    SelectObject(dc, oldBitmap);
  }
  if (oldFont) SelectObject(dc, oldFont);
  DeleteDC(dc);
  return bitmap;
}

// The monochrome bitmap is read as a 1-bit DIB (a set bit is white text),
// which Convert2To24BitsDIB turns into the colour and its inverse.
HGLOBAL WINAPI GetTextDIB(LPCSTR text, HFONT font, UINT format, COLORREF colour) {
  HBITMAP bitmap = GetTextBitmap(text, font, format);
  if (!bitmap) return nullptr;
  BITMAP bm{};
  HGLOBAL mono = GetObjectA(bitmap, sizeof bm, &bm) ? CreateDIB(bm.bmWidth, bm.bmHeight, 1) : nullptr;
  bool read = false;
  if (mono) {
    if (auto* base = static_cast<BYTE*>(GlobalLock(mono))) {
      struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[2];
      } info{};
      std::memcpy(&info.header, base, sizeof info.header);
      HDC screen = GetDC(nullptr);
      BYTE* bits = reinterpret_cast<BYTE*>(FindDIBBits(reinterpret_cast<LPSTR>(base)));
      read = GetDIBits(screen, bitmap, 0, UINT(bm.bmHeight), bits,
                       reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS) == bm.bmHeight;
      ReleaseDC(nullptr, screen);
      GlobalUnlock(mono);
    }
  }
  DeleteObject(bitmap);
  HGLOBAL result = read ? Convert2To24BitsDIB(mono, colour) : nullptr;
  if (mono) DestroyDIB(mono);
  return result;
}

int WINAPI DrawTextFX(HDC dc, const POINT* top, const POINT* bottom, int topCount,
                      int bottomCount, LPCSTR text, BOOL outline) {
  const size_t length = TextLength(text);
  if (!dc || length == 0 || length >= kMaxText || !top || !bottom || topCount < 1 ||
      bottomCount < 1)
    return 0;

  const int oldMode = SetBkMode(dc, TRANSPARENT);
  BeginPath(dc);
  TextOutA(dc, 0, 0, text, int(length));
  EndPath(dc);
  SetBkMode(dc, oldMode);
  const int count = GetPath(dc, nullptr, nullptr, 0);
  if (count <= 0) return 0;
  std::unique_ptr<POINT[]> points(new (std::nothrow) POINT[count]);
  std::unique_ptr<POINT[]> moved(new (std::nothrow) POINT[count]);
  std::unique_ptr<BYTE[]> types(new (std::nothrow) BYTE[count]);
  if (!points || !moved || !types || GetPath(dc, points.get(), types.get(), count) != count) {
    AbortPath(dc);
    return 0;
  }
  AbortPath(dc);
  SIZE extent{};
  GetTextExtentPoint32A(dc, text, int(length), &extent);

  static_assert(sizeof(POINT) == sizeof(GuidePoint), "POINT is two 32-bit coordinates");
  if (!BendTextPoints(reinterpret_cast<const GuidePoint*>(points.get()), size_t(count), extent.cx,
                      extent.cy, reinterpret_cast<const GuidePoint*>(top), topCount,
                      reinterpret_cast<const GuidePoint*>(bottom), bottomCount,
                      reinterpret_cast<GuidePoint*>(moved.get())))
    return 0;

  const int oldFill = SetPolyFillMode(dc, WINDING);
  BeginPath(dc);
  ReplayPath(dc, moved.get(), types.get(), count);
  CloseFigure(dc);
  EndPath(dc);
  BOOL drawn;
  if (outline) {
    drawn = StrokePath(dc);
  } else {
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(BLACK_BRUSH));
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
    drawn = FillPath(dc);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
  }
  SetPolyFillMode(dc, oldFill);
  return drawn ? 1 : 0;
}

HFONT WINAPI GetSelectFont(HWND owner, HFONT font) {
  LOGFONTA description{};
  HGDIOBJ start = font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT);
  if (!GetObjectA(start, sizeof description, &description)) return nullptr;
  CHOOSEFONTA choose{};
  choose.lStructSize = sizeof choose;
  choose.hwndOwner = owner;
  choose.lpLogFont = &description;
  choose.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
  if (!ChooseFontA(&choose)) return nullptr;
  return CreateFontIndirectA(&description);
}

}  // extern "C"
