// The tool bar: a light-grey strip with etched lines along its top and
// bottom, an optional caption, and the buttons placed on it as children.
#include "contracts/print_preview.h"
#include "controls_internal.h"

namespace quillo::prt {
namespace {

constexpr COLORREF kGrey = RGB(128, 128, 128);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr int kTextLeft = 2, kTextTop = 2;

// Grey at rows 0 and height-2, white at rows 1 and height-1: an etched line
// at each edge.
void PaintLinesAndText(HWND window, HDC out, const RECT& client) {
  FillRect(out, &client, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
  const int w = client.right, h = client.bottom;
  Line(out, 0, 0, w, 0, kGrey);
  Line(out, 0, 1, w, 1, kWhite);
  if (h >= 2) Line(out, 0, h - 2, w, h - 2, kGrey);
  Line(out, 0, h - 1, w, h - 1, kWhite);
  char text[256];
  const int length = GetWindowTextA(window, text, sizeof text);
  if (length <= 0) return;
  SetBkMode(out, TRANSPARENT);
  SetTextColor(out, RGB(0, 0, 0));
  HGDIOBJ old = SelectObject(out, GetStockObject(DEFAULT_GUI_FONT));
  TextOutA(out, kTextLeft, kTextTop, text, length);
  SelectObject(out, old);
}

void Paint(HWND window, HDC dc) {
  RECT client;
  GetClientRect(window, &client);
  BackBuffer buffer(dc, client);
  PaintLinesAndText(window, buffer.dc(), client);
  buffer.Finish();
}

}  // namespace

LRESULT CALLBACK ToolBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: return SendMessageA(GetParent(window), WM_COMMAND, wParam, lParam);
    case WM_CTLCOLORSTATIC:
      SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      return reinterpret_cast<LRESULT>(GetStockObject(LTGRAY_BRUSH));
    case WM_SETTEXT: {
      const LRESULT result = DefWindowProcA(window, message, wParam, lParam);
      InvalidateRect(window, nullptr, FALSE);
      return result;
    }
    case WM_SIZE: InvalidateRect(window, nullptr, FALSE); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      Paint(window, dc);
      EndPaint(window, &ps);
      return 0;
    }
    case WM_PRINTCLIENT: Paint(window, reinterpret_cast<HDC>(wParam)); return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace quillo::prt
