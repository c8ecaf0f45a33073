// The preview control: shows its own reduced 24-bit copy of a picture,
// centred on a neutral background inside a thin sunken border. Callers write
// into the copy's pixels and invalidate the control; every paint draws the
// copy's current pixels.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "contracts/dib_format.h"
#include "contracts/ui_controls.h"
#include "controls_internal.h"
#include "preview_reduce.h"

namespace quillo::bxui {
namespace {

constexpr int kBorder = 1;  // BDR_SUNKENOUTER

struct PreviewState {
  HWND window = nullptr;
  HGLOBAL picture = nullptr;  // the reduced copy; owned
};

RECT Inside(HWND window) {
  RECT r;
  GetClientRect(window, &r);
  InflateRect(&r, -kBorder, -kBorder);
  return r;
}

// A new 24-bit DIB of `source` reduced to fit boxWidth x boxHeight, or null
// when the source is not a sound DIB or memory is short.
HGLOBAL MakeReducedCopy(HGLOBAL source, int boxWidth, int boxHeight) {
  const SIZE_T bytes = GlobalSize(source);
  if (bytes == 0) return nullptr;
  const auto* data = static_cast<const uint8_t*>(GlobalLock(source));
  if (!data) return nullptr;
  HGLOBAL copy = nullptr;
  DibSource parsed;
  if (ParsePackedDib(data, bytes, &parsed)) {
    const PreviewSize size = FitPreviewSize(parsed.width, parsed.height, boxWidth, boxHeight);
    const int64_t stride = Stride24(size.width);
    const uint64_t total = sizeof(BITMAPINFOHEADER) + uint64_t(stride) * uint64_t(size.height);
    if (size.width > 0 && total <= SIZE_MAX) copy = GlobalAlloc(GHND, SIZE_T(total));
    auto* out = copy ? static_cast<uint8_t*>(GlobalLock(copy)) : nullptr;
    if (out) {
      BITMAPINFOHEADER header = {};
      header.biSize = sizeof header;
      header.biWidth = size.width;
      header.biHeight = size.height;
      header.biPlanes = 1;
      header.biBitCount = 24;
      header.biCompression = BI_RGB;
      header.biSizeImage = DWORD(uint64_t(stride) * uint64_t(size.height));
      std::memcpy(out, &header, sizeof header);
      const bool reduced =
          BoxReduce(parsed, out + sizeof header, stride, size.width, size.height, true);
      GlobalUnlock(copy);
      if (!reduced) copy = GlobalFree(copy);  // GlobalFree returns null on success
    } else if (copy) {
      copy = GlobalFree(copy);
    }
  }
  GlobalUnlock(source);
  return copy;
}

LRESULT OnSetPicture(PreviewState& s, WPARAM wParam) {
  HGLOBAL source = reinterpret_cast<HGLOBAL>(wParam);
  const RECT box = Inside(s.window);
  // The new copy is made before the old one is freed, so a caller may hand
  // back the control's own copy.
  HGLOBAL made = source ? MakeReducedCopy(source, box.right - box.left, box.bottom - box.top)
                        : nullptr;
  HGLOBAL old = s.picture;
  s.picture = made;
  if (old) GlobalFree(old);
  InvalidateRect(s.window, nullptr, FALSE);
  return reinterpret_cast<LRESULT>(made);
}

// Where the copy goes: centred in the border at its own size, or shrunk to
// fit when the control has been made smaller since.
RECT PictureRect(const RECT& inside, int width, int height) {
  const PreviewSize fit =
      FitPreviewSize(width, height, inside.right - inside.left, inside.bottom - inside.top);
  const int x = inside.left + (inside.right - inside.left - fit.width) / 2;
  const int y = inside.top + (inside.bottom - inside.top - fit.height) / 2;
  return {x, y, x + fit.width, y + fit.height};
}

void Paint(PreviewState& s, HDC dc) {
  RECT client;
  GetClientRect(s.window, &client);
  DrawEdge(dc, &client, BDR_SUNKENOUTER, BF_RECT);
  const RECT inside = Inside(s.window);
  HBRUSH background = GetSysColorBrush(COLOR_BTNFACE);

  const auto* data = s.picture ? static_cast<const uint8_t*>(GlobalLock(s.picture)) : nullptr;
  if (!data) {
    FillRect(dc, &inside, background);
    return;
  }
  const auto* info = reinterpret_cast<const BITMAPINFO*>(data);
  const int width = info->bmiHeader.biWidth, height = info->bmiHeader.biHeight;
  const RECT place = PictureRect(inside, width, height);
  // Background around the picture only, so the picture never flickers.
  SaveDC(dc);
  ExcludeClipRect(dc, place.left, place.top, place.right, place.bottom);
  FillRect(dc, &inside, background);
  RestoreDC(dc, -1);
  const void* bits = data + sizeof(BITMAPINFOHEADER);
  if (place.right - place.left == width && place.bottom - place.top == height) {
    SetDIBitsToDevice(dc, place.left, place.top, DWORD(width), DWORD(height), 0, 0, 0,
                      UINT(height), bits, info, DIB_RGB_COLORS);
  } else {
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchDIBits(dc, place.left, place.top, place.right - place.left, place.bottom - place.top,
                  0, 0, width, height, bits, info, DIB_RGB_COLORS, SRCCOPY);
  }
  GlobalUnlock(s.picture);
}

}  // namespace

LRESULT CALLBACK PreviewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  PreviewState* s = StateOf<PreviewState>(window);
  if (!s) {
    if (message == WM_CREATE) return CreateState<PreviewState>(window);
    return DefWindowProcA(window, message, wParam, lParam);
  }
  switch (message) {
    case PV_SET_PICTURE: return OnSetPicture(*s, wParam);
    case PV_GET_PICTURE: return reinterpret_cast<LRESULT>(s->picture);
    case WM_SIZE: InvalidateRect(window, nullptr, FALSE); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      Paint(*s, dc);
      EndPaint(window, &ps);
      return 0;
    }
    case WM_PRINTCLIENT: Paint(*s, reinterpret_cast<HDC>(wParam)); return 0;
    case WM_DESTROY:
      if (s->picture) GlobalFree(s->picture);
      s->picture = nullptr;
      return 0;
    case WM_NCDESTROY:
      DeleteState<PreviewState>(window);
      return DefWindowProcA(window, message, wParam, lParam);
    default: return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace quillo::bxui
