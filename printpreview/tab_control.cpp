// The tab control: a row (or rows) of named tabs above a framed page; each
// tab can own child windows that are shown only while it is selected.
#include <algorithm>
#include <string>
#include <vector>

#include "contracts/print_preview.h"
#include "control_geometry.h"
#include "controls_internal.h"

namespace quillo::prt {
namespace {

constexpr COLORREF kSelectedText = RGB(128, 0, 0);
constexpr COLORREF kText = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

struct Tab {
  std::string text;
  Box box;
  Box label;
  std::vector<HWND> children;
};

struct TabState {
  HWND window = nullptr;
  std::vector<Tab> tabs;
  int current = -1;
  int rows = 0;
  TabSize size;
  HFONT font = nullptr;  // set with WM_SETFONT; not owned
  bool focused = false;
};

bool ValidIndex(const TabState& s, WPARAM index) { return index < s.tabs.size(); }

HFONT FontOf(const TabState& s) {
  return s.font ? s.font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

// Measures every label in the control's font and lays the tabs out again.
void Layout(TabState& s) {
  std::vector<TabSize> extents;
  extents.reserve(s.tabs.size());
  HDC dc = GetDC(s.window);
  HGDIOBJ old = SelectObject(dc, FontOf(s));
  for (const Tab& tab : s.tabs) {
    SIZE extent = {0, 0};
    GetTextExtentPoint32A(dc, tab.text.c_str(), int(tab.text.size()), &extent);
    if (tab.text.empty()) {
      TEXTMETRICA tm;
      GetTextMetricsA(dc, &tm);
      extent.cy = tm.tmHeight;
    }
    extents.push_back({int(extent.cx), int(extent.cy)});
  }
  SelectObject(dc, old);
  ReleaseDC(s.window, dc);
  s.size = TabSizeFor(extents.data(), extents.size());
  RECT client;
  GetClientRect(s.window, &client);
  std::vector<Box> boxes(s.tabs.size());
  s.rows = LayoutTabs(boxes.size(), s.size, client.right, boxes.data());
  for (size_t i = 0; i < s.tabs.size(); ++i) {
    s.tabs[i].box = boxes[i];
    s.tabs[i].label = LabelBox(boxes[i]);
  }
  InvalidateRect(s.window, nullptr, FALSE);
}

// Shows the selected tab's children and hides every other tab's.
void ShowChildren(TabState& s) {
  for (size_t i = 0; i < s.tabs.size(); ++i) {
    if (int(i) == s.current) continue;
    for (HWND child : s.tabs[i].children)
      if (IsWindow(child)) ShowWindow(child, SW_HIDE);
  }
  if (s.current >= 0)
    for (HWND child : s.tabs[size_t(s.current)].children)
      if (IsWindow(child)) ShowWindow(child, SW_SHOWNA);
}

void Select(TabState& s, int index) {
  s.current = index;
  ShowChildren(s);
  InvalidateRect(s.window, nullptr, FALSE);
}

LRESULT AddTab(TabState& s, const char* text) {
  if (!text || s.tabs.size() >= TCM_MAXTABS) return -1;
  s.tabs.push_back(Tab{text, {}, {}, {}});
  if (s.tabs.size() == 1) {
    s.current = 0;
    PostMessageA(s.window, TCM_SELECTTAB, 0, 0);
  }
  Layout(s);
  return LRESULT(s.tabs.size() - 1);
}

LRESULT DeleteTab(TabState& s, WPARAM index) {
  if (!ValidIndex(s, index)) return FALSE;
  for (HWND child : s.tabs[index].children)
    if (IsWindow(child)) ShowWindow(child, SW_HIDE);
  s.tabs.erase(s.tabs.begin() + ptrdiff_t(index));
  const int removed = int(index);
  if (s.tabs.empty())
    s.current = -1;
  else if (removed < s.current || s.current >= int(s.tabs.size()))
    --s.current;
  Layout(s);
  Select(s, s.current);
  return TRUE;
}

LRESULT FindTab(const TabState& s, const char* text) {
  if (!text) return -1;
  for (size_t i = 0; i < s.tabs.size(); ++i)
    if (lstrcmpiA(s.tabs[i].text.c_str(), text) == 0) return LRESULT(i);
  return -1;
}

LRESULT CopyText(const TabState& s, WPARAM index, char* out) {
  if (!ValidIndex(s, index) || !out) return 0;
  const std::string& text = s.tabs[index].text;
  std::copy(text.begin(), text.end(), out);
  out[text.size()] = '\0';
  return LRESULT(text.size());
}

LRESULT AttachChild(TabState& s, WPARAM index, HWND child) {
  if (!ValidIndex(s, index) || !IsWindow(child)) return FALSE;
  for (Tab& tab : s.tabs) std::erase(tab.children, child);
  s.tabs[index].children.push_back(child);
  ShowWindow(child, int(index) == s.current ? SW_SHOWNA : SW_HIDE);
  return TRUE;
}

// A change asked for by the user: the parent may refuse it by answering -1
// to TCN_SELCHANGING, and hears TCN_SELCHANGE after it.
void RequestChange(TabState& s, int index) {
  if (index < 0 || index == s.current) return;
  HWND window = s.window, parent = GetParent(window);
  const int id = GetDlgCtrlID(window);
  const LRESULT answer = SendMessageA(parent, WM_COMMAND, MAKEWPARAM(id, TCN_SELCHANGING),
                                      reinterpret_cast<LPARAM>(window));
  TabState* after = IsWindow(window) ? StateOf<TabState>(window) : nullptr;
  if (!after) return;
  if (answer == -1) {
    MessageBeep(0);
    return;
  }
  if (index >= int(after->tabs.size())) return;  // tabs deleted meanwhile
  Select(*after, index);
  SendMessageA(parent, WM_COMMAND, MAKEWPARAM(id, TCN_SELCHANGE), reinterpret_cast<LPARAM>(window));
}

void OnLeftDown(TabState& s, LPARAM lParam) {
  const int x = short(LOWORD(lParam)), y = short(HIWORD(lParam));
  std::vector<Box> boxes;
  for (const Tab& tab : s.tabs) boxes.push_back(tab.box);
  const int hit = TabAt(boxes.data(), boxes.size(), x, y);
  HWND window = s.window;
  SetFocus(window);
  if (hit >= 0 && IsWindow(window) && StateOf<TabState>(window))
    RequestChange(*StateOf<TabState>(window), hit);
}

LRESULT OnKeyDown(TabState& s, WPARAM key, LPARAM lParam) {
  if (key == VK_LEFT || key == VK_RIGHT) {
    RequestChange(s, WrapTab(s.current, key == VK_LEFT ? -1 : 1, int(s.tabs.size())));
    return 0;
  }
  return DefWindowProcA(s.window, WM_KEYDOWN, key, lParam);
}

LRESULT OnCreate(HWND window, const CREATESTRUCTA* create) {
  TabState* s = AttachState(window, new (std::nothrow) TabState());
  if (!s) return -1;
  s->window = window;
  const std::string names = create->lpszName ? create->lpszName : "";
  size_t start = 0;
  while (start <= names.size() && s->tabs.size() < TCM_MAXTABS) {
    size_t end = names.find(';', start);
    if (end == std::string::npos) end = names.size();
    if (end > start) s->tabs.push_back(Tab{names.substr(start, end - start), {}, {}, {}});
    start = end + 1;
  }
  if (s->tabs.empty()) return -1;  // the state is freed at WM_NCDESTROY
  s->current = 0;
  Layout(*s);
  return 0;
}

// Raised outline of a tab: white left and top, shadow and dark shadow right.
void DrawTabOutline(HDC out, const Box& b) {
  const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW), dark = GetSysColor(COLOR_3DDKSHADOW);
  Line(out, b.left, b.bottom - 1, b.left, b.top + 2, kWhite);
  Line(out, b.left, b.top + 2, b.left + 2, b.top, kWhite);
  Line(out, b.left + 2, b.top, b.right - 2, b.top, kWhite);
  Line(out, b.right - 2, b.top + 1, b.right - 2, b.bottom, shadow);
  Line(out, b.right - 2, b.top, b.right - 1, b.top + 1, dark);
  Line(out, b.right - 1, b.top + 1, b.right - 1, b.bottom, dark);
}

// The page frame under the tabs: white outer line, shadow-colour inner line,
// open where the selected tab (when in the bottom row) meets the page.
void DrawPageFrame(TabState& s, HDC out, const RECT& client) {
  const int top = s.rows * s.size.height;
  const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
  const int right = client.right - 1, bottom = client.bottom - 1;
  int gapLeft = 0, gapRight = 0;
  if (s.current >= 0 && s.tabs[size_t(s.current)].box.bottom == top) {
    gapLeft = s.tabs[size_t(s.current)].box.left + 1;
    gapRight = s.tabs[size_t(s.current)].box.right - 2;
  }
  // Outer (white) and inner (shadow) lines along the top, with the gap.
  for (int line = 0; line < 2; ++line) {
    const COLORREF colour = line == 0 ? kWhite : shadow;
    const int y = top + line, inset = line;
    if (gapRight > gapLeft) {
      Line(out, inset, y, gapLeft, y, colour);
      Line(out, gapRight, y, right - inset, y, colour);
    } else {
      Line(out, inset, y, right - inset, y, colour);
    }
    Line(out, inset, y, inset, bottom - inset, colour);
    Line(out, inset, bottom - inset, right - inset + 1, bottom - inset, colour);
    Line(out, right - inset, y, right - inset, bottom - inset, colour);
  }
}

void Paint(TabState& s, HDC dc) {
  RECT client;
  GetClientRect(s.window, &client);
  BackBuffer buffer(dc, client);
  HDC out = buffer.dc();
  HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
  if (HWND parent = GetParent(s.window)) {
    HBRUSH given = reinterpret_cast<HBRUSH>(SendMessageA(
        parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(out), reinterpret_cast<LPARAM>(s.window)));
    if (given) face = given;
  }
  FillRect(out, &client, face);
  DrawPageFrame(s, out, client);
  HGDIOBJ oldFont = SelectObject(out, FontOf(s));
  SetBkMode(out, TRANSPARENT);
  const bool shadowText = GetWindowLongA(s.window, GWL_STYLE) & TCS_TEXTSHADOW;
  for (size_t i = 0; i < s.tabs.size(); ++i) {
    const Tab& tab = s.tabs[i];
    DrawTabOutline(out, tab.box);
    RECT label = {tab.label.left, tab.label.top, tab.label.right, tab.label.bottom};
    const UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
    if (shadowText) {
      RECT under = label;
      OffsetRect(&under, 1, 1);
      SetTextColor(out, kWhite);
      DrawTextA(out, tab.text.c_str(), int(tab.text.size()), &under, format);
    }
    const bool selected = int(i) == s.current;
    SetTextColor(out, selected ? kSelectedText : kText);
    DrawTextA(out, tab.text.c_str(), int(tab.text.size()), &label, format);
    if (selected && s.focused) {
      SetTextColor(out, kText);
      DrawFocusRect(out, &label);
    }
  }
  SelectObject(out, oldFont);
  buffer.Finish();
}

}  // namespace

LRESULT CALLBACK TabControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  TabState* s = StateOf<TabState>(window);
  if (message == WM_CREATE) return OnCreate(window, reinterpret_cast<CREATESTRUCTA*>(lParam));
  if (!s) return DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    case TCM_ADDTAB: return AddTab(*s, reinterpret_cast<const char*>(lParam));
    case TCM_DELETETAB: return DeleteTab(*s, wParam);
    case TCM_FINDTAB: return FindTab(*s, reinterpret_cast<const char*>(lParam));
    case TCM_GETCOUNT: return LRESULT(s->tabs.size());
    case TCM_GETCURRENT: return s->current;
    case TCM_SELECTTAB:
      if (!ValidIndex(*s, wParam)) return FALSE;
      Select(*s, int(wParam));
      return TRUE;
    case TCM_GETTEXTLENGTH: return ValidIndex(*s, wParam) ? LRESULT(s->tabs[wParam].text.size()) : -1;
    case TCM_GETTEXT: return CopyText(*s, wParam, reinterpret_cast<char*>(lParam));
    case TCM_ATTACHCHILD: return AttachChild(*s, wParam, reinterpret_cast<HWND>(lParam));
    case WM_LBUTTONDOWN: OnLeftDown(*s, lParam); return 0;
    case WM_KEYDOWN: return OnKeyDown(*s, wParam, lParam);
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      s->focused = message == WM_SETFOCUS;
      InvalidateRect(window, nullptr, FALSE);
      return 0;
    case WM_SETFONT:
      s->font = reinterpret_cast<HFONT>(wParam);
      Layout(*s);
      if (LOWORD(lParam)) UpdateWindow(window);
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(s->font);
    case WM_SIZE: Layout(*s); return 0;
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
      DeleteState<TabState>(window);
      return DefWindowProcA(window, message, wParam, lParam);
    default: return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace quillo::prt
