#include "screenshot.h"

#include "contracts/dib_services.h"
#include "contracts/image_codecs.h"

namespace quillo::test {

bool SaveWindowShot(HWND window, const char* path) {
  RECT r;
  return GetWindowRect(window, &r) && SaveScreenArea(r, path);
}

HGLOBAL CaptureScreenArea(const RECT& r) {
  if (r.right <= r.left || r.bottom <= r.top) return nullptr;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP shot = CreateCompatibleBitmap(screen, r.right - r.left, r.bottom - r.top);
  HGDIOBJ old = SelectObject(memory, shot);
  BitBlt(memory, 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
  SelectObject(memory, old);
  HGLOBAL dib = BitmapToDIB(shot, nullptr);
  DeleteObject(shot);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return dib;
}

bool SaveScreenArea(const RECT& r, const char* path) {
  HGLOBAL dib = CaptureScreenArea(r);
  const bool saved = dib && SaveDIB(dib, path);
  if (dib) DestroyDIB(dib);
  return saved;
}

}  // namespace quillo::test
