// The print preview frame: its creation with the owner's options, the tool
// bar and its buttons, the three panes, the layout, the messages that reach
// the shared state and the release of everything on destroy.
#include <algorithm>
#include <cstdio>
#include <new>

#include "controls_internal.h"
#include "preview_internal.h"

namespace quillo::prt {
namespace {

constexpr int kPaneBorder = 8;     // grey margin around the fitted page
constexpr int kButtonSize = 20;    // cells of the tool bar strip
constexpr int kButtonGap = 2;
constexpr int kGroupGap = 8;
constexpr int kCellsPerRow = 10;
constexpr int kLabelWidth = 90;

struct ToolButton {
  int id;
  DWORD option;  // the PVS_* bit a button needs, 0 for always
  bool groupStart;
};
// The buttons in tool bar order.
constexpr ToolButton kButtons[] = {
    {PV_CMD_PRINT_ALL, 0, false},  {PV_CMD_PRINT_PAGE, 0, false}, {PV_CMD_SETUP, 0, false},
    {PV_CMD_COPIES, 0, false},     {PV_CMD_PREVIOUS, 0, true},    {PV_CMD_NEXT, 0, false},
    {PV_CMD_ONE_PAGE, 0, true},    {PV_CMD_TWO_PAGES, 0, false},  {PV_CMD_MAGNIFIER, 0, false},
    {PV_CMD_ZOOM_IN, 0, true},     {PV_CMD_ZOOM_OUT, 0, false},   {PV_CMD_METER, 0, false},
    {PV_CMD_SAVE_FILE, PVS_SAVEFILE, true}, {PV_CMD_FONT, PVS_FONT, false},
    {PV_CMD_ADD_TEXT, PVS_ADDTEXT, false},  {PV_CMD_USER, PVS_BUTTON24017, false},
    {PV_CMD_HELP, 0, true},        {PV_CMD_EXIT, 0, false},
};

bool g_classesRegistered = false;

HWND Button(const PreviewState& s, int id) { return GetDlgItem(s.toolBar, id); }

void CreateToolBar(PreviewState& s) {
  HINSTANCE module = Module();
  s.toolBar = CreateWindowExA(0, BXPRT3_TOOLBAR_CLASS, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                              0, 0, 0, 0, s.frame, nullptr, module, nullptr);
  if (!s.toolBar) return;
  HBITMAP strip = LoadBitmapA(module, "BMP");
  int x = 4;
  bool ownerSet = false;
  for (const ToolButton& b : kButtons) {
    if (b.option && !(s.options & b.option)) continue;
    if (b.groupStart) x += kGroupGap;
    BitmapButtonCreate record = {};
    record.cellWidth = kButtonSize;
    record.cellHeight = kButtonSize;
    record.strip = strip;
    record.baseId = PV_CMD_TWO_PAGES;
    // The strip belongs to the button set: the first button deletes it.
    record.deleteBitmap = strip && !ownerSet;
    ownerSet = true;
    record.cellsPerRow = kCellsPerRow;
    DWORD style = WS_CHILD | WS_VISIBLE;
    if (b.id == PV_CMD_METER) style |= BBS_TOGGLE;
    HWND button = CreateWindowExA(0, BXPRT3_BUTTON_CLASS, LibraryString(UINT(b.id)), style, x,
                                  3, kButtonSize, kButtonSize, s.toolBar,
                                  reinterpret_cast<HMENU>(INT_PTR(b.id)), module, &record);
    if (!button && record.deleteBitmap) ownerSet = false;
    x += kButtonSize + kButtonGap;
  }
  if (!ownerSet && strip) DeleteObject(strip);
  s.pageLabel = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_LEFT, x + kGroupGap, 6,
                                kLabelWidth, 16, s.toolBar, nullptr, module, nullptr);
  SendMessageA(s.pageLabel, WM_SETFONT, WPARAM(GetStockObject(DEFAULT_GUI_FONT)), 0);
  if (s.options & PVS_NOSETUP) EnableWindow(Button(s, PV_CMD_SETUP), FALSE);
}

bool CreatePanes(PreviewState& s) {
  for (int i = 0; i < 3; ++i) {
    DWORD style = WS_CHILD | WS_BORDER | WS_CLIPSIBLINGS;
    if (i == 2) style |= WS_HSCROLL | WS_VSCROLL;
    s.panes[i] = CreateWindowExA(0, BXPRT3_PANE_CLASS, "", style, 0, 0, 0, 0, s.frame,
                                 reinterpret_cast<HMENU>(INT_PTR(PV_PAGE_PANE + i)), Module(), &s);
    if (!s.panes[i]) return false;
  }
  s.paneProc = PaneProc;
  return true;
}

// The screen-sized bitmap of the DC that stands in for a printer.
void MakeScreenBitmap(PreviewState& s) {
  if (!s.screenDC) return;
  if (s.screenBitmap) {
    SelectObject(s.screenDC, s.screenOldBitmap);
    DeleteObject(s.screenBitmap);
  }
  HDC screen = GetDC(nullptr);
  s.screenBitmap = CreateCompatibleBitmap(screen, std::max(1, GetSystemMetrics(SM_CXSCREEN)),
                                          std::max(1, GetSystemMetrics(SM_CYSCREEN)));
  ReleaseDC(nullptr, screen);
  s.screenOldBitmap = s.screenBitmap ? SelectObject(s.screenDC, s.screenBitmap) : nullptr;
}

bool CreateWorkDCs(PreviewState& s) {
  HDC screen = GetDC(nullptr);
  s.screenDC = CreateCompatibleDC(screen);
  s.memoryDC = CreateCompatibleDC(screen);
  s.magnifierBitmap = CreateCompatibleBitmap(screen, s.magnifierSize, s.magnifierSize);
  ReleaseDC(nullptr, screen);
  if (!s.screenDC || !s.memoryDC || !s.magnifierBitmap) return false;
  s.memoryOldBitmap = SelectObject(s.memoryDC, s.magnifierBitmap);
  MakeScreenBitmap(s);
  return true;
}

void ReleaseResources(PreviewState& s) {
  if (s.memoryDC) {
    if (s.memoryOldBitmap) SelectObject(s.memoryDC, s.memoryOldBitmap);
    SelectObject(s.memoryDC, GetStockObject(SYSTEM_FONT));
    DeleteDC(s.memoryDC);
  }
  if (s.magnifierBitmap) DeleteObject(s.magnifierBitmap);
  if (s.screenDC) {
    if (s.screenOldBitmap) SelectObject(s.screenDC, s.screenOldBitmap);
    DeleteDC(s.screenDC);
  }
  if (s.screenBitmap) DeleteObject(s.screenBitmap);
  if (s.printer) DeleteDC(s.printer);
  if (s.screenFont) DeleteObject(s.screenFont);
  s.memoryDC = s.screenDC = s.printer = nullptr;
  s.magnifierBitmap = s.screenBitmap = nullptr;
  s.screenFont = nullptr;
}

void RestoreOwner(PreviewState& s) {
  if (!s.ownerHeld || !s.owner || !IsWindow(s.owner)) return;
  s.ownerHeld = false;
  if (s.options & PVS_DISABLEPARENT) EnableWindow(s.owner, TRUE);
  if (s.options & PVS_HIDEPARENT) ShowWindow(s.owner, SW_SHOW);
  if (s.options & (PVS_DISABLEPARENT | PVS_HIDEPARENT)) SetFocus(s.owner);
}

LRESULT OnCreate(HWND frame, const CREATESTRUCTA* create) {
  auto* s = new (std::nothrow) PreviewState();
  if (!s) return -1;
  SetWindowLongPtrA(frame, 0, reinterpret_cast<LONG_PTR>(s));
  s->frame = frame;
  s->owner = create->hwndParent;
  s->options = DWORD(create->style) & 0xFFFF;
  if (s->options & PVS_PRINTER) {
    s->printer = GetPrinterDC();
    if (!s->printer) {
      MessageBoxA(s->owner, LibraryString(kStrNoPrinter), nullptr, MB_OK | MB_ICONSTOP);
      return -1;
    }
  }
  if (!CreateWorkDCs(*s)) return -1;
  ReadPageMetrics(*s);
  CreateToolBar(*s);
  if (!s->toolBar || !CreatePanes(*s)) return -1;
  if (s->owner) {
    if (s->options & PVS_HIDEPARENT) ShowWindow(s->owner, SW_HIDE);
    if (s->options & PVS_DISABLEPARENT) EnableWindow(s->owner, FALSE);
    s->ownerHeld = true;
  }
  LayoutFrame(*s);
  ShowPage(s);
  return 0;
}

void RealisePalette(PreviewState& s) {
  if (!s.palette) return;
  HDC dc = GetDC(s.frame);
  HPALETTE old = SelectPalette(dc, s.palette, FALSE);
  if (RealizePalette(dc)) InvalidatePanes(s);
  SelectPalette(dc, old, TRUE);
  ReleaseDC(s.frame, dc);
}

LRESULT FrameMessage(HWND frame, UINT message, WPARAM wParam, LPARAM lParam, bool mdi) {
  auto fallback = [&]() {
    return mdi ? DefMDIChildProcA(frame, message, wParam, lParam)
               : DefWindowProcA(frame, message, wParam, lParam);
  };
  if (message == WM_CREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    // An MDI child gets its creation record through the MDI structure.
    CREATESTRUCTA copy = *create;
    if (mdi && create->lpCreateParams) {
      const auto* mdiCreate = static_cast<const MDICREATESTRUCTA*>(create->lpCreateParams);
      copy.style = LONG(mdiCreate->style);
    }
    if (mdi) copy.hwndParent = GetParent(GetParent(frame));
    const LRESULT r = OnCreate(frame, &copy);
    if (r != 0) return r;
    return fallback();
  }
  PreviewState* s = PV_STATE_OF(frame);
  if (!s) return fallback();
  LRESULT result = 0;
  if (HandleStateMessage(*s, frame, message, wParam, lParam, result)) return result;
  switch (message) {
    case WM_SIZE:
      LayoutFrame(*s);
      break;
    case WM_COMMAND:
      if (HWND(lParam) && HIWORD(wParam) != BN_CLICKED) break;
      RunCommand(*s, LOWORD(wParam));
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) {
        RunCommand(*s, PV_CMD_EXIT);
        return 0;
      }
      break;
    case WM_SETFOCUS:
      if (s->panes[2] && IsWindowVisible(s->panes[2])) SetFocus(s->panes[2]);
      return 0;
    case WM_CLOSE:
      if (s->printing) return 0;  // the print loop still draws through the panes
      if (s->panes[0]) SendMessageA(s->panes[0], PVN_CLOSING, WPARAM(frame), 0);
      break;
    case WM_QUERYNEWPALETTE:
      RealisePalette(*s);
      return TRUE;
    case WM_PALETTECHANGED:
      if (HWND(wParam) != frame && !IsChild(frame, HWND(wParam))) RealisePalette(*s);
      return 0;
    case WM_WININICHANGE:
      MakeScreenBitmap(*s);
      break;
    case WM_DESTROY:
      RestoreOwner(*s);
      break;
    case WM_NCDESTROY: {
      const LRESULT r = fallback();
      ReleaseResources(*s);
      SetWindowLongPtrA(frame, 0, 0);
      delete s;
      return r;
    }
  }
  return fallback();
}

