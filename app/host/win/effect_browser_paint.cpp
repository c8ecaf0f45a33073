// Drawing of the browsers: owner-drawn effect and family rows (icon from the
// bitmap "Plug", name beside it) and the colours of the other controls.
#include <windows.h>

#include <string_view>

#include "effect_browser_state.h"

namespace quillo {

namespace {

constexpr COLORREF kLightGrey = RGB(192, 192, 192);

int TextHeight(HDC dc) {
  TEXTMETRICA tm;
  return GetTextMetricsA(dc, &tm) ? int(tm.tmHeight) : 16;
}

}  // namespace

void MeasureBrowserItem(HWND dialog, MEASUREITEMSTRUCT* item) {
  // The list's font is set right after the list is made, so the dialog's
  // own font (the same one) is asked first.
  HFONT font = HFONT(SendMessageA(dialog, WM_GETFONT, 0, 0));
  if (!font) font = HFONT(SendMessageA(GetDlgItem(dialog, int(item->CtlID)), WM_GETFONT, 0, 0));
  HDC dc = GetDC(dialog);
  HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
  const int height = TextHeight(dc);
  if (old) SelectObject(dc, old);
  ReleaseDC(dialog, dc);
  item->itemHeight = UINT(height > kIconSize ? height : kIconSize);
}

void DrawBrowserItem(const BrowserState& state, const DRAWITEMSTRUCT* item) {
  HDC dc = item->hDC;
  const RECT& r = item->rcItem;
  if (int(item->itemID) < 0) {
    if (item->itemState & ODS_FOCUS) DrawFocusRect(dc, &r);
    return;
  }
  std::string_view name;
  int column = 0, row = 0;
  if (item->CtlID == UINT(kBrowserFamilyList)) {
    const FamilyEntry* entry = FamilyAt(item->hwndItem, int(item->itemID));
    if (!entry) return;
    name = entry->name;
    column = entry->iconColumn;
    row = entry->iconRow;
  } else {
    const EffectRecord* record = EffectAt(item->hwndItem, int(item->itemID));
    if (!record) return;
    name = DisplayName(*record);
    column = record->iconColumn;
    row = record->iconRow;
  }
  const bool selected = (item->itemState & ODS_SELECTED) != 0;
  FillRect(dc, &r, selected ? state.selectionBrush : HBRUSH(GetStockObject(WHITE_BRUSH)));
  if (state.iconDC)
    BitBlt(dc, r.left, r.top, kIconSize, kIconSize, state.iconDC, column,
           row + (selected ? kSelectedIconOffset : 0), SRCCOPY);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, selected ? RGB(255, 255, 255) : RGB(0, 0, 0));
  RECT text = r;
  text.left += kNameIndent;
  text.top += (kIconSize + 1 - TextHeight(dc)) / 2;
  DrawTextA(dc, name.data(), int(name.size()), &text, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX |
                                                          DT_END_ELLIPSIS);
  if (item->itemState & ODS_FOCUS) DrawFocusRect(dc, &r);
}

HBRUSH BrowserControlColour(UINT message, HDC dc) {
  switch (message) {
    case WM_CTLCOLORLISTBOX:
      SetBkMode(dc, TRANSPARENT);
      return HBRUSH(GetStockObject(WHITE_BRUSH));
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORDLG:
      SetBkColor(dc, kLightGrey);
      return HBRUSH(GetStockObject(LTGRAY_BRUSH));
  }
  return nullptr;
}

}  // namespace quillo
