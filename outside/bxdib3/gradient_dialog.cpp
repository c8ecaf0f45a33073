#include "gradient_dialog.h"

#include <commdlg.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "dib_handle.h"
#include "gradient_dialog_ids.h"
#include "gradient_object.h"

namespace quillo::gradient {
namespace {

constexpr UINT kItemHeight = 20;  // list rows, in pixels

struct DialogState {
  std::unique_ptr<DialogState>* holder = nullptr;  // until the window owns it
  HWND frame = nullptr;
  UINT message = 0;
  HWND* dialogVar = nullptr;
  Gradient gradient;
  COLORREF customColours[16] = {};
};

DialogState* State(HWND dialog) {
  return reinterpret_cast<DialogState*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

GradientEntry& Selected(DialogState* s) { return s->gradient.entries[s->gradient.selected]; }

// Paints the entry across `r` through a one-row 24-bit DIB stretched to the
// rectangle's height.
void DrawStrip(HDC dc, const RECT& r, const GradientEntry& entry) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return;
  std::vector<uint8_t> row((size_t(w) * 3 + 3) & ~size_t(3));
  for (int x = 0; x < w; ++x) EntryColour(entry, x, w > 1 ? w - 1 : 1, &row[size_t(x) * 3]);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = 1;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchDIBits(dc, r.left, r.top, w, h, 0, 0, w, 1, row.data(), &bi, DIB_RGB_COLORS, SRCCOPY);
}

void FillStops(HWND dialog, DialogState* s) {
  HWND combo = GetDlgItem(dialog, IDC_GRADIENT_STOP);
  SendMessageA(combo, CB_RESETCONTENT, 0, 0);
  const GradientEntry& e = Selected(s);
  for (uint32_t i = 0; i < e.stopCount; ++i) {
    char text[32];
    std::snprintf(text, sizeof text, "Stop %u (%d%%)", i + 1, e.stops[i].position * 100 / 255);
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  }
  SendMessageA(combo, CB_SETCURSEL, 0, 0);
}

void Refresh(HWND dialog) {
  InvalidateRect(GetDlgItem(dialog, IDC_GRADIENT_LIST), nullptr, FALSE);
  InvalidateRect(GetDlgItem(dialog, IDC_GRADIENT_PREVIEW), nullptr, FALSE);
}

void OnInit(HWND dialog, DialogState* s) {
  SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(s));
  HWND list = GetDlgItem(dialog, IDC_GRADIENT_LIST);
  for (size_t i = 0; i < s->gradient.entries.size(); ++i)
    SendMessageA(list, LB_ADDSTRING, 0, LPARAM(i));  // owner-drawn: the item data is the index
  SendMessageA(list, LB_SETCURSEL, s->gradient.selected, 0);
  FillStops(dialog, s);
}

void OnDrawItem(DialogState* s, const DRAWITEMSTRUCT* d) {
  if (d->CtlID == IDC_GRADIENT_PREVIEW) {
    DrawStrip(d->hDC, d->rcItem, Selected(s));
    return;
  }
  if (d->CtlID != IDC_GRADIENT_LIST || d->itemID == UINT(-1) || d->itemID >= s->gradient.entries.size()) return;
  const GradientEntry& e = s->gradient.entries[d->itemID];
  const bool selected = (d->itemState & ODS_SELECTED) != 0;
  FillRect(d->hDC, &d->rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  RECT text = d->rcItem;
  text.left += 4;
  text.right = text.left + (d->rcItem.right - d->rcItem.left) * 2 / 5;
  SetBkMode(d->hDC, TRANSPARENT);
  SetTextColor(d->hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  DrawTextA(d->hDC, e.name, -1, &text, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
  RECT strip = {text.right + 4, d->rcItem.top + 3, d->rcItem.right - 4, d->rcItem.bottom - 3};
  DrawStrip(d->hDC, strip, e);
  if (d->itemState & ODS_FOCUS) DrawFocusRect(d->hDC, &d->rcItem);
}

void ChooseStopColour(HWND dialog, DialogState* s) {
  GradientEntry& e = Selected(s);
  const LRESULT stop = SendDlgItemMessageA(dialog, IDC_GRADIENT_STOP, CB_GETCURSEL, 0, 0);
  if (stop < 0 || uint32_t(stop) >= e.stopCount) return;
  GradientStop& st = e.stops[stop];
  CHOOSECOLORA cc{};
  cc.lStructSize = sizeof cc;
  cc.hwndOwner = dialog;
  cc.rgbResult = RGB(st.red, st.green, st.blue);
  cc.lpCustColors = s->customColours;
  cc.Flags = CC_RGBINIT | CC_FULLOPEN;
  if (!ChooseColorA(&cc)) return;
  st.red = GetRValue(cc.rgbResult);
  st.green = GetGValue(cc.rgbResult);
  st.blue = GetBValue(cc.rgbResult);
  Refresh(dialog);
}

// OK: the frame receives a new object it owns; if there is no frame to take
// it, it is freed here.
void Accept(HWND dialog, DialogState* s) {
  LPVOID object = NewGradientObject(s->gradient);
  if (object && IsWindow(s->frame))
    SendMessageA(s->frame, s->message, 0, reinterpret_cast<LPARAM>(object));
  else if (object)
    HeapFree(GetProcessHeap(), 0, object);
  DestroyWindow(dialog);
}

void OnCommand(HWND dialog, DialogState* s, int id, int code) {
  switch (id) {
    case IDC_GRADIENT_LIST:
      if (code == LBN_SELCHANGE) {
        const LRESULT sel = SendDlgItemMessageA(dialog, IDC_GRADIENT_LIST, LB_GETCURSEL, 0, 0);
        if (sel >= 0 && size_t(sel) < s->gradient.entries.size()) {
          s->gradient.selected = uint32_t(sel);
          FillStops(dialog, s);
          Refresh(dialog);
        }
      }
      break;
    case IDC_GRADIENT_REVERSE:
      ReverseEntry(&Selected(s));
      FillStops(dialog, s);
      Refresh(dialog);
      break;
    case IDC_GRADIENT_COLOUR: ChooseStopColour(dialog, s); break;
    case IDOK: Accept(dialog, s); break;
    case IDCANCEL: DestroyWindow(dialog); break;
  }
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* s = reinterpret_cast<DialogState*>(lParam);
    s->holder->release();  // the window owns the state from here on
    s->holder = nullptr;
    OnInit(dialog, s);
    return TRUE;
  }
  if (message == WM_MEASUREITEM) {  // arrives before WM_INITDIALOG
    reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = kItemHeight;
    return TRUE;
  }
  DialogState* s = State(dialog);
  if (!s) return FALSE;
  switch (message) {
    case WM_DRAWITEM:
      OnDrawItem(s, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_COMMAND:
      OnCommand(dialog, s, LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_CLOSE:
      DestroyWindow(dialog);
      return TRUE;
    case WM_DESTROY:
      if (s->dialogVar && *s->dialogVar == dialog) *s->dialogVar = nullptr;
      return TRUE;
    case WM_NCDESTROY:
      SetWindowLongPtrA(dialog, DWLP_USER, 0);
      delete s;
      return TRUE;
  }
  return FALSE;
}

}  // namespace

HWND OpenGradientDialog(HWND frame, UINT message, LPCVOID current, HWND* dialogVar) {
  if (dialogVar && *dialogVar && IsWindow(*dialogVar)) {
    SetForegroundWindow(*dialogVar);
    return *dialogVar;
  }
  auto holder = std::make_unique<DialogState>();
  DialogState* s = holder.get();
  s->holder = &holder;
  s->frame = frame;
  s->message = message;
  s->dialogVar = dialogVar;
  if (!ReadGradientObject(current, &s->gradient)) s->gradient = DefaultGradient();
  HWND dialog = CreateDialogParamA(dib::g_module, MAKEINTRESOURCEA(IDD_GRADIENT), frame, DialogProc,
                                   reinterpret_cast<LPARAM>(s));
  if (!dialog) return nullptr;
  if (dialogVar) *dialogVar = dialog;
  ShowWindow(dialog, SW_SHOW);
  return dialog;
}

}  // namespace quillo::gradient