LRESULT CALLBACK FrameProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
  return FrameMessage(frame, message, wParam, lParam, false);
}

LRESULT CALLBACK MdiFrameProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
  return FrameMessage(frame, message, wParam, lParam, true);
}

}  // namespace

Size ClientSize(HWND window) {
  RECT r = {};
  if (window) GetClientRect(window, &r);
  return {r.right - r.left, r.bottom - r.top};
}

void ReadPageMetrics(PreviewState& s) {
  if (s.printer) {
    s.page = PrinterPageSize(
        {GetDeviceCaps(s.printer, PHYSICALWIDTH), GetDeviceCaps(s.printer, PHYSICALHEIGHT)},
        {GetDeviceCaps(s.printer, HORZRES), GetDeviceCaps(s.printer, VERTRES)});
    s.resolution = {GetDeviceCaps(s.printer, LOGPIXELSX), GetDeviceCaps(s.printer, LOGPIXELSY)};
    if (s.resolution.width <= 0 || s.resolution.height <= 0) s.resolution = ResolutionWithoutPrinter();
  } else {
    s.page = PageSizeWithoutPrinter(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    s.resolution = ResolutionWithoutPrinter();
  }
}

void LayoutFrame(PreviewState& s) {
  const Size client = ClientSize(s.frame);
  const PreviewLayout layout = LayoutPreview(client, s.toolBarHeight, kPaneBorder, s.mode, s.page);
  if (s.toolBar)
    MoveWindow(s.toolBar, layout.toolBar.left, layout.toolBar.top, layout.toolBar.width(),
               layout.toolBar.height(), TRUE);
  auto place = [](HWND pane, const Box& b, bool show) {
    if (!pane) return;
    if (show) MoveWindow(pane, b.left, b.top, b.width(), b.height(), TRUE);
    ShowWindow(pane, show ? SW_SHOWNA : SW_HIDE);
  };
  const bool zoomed = s.mode == ViewMode::kOnePage && s.zoom.zoom > 0;
  place(s.panes[0], layout.pagePane, !zoomed);
  place(s.panes[1], layout.detailPane, s.mode == ViewMode::kTwoPanes);
  place(s.panes[2], layout.area, zoomed);

  // The zoom pane scales the page reduced for the page pane's size.
  s.reduced = ReducePage(s.page, ClientSize(s.panes[0]));
  if (zoomed && s.panes[2]) {
    const Size view = ClientSize(s.panes[2]);
    s.scrollRange = {ZoomScrollRange(s.reduced.size.width, s.zoom.zoom, view.width),
                     ZoomScrollRange(s.reduced.size.height, s.zoom.zoom, view.height)};
    s.scroll = {std::clamp(s.scroll.x, 0, s.scrollRange.x), std::clamp(s.scroll.y, 0, s.scrollRange.y)};
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
    info.nMax = s.scrollRange.x + view.width - 1;
    info.nPage = UINT(std::max(1, view.width));
    info.nPos = s.scroll.x;
    SetScrollInfo(s.panes[2], SB_HORZ, &info, TRUE);
    info.nMax = s.scrollRange.y + view.height - 1;
    info.nPage = UINT(std::max(1, view.height));
    info.nPos = s.scroll.y;
    SetScrollInfo(s.panes[2], SB_VERT, &info, TRUE);
  }
  // The detail rectangle stays inside the page pane.
  const Size pageClient = ClientSize(s.panes[0]);
  const Box detail = DetailRect(s.focusOrigin, pageClient, s.zoom.detailZoom);
  s.focusOrigin = {std::clamp(s.focusOrigin.x, 0, std::max(0, pageClient.width - detail.width())),
                   std::clamp(s.focusOrigin.y, 0, std::max(0, pageClient.height - detail.height()))};
  UpdateButtons(s);
  InvalidatePanes(s);
}

void UpdateButtons(PreviewState& s) {
  if (!s.toolBar) return;
  EnableWindow(Button(s, PV_CMD_PREVIOUS), s.currentPage > 1);
  EnableWindow(Button(s, PV_CMD_NEXT), s.currentPage < s.pageCount);
  const ZoomButtons zoom =
      ZoomButtonsFor(s.mode, s.zoom, {s.reduced.size, ClientSize(s.panes[1])});
  EnableWindow(Button(s, PV_CMD_ZOOM_IN), zoom.zoomIn);
  EnableWindow(Button(s, PV_CMD_ZOOM_OUT), zoom.zoomOut);
  EnableWindow(Button(s, PV_CMD_SETUP), s.printer && !(s.options & PVS_NOSETUP));
  SendMessageA(Button(s, PV_CMD_METER), BM_SETCHECK, s.showRulers ? BST_CHECKED : BST_UNCHECKED, 0);
}

void InvalidatePanes(PreviewState& s) {
  for (HWND pane : s.panes)
    if (pane) InvalidateRect(pane, nullptr, FALSE);
}

bool HandleStateMessage(PreviewState& s, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                        LRESULT& result) {
  const int pane = window == s.frame ? -1 : PaneIndex(window);
  auto point = [&]() -> POINT* { return reinterpret_cast<POINT*>(lParam); };
  switch (message) {
    case PVM_PAGETOPANE:
    case PVM_PANETOPAGE: {
      if (pane < 0 || !point()) return (result = 0), true;
      const PageMapping m = MappingOf(s, pane);
      const Point in = {point()->x, point()->y};
      const Point out = message == PVM_PAGETOPANE ? PageToPane(m, in) : PaneToPage(m, in);
      s.mapped = {out.x, out.y};
      result = reinterpret_cast<LRESULT>(&s.mapped);
      return true;
    }
    case PVM_GETEXTRA: result = s.extra; return true;
    case PVM_GETPAGESIZE:
    case PVM_GETRESOLUTION: {
      const Size v = message == PVM_GETPAGESIZE ? s.page : s.resolution;
      if (point()) *point() = {v.width, v.height};
      result = point() != nullptr;
      return true;
    }
    case PVM_GETINSTANCE: result = reinterpret_cast<LRESULT>(Module()); return true;
    case PVM_GETPRINTERDC:
      result = reinterpret_cast<LRESULT>(s.printer ? s.printer : s.screenDC);
      return true;
    case PVM_GETMEMDC: result = reinterpret_cast<LRESULT>(s.memoryDC); return true;
    case PVM_INDETAIL: {
      result = 0;
      if (pane != 0 || !point()) return true;
      if (s.mode == ViewMode::kMagnifier) result = 1;
      if (s.mode == ViewMode::kTwoPanes)
        result = DetailRect(s.focusOrigin, ClientSize(s.panes[0]), s.zoom.detailZoom)
                     .Contains(point()->x, point()->y);
      return true;
    }
    case PVM_INVALIDATE: {
      const RECT* r = reinterpret_cast<const RECT*>(lParam);
      result = r != nullptr;
      if (!r) return true;
      const Box onPage = {r->left, r->top, r->right, r->bottom};
      for (int i = 0; i < 3; ++i) {
        if (!s.panes[i] || !IsWindowVisible(s.panes[i])) continue;
        const Box b = InvalidationOnPane(onPage, s.page, MappingOf(s, i), int32_t(wParam));
        const RECT area = {b.left, b.top, b.right, b.bottom};
        InvalidateRect(s.panes[i], &area, FALSE);
      }
      return true;
    }
    case PVM_INVALIDATEALL: InvalidatePanes(s); result = 1; return true;
    case PVM_GOTOPAGE: {
      const int page = int(lParam);
      if (page < 1 || page > s.pageCount) return (result = 0), true;
      if (page == s.currentPage) return (result = 1), true;
      s.currentPage = page;
      ShowPage(&s);
      UpdateButtons(s);
      InvalidatePanes(s);
      result = 2;
      return true;
    }
    case PVM_SETEXTRA: s.extra = lParam; result = 1; return true;
    case PVM_SETRESOLUTION:
    case PVM_SETPAGESIZE: {
      result = 0;
      if (s.printer || !point() || point()->x <= 0 || point()->y <= 0) return true;
      (message == PVM_SETPAGESIZE ? s.page : s.resolution) = {point()->x, point()->y};
      if (message == PVM_SETPAGESIZE) LayoutFrame(s);
      result = 1;
      return true;
    }
    case PVM_SETPAGECOUNT: {
      if (int(lParam) >= 0) s.pageCount = std::max(1, int(lParam));
      s.currentPage = std::clamp(s.currentPage, 1, s.pageCount);
      ShowPage(&s);
      UpdateButtons(s);
      InvalidatePanes(s);
      result = s.pageCount;
      return true;
    }
    case PVM_SETPAINTHOOK: s.paintHook = lParam; InvalidatePanes(s); result = 1; return true;
    case PVM_SETPALETTE:
      s.palette = reinterpret_cast<HPALETTE>(lParam);
      RealisePalette(s);
      InvalidatePanes(s);
      result = 1;
      return true;
    case PVM_SETPANEPROC: {
      auto proc = reinterpret_cast<WNDPROC>(lParam);
      result = reinterpret_cast<LRESULT>(s.paneProc);
      if (!proc) return true;
      for (HWND p : s.panes)
        if (p) SetWindowLongPtrA(p, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
      s.paneProc = proc;
      InvalidatePanes(s);
      return true;
    }
    case PVM_GETVIEWMODE: result = int(s.mode); return true;
    case PVM_SETTOOLBARHEIGHT:
      if (int(lParam) > 0) s.toolBarHeight = int(lParam);
      LayoutFrame(s);
      result = s.toolBarHeight;
      return true;
    case PVM_GETRULERS: result = s.showRulers; return true;
    case PVM_GETTOOLBAR: result = reinterpret_cast<LRESULT>(s.toolBar); return true;
    case PVM_GETPAGEPANE:
    case PVM_GETDETAILPANE:
    case PVM_GETZOOMPANE:
      result = reinterpret_cast<LRESULT>(s.panes[message - PVM_GETPAGEPANE]);
      return true;
  }
  return false;
}

void CallPaintHook(const PreviewState& s, HDC dc, int code) {
  if (s.paintHook) reinterpret_cast<PVPaintHook>(s.paintHook)(dc, code);
}

const char* LibraryString(UINT id) {
  // Each string gets its own slot so two texts can be in use at once.
  static char slots[8][256];
  static int next = 0;
  char* text = slots[next];
  next = (next + 1) % 8;
  if (!LoadStringA(Module(), id, text, sizeof slots[0])) text[0] = 0;
  return text;
}

bool RegisterPreviewClasses() {
  HINSTANCE module = Module();
  HICON icon = LoadIconA(module, "Preview");
  WNDCLASSEXA frame = {};
  frame.cbSize = sizeof frame;
  frame.style = CS_BYTEALIGNWINDOW;
  frame.lpfnWndProc = FrameProc;
  frame.cbWndExtra = sizeof(LONG_PTR);
  frame.hInstance = module;
  frame.hIcon = icon;
  frame.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  frame.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
  frame.lpszClassName = BXPRT3_PREVIEW_CLASS;
  WNDCLASSEXA mdi = frame;
  mdi.lpfnWndProc = MdiFrameProc;
  mdi.lpszClassName = BXPRT3_MDI_PREVIEW_CLASS;
  WNDCLASSEXA pane = {};
  pane.cbSize = sizeof pane;
  pane.lpfnWndProc = PaneProc;
  pane.cbWndExtra = sizeof(LONG_PTR);
  pane.hInstance = module;
  pane.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  pane.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  pane.lpszClassName = BXPRT3_PANE_CLASS;
  const UINT global = CS_GLOBALCLASS;
  frame.style |= global;
  mdi.style |= global;
  pane.style |= global;
  g_classesRegistered = RegisterClassExA(&frame) && RegisterClassExA(&mdi) && RegisterClassExA(&pane);
  return g_classesRegistered;
}

void UnregisterPreviewClasses() {
  HINSTANCE module = Module();
  UnregisterClassA(BXPRT3_PREVIEW_CLASS, module);
  UnregisterClassA(BXPRT3_MDI_PREVIEW_CLASS, module);
  UnregisterClassA(BXPRT3_PANE_CLASS, module);
}

}  // namespace quillo::prt
