// The bitmap button: a push, toggle or radio button that draws itself from
// one cell of a picture strip according to its state.
#include <string>

#include "contracts/print_preview.h"
#include "control_geometry.h"
#include "controls_internal.h"

namespace quillo::prt {
namespace {

struct ButtonState {
  HWND window = nullptr;
  BitmapButtonCreate record = {};
  bool pressed = false;   // left button went down on it and is still down
  bool captured = false;  // holding the mouse capture (press or hot tracking)
  bool inside = false;    // pointer inside while pressed
  bool hot = false;       // pointer over it with no button down
  bool checked = false;
};

DWORD StyleOf(HWND window) { return DWORD(GetWindowLongA(window, GWL_STYLE)); }

bool PointInside(HWND window, LPARAM lParam) {
  RECT r;
  GetClientRect(window, &r);
  const POINT p = {short(LOWORD(lParam)), short(HIWORD(lParam))};
  return PtInRect(&r, p) != FALSE;
}

void Redraw(ButtonState& s) { InvalidateRect(s.window, nullptr, FALSE); }

void TakeCapture(ButtonState& s) {
  s.captured = true;
  if (GetCapture() != s.window) SetCapture(s.window);
}

void DropCapture(ButtonState& s) {
  s.captured = false;
  if (GetCapture() == s.window) ReleaseCapture();
}

// Unchecks every other child of the parent whose ID lies in the group range.
void UncheckGroup(ButtonState& s) {
  HWND parent = GetParent(s.window);
  if (!parent) return;
  const int first = s.record.radioFirstId, last = s.record.radioLastId;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const int id = GetDlgCtrlID(child);
    if (child != s.window && id >= first && id <= last) SendMessageA(child, BM_SETCHECK, BST_UNCHECKED, 0);
  }
}

LRESULT OnSetCheck(ButtonState& s, WPARAM wParam) {
  const bool checked = wParam == BST_CHECKED;
  if (checked != s.checked) {
    s.checked = checked;
    Redraw(s);
  }
  if (checked && (StyleOf(s.window) & BBS_RADIO)) UncheckGroup(s);
  return 0;
}

LRESULT OnCreate(HWND window, const CREATESTRUCTA* create) {
  ButtonState* s = AttachState(window, new (std::nothrow) ButtonState());
  if (!s) return -1;
  s->window = window;
  if (create->lpCreateParams)
    s->record = *static_cast<const BitmapButtonCreate*>(create->lpCreateParams);
  return 0;
}

void OnDestroy(ButtonState& s) {
  if (s.record.deleteBitmap && s.record.strip) DeleteObject(s.record.strip);
  s.record.strip = nullptr;
}

void OnLeftDown(ButtonState& s) {
  s.pressed = true;
  s.inside = true;
  s.hot = false;
  TakeCapture(s);
  Redraw(s);
}

void OnMouseMove(ButtonState& s, LPARAM lParam) {
  const bool inside = PointInside(s.window, lParam);
  if (s.pressed) {
    if (inside != s.inside) {
      s.inside = inside;
      Redraw(s);
    }
    return;
  }
  // Hot tracking: the capture tells us when the pointer leaves.
  if (inside && !s.hot) {
    s.hot = true;
    TakeCapture(s);
    Redraw(s);
  } else if (!inside && s.hot) {
    s.hot = false;
    DropCapture(s);
    Redraw(s);
  }
}

void OnLeftUp(ButtonState& s, LPARAM lParam) {
  if (!s.pressed) return;
  const bool inside = PointInside(s.window, lParam);
  s.pressed = false;
  s.inside = false;
  DropCapture(s);
  Redraw(s);
  if (!inside) return;
  HWND window = s.window;
  const DWORD style = StyleOf(window);
  const int id = GetDlgCtrlID(window);
  SendMessageA(GetParent(window), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(window));
  // The parent may have destroyed the button while handling the command.
  if (!IsWindow(window) || !StateOf<ButtonState>(window)) return;
  ButtonState& after = *StateOf<ButtonState>(window);
  if (style & BBS_RADIO)
    OnSetCheck(after, BST_CHECKED);
  else if (style & BBS_TOGGLE)
    OnSetCheck(after, after.checked ? BST_UNCHECKED : BST_CHECKED);
}

void OnCaptureLost(ButtonState& s) {
  s.captured = false;
  if (s.pressed || s.hot) {
    s.pressed = s.hot = s.inside = false;
    Redraw(s);
  }
}

// Every hit test shows the button's text as a tip below its bottom-left corner.
void ShowTip(ButtonState& s) {
  char text[256];
  if (GetWindowTextA(s.window, text, sizeof text) <= 0) return;
  RECT r;
  GetWindowRect(s.window, &r);
  HWND parent = GetParent(s.window);
  CreateRDPopup(s.window, POINT{r.left, r.bottom}, text, parent ? GetDlgCtrlID(parent) : 0, 0);
}

void PaintFace(ButtonState& s, HDC out, const RECT& client, bool sunken) {
  FillRect(out, &client, GetSysColorBrush(COLOR_BTNFACE));
  RECT edge = client;
  DrawEdge(out, &edge, sunken ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  char text[256];
  const int length = GetWindowTextA(s.window, text, sizeof text);
  if (length > 0) {
    SetBkMode(out, TRANSPARENT);
    SetTextColor(out, GetSysColor(IsWindowEnabled(s.window) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    HGDIOBJ old = SelectObject(out, GetStockObject(DEFAULT_GUI_FONT));
    RECT label = client;
    if (sunken) OffsetRect(&label, 1, 1);
    DrawTextA(out, text, length, &label, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(out, old);
  }
}

// Copies the state's strip cell; false when the strip has no such cell.
bool PaintCell(ButtonState& s, HDC out, const RECT& client, StripRow row) {
  const BitmapButtonCreate& rec = s.record;
  BITMAP info;
  if (!rec.strip || !GetObjectA(rec.strip, sizeof info, &info)) return false;
  const int64_t k = int64_t(GetDlgCtrlID(s.window)) - rec.baseId;
  const StripCell cell = StripCellFor(k, rec.cellsPerRow, rec.cellWidth, rec.cellHeight, row,
                                      info.bmWidth, info.bmHeight);
  if (!cell.valid) return false;
  HDC source = CreateCompatibleDC(out);
  if (!source) return false;
  HGDIOBJ old = SelectObject(source, rec.strip);
  FillRect(out, &client, GetSysColorBrush(COLOR_BTNFACE));
  BitBlt(out, 0, 0, rec.cellWidth, rec.cellHeight, source, cell.x, cell.y, SRCCOPY);
  SelectObject(source, old);
  DeleteDC(source);
  return true;
}

void Paint(ButtonState& s, HDC dc) {
  RECT client;
  GetClientRect(s.window, &client);
  BackBuffer buffer(dc, client);
  HDC out = buffer.dc();
  const bool enabled = IsWindowEnabled(s.window) != FALSE;
  const bool pressedInside = s.pressed && s.inside;
  const StripRow row = RowForState(enabled, s.checked, pressedInside);
  if (!PaintCell(s, out, client, row)) {
    PaintFace(s, out, client, pressedInside || s.checked);
  } else if (s.hot && enabled) {
    // Hot: a thin raised outline over the cell.
    RECT edge = client;
    DrawEdge(out, &edge, BDR_RAISEDINNER, BF_RECT);
  }
  buffer.Finish();
}

}  // namespace

LRESULT CALLBACK BitmapButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ButtonState* s = StateOf<ButtonState>(window);
  if (!s) {
    if (message == WM_CREATE) return OnCreate(window, reinterpret_cast<CREATESTRUCTA*>(lParam));
    return DefWindowProcA(window, message, wParam, lParam);
  }
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: OnLeftDown(*s); return 0;
    case WM_MOUSEMOVE: OnMouseMove(*s, lParam); return 0;
    case WM_LBUTTONUP: OnLeftUp(*s, lParam); return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != window) OnCaptureLost(*s);
      return 0;
    case WM_NCHITTEST: ShowTip(*s); return HTCLIENT;
    case BM_GETCHECK: return s->checked ? BST_CHECKED : BST_UNCHECKED;
    case BM_SETCHECK: return OnSetCheck(*s, wParam);
    case BB_GETUSERVALUE2: return s->record.userValue2;
    case WM_ENABLE:
      if (!wParam) OnCaptureLost(*s);
      Redraw(*s);
      return 0;
    case WM_SETTEXT: {
      const LRESULT result = DefWindowProcA(window, message, wParam, lParam);
      Redraw(*s);
      return result;
    }
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      Paint(*s, dc);
      EndPaint(window, &ps);
      return 0;
    }
    case WM_PRINTCLIENT: Paint(*s, reinterpret_cast<HDC>(wParam)); return 0;
    case WM_DESTROY: OnDestroy(*s); return 0;
    case WM_NCDESTROY:
      DeleteState<ButtonState>(window);
      return DefWindowProcA(window, message, wParam, lParam);
    default: return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace quillo::prt
