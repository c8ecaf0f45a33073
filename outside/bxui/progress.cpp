// The progress bar: a sunken frame filled from the left in the highlight
// colour, in blocks or as one smooth bar, optionally with the percent
// written in the middle.
#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "contracts/ui_controls.h"
#include "controls_internal.h"

namespace quillo::bxui {
namespace {

constexpr int kFrame = 1;      // thin sunken border
constexpr int kBlockGap = 2;   // between blocks
// Blocks are two thirds of the bar's height wide, as on classic bars.
int BlockWidth(int barHeight) { return std::max(2, barHeight * 2 / 3); }

struct ProgressState {
  HWND window = nullptr;
  int percent = 0;
  HFONT font = nullptr;  // set by the parent with WM_SETFONT; not owned
};

DWORD StyleOf(HWND window) { return DWORD(GetWindowLongA(window, GWL_STYLE)); }

RECT Interior(HWND window) {
  RECT r;
  GetClientRect(window, &r);
  InflateRect(&r, -kFrame, -kFrame);
  return r;
}

// Right edge of the filled part: interior width x percent / 100, rounded
// down to whole blocks unless the bar is smooth.
int FilledRight(const ProgressState& s, const RECT& inside) {
  const int width = std::max(0, int(inside.right - inside.left));
  int filled = width * s.percent / 100;
  if (!(StyleOf(s.window) & BXPB_SMOOTH) && s.percent < 100) {
    const int step = BlockWidth(inside.bottom - inside.top) + kBlockGap;
    filled = filled / step * step;
  }
  return inside.left + filled;
}

void Paint(ProgressState& s, HDC dc) {
  RECT client;
  GetClientRect(s.window, &client);
  BackBuffer buffer(dc, client);
  HDC out = buffer.dc();
  DrawEdge(out, &client, BDR_SUNKENOUTER, BF_RECT);
  const RECT inside = Interior(s.window);
  FillRect(out, &inside, GetSysColorBrush(COLOR_BTNFACE));

  RECT filled = inside;
  filled.right = FilledRight(s, inside);
  HBRUSH bar = GetSysColorBrush(COLOR_HIGHLIGHT);
  if (StyleOf(s.window) & BXPB_SMOOTH) {
    FillRect(out, &filled, bar);
  } else {
    const int block = BlockWidth(inside.bottom - inside.top);
    for (int x = filled.left; x < filled.right; x += block + kBlockGap) {
      RECT r = {x, filled.top, std::min(int(filled.right), x + block), filled.bottom};
      FillRect(out, &r, bar);
    }
  }

  if (StyleOf(s.window) & BXPB_PERCENT) {
    char text[8];
    std::snprintf(text, sizeof text, "%d%%", s.percent);
    HGDIOBJ oldFont = SelectObject(out, s.font ? s.font : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(out, TRANSPARENT);
    // The text reads in the highlight text colour over the bar and in the
    // window text colour beside it.
    RECT all = inside;
    SetTextColor(out, GetSysColor(COLOR_BTNTEXT));
    DrawTextA(out, text, -1, &all, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SaveDC(out);
    IntersectClipRect(out, filled.left, filled.top, filled.right, filled.bottom);
    SetTextColor(out, GetSysColor(COLOR_HIGHLIGHTTEXT));
    DrawTextA(out, text, -1, &all, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    RestoreDC(out, -1);
    SelectObject(out, oldFont);
  }
  buffer.Finish();
}

LRESULT OnSetPercent(ProgressState& s, WPARAM wParam) {
  const int previous = s.percent;
  const int next = std::clamp<INT_PTR>(INT_PTR(int32_t(INT_PTR(wParam))), 0, 100);
  if (next != previous) {
    s.percent = next;
    // With text the middle changes too; otherwise only the filled span moves.
    RECT changed = Interior(s.window);
    if (!(StyleOf(s.window) & BXPB_PERCENT)) {
      ProgressState before = s;
      before.percent = previous;
      const int a = FilledRight(before, changed), b = FilledRight(s, changed);
      changed.left = std::min(a, b);
      changed.right = std::max(a, b);
    }
    if (changed.right > changed.left) InvalidateRect(s.window, &changed, FALSE);
  }
  return previous;
}

}  // namespace

LRESULT CALLBACK ProgressProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ProgressState* s = StateOf<ProgressState>(window);
  if (!s) {
    if (message == WM_CREATE) return CreateState<ProgressState>(window);
    return DefWindowProcA(window, message, wParam, lParam);
  }
  switch (message) {
    case PB_SETPERCENT: return OnSetPercent(*s, wParam);
    case WM_SETFONT:
      s->font = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(lParam)) InvalidateRect(window, nullptr, FALSE);
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(s->font);
    case WM_SIZE:
    case WM_ENABLE: InvalidateRect(window, nullptr, FALSE); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      Paint(*s, dc);
      EndPaint(window, &ps);
      return 0;
    }
    case WM_PRINTCLIENT: Paint(*s, reinterpret_cast<HDC>(wParam)); return 0;
    case WM_NCDESTROY:
      DeleteState<ProgressState>(window);
      return DefWindowProcA(window, message, wParam, lParam);
    default: return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace quillo::bxui
