// Default message handling for the saver's window: in full screen any key,
// button, activation loss or real mouse movement closes it; the preview only
// paints and ends with its parent.
#include <windows.h>
#include <windowsx.h>

#include <cstdlib>

#include <scrnsave.h>

namespace {

// How far (in either axis) the mouse may drift from where it was first
// reported before the saver counts it as the user moving it.
constexpr int kMouseTolerance = 4;

// The system reports the cursor once as the window appears: that first
// position is where later moves are measured from.
struct FirstMousePosition {
  bool known = false;
  POINT at = {};
};
FirstMousePosition g_firstMouse;

bool MouseMovedAway(LPARAM lParam) {
  const POINT at = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  if (!g_firstMouse.known) {
    g_firstMouse = {true, at};
    return false;
  }
  return std::abs(at.x - g_firstMouse.at.x) > kMouseTolerance ||
         std::abs(at.y - g_firstMouse.at.y) > kMouseTolerance;
}

// WM_CLOSE goes through the saver's own procedure, which may act on it first.
// Destroying the window deactivates it, which would ask again from inside
// the first close: one close at a time.
void CloseSaver(HWND window) {
  static bool closing = false;
  if (closing) return;
  closing = true;
  SendMessageA(window, WM_CLOSE, 0, 0);
  closing = false;
}

// Full-screen handling; true when `message` is answered with `*result`.
bool HandleFullScreen(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  *result = 0;
  switch (message) {
    case WM_SETCURSOR:
      SetCursor(nullptr);
      *result = TRUE;
      return true;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      CloseSaver(window);
      return true;
    case WM_MOUSEMOVE:
      if (MouseMovedAway(lParam)) CloseSaver(window);
      return true;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) return false;
      CloseSaver(window);
      return true;
    case WM_ACTIVATEAPP:
      if (wParam) return false;
      CloseSaver(window);
      return true;
    case WM_SYSCOMMAND:
      // The system must neither start another saver nor close this one behind its back.
      return (wParam & 0xFFF0) == SC_SCREENSAVE || (wParam & 0xFFF0) == SC_CLOSE;
    default:
      return false;
  }
}

}  // namespace

LRESULT WINAPI DefScreenSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result;
  if (!fChildPreview && HandleFullScreen(window, message, wParam, lParam, &result)) return result;
  switch (message) {
    case WM_ERASEBKGND: {
      RECT area;
      GetClientRect(window, &area);
      FillRect(reinterpret_cast<HDC>(wParam), &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      return TRUE;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}
