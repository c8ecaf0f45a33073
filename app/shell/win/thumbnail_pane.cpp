// Thumbnail pane: owner-drawn list of the open pictures and its spin button.
#include "thumbnail_pane.h"

#include <vector>

#include "app/shell/app_state.h"
#include "app/shell/document_window.h"
#include "app/shell/thumbnail_layout.h"
#include "contracts/dib_services.h"

namespace quillo {
namespace {

constexpr char kDocumentClass[] = "bxViewChild";
constexpr int kHeaderPictureWidth = 35;
constexpr int kHeaderPictureHeight = 30;

struct Pane {
  HWND list = nullptr;
  HWND spin = nullptr;
  HBITMAP background = nullptr;  // "Thumb" of the program, tiled behind the items
  WNDPROC listProc = nullptr;
} g_pane;

// --- Document windows --------------------------------------------------------

bool IsDocumentWindow(HWND window) {
  char name[32] = "";
  GetClassNameA(window, name, sizeof name);
  return lstrcmpiA(name, kDocumentClass) == 0;
}

// Document windows of the MDI client in child order.
std::vector<HWND> DocumentWindows() {
  std::vector<HWND> windows;
  if (!g_app.mdiClient) return windows;
  for (HWND child = GetWindow(g_app.mdiClient, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (IsDocumentWindow(child) && RecordOf(child)) windows.push_back(child);
  return windows;
}

// The live document window holding `record`; null for a record whose window
// is gone (its item must not be read).
HWND DocumentOfRecord(const DocumentRecord* record) {
  if (!record) return nullptr;
  for (HWND window : DocumentWindows())
    if (RecordOf(window) == record) return window;
  return nullptr;
}

int ItemCount() { return g_pane.list ? int(SendMessageA(g_pane.list, LB_GETCOUNT, 0, 0)) : 0; }

const DocumentRecord* ItemRecord(int index) {
  const LRESULT data = SendMessageA(g_pane.list, LB_GETITEMDATA, WPARAM(index), 0);
  return data == LB_ERR ? nullptr : reinterpret_cast<const DocumentRecord*>(data);
}

void ShowPane(bool show) {
  const int command = show ? SW_SHOWNA : SW_HIDE;
  ShowWindow(g_pane.list, command);
  if (g_pane.spin) ShowWindow(g_pane.spin, command);
  LayoutFrame();
}

// --- List background ---------------------------------------------------------

// Tiles the pane bitmap from the list's top-left corner over `area`.
void FillBackground(HDC dc, const RECT& area) {
  HBRUSH brush = g_pane.background ? CreatePatternBrush(g_pane.background) : nullptr;
  POINT oldOrigin;
  SetBrushOrgEx(dc, 0, 0, &oldOrigin);
  FillRect(dc, &area, brush ? brush : GetSysColorBrush(COLOR_APPWORKSPACE));
  SetBrushOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
  if (brush) DeleteObject(brush);
}

LRESULT CALLBACK ListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
  const WNDPROC base = g_pane.listProc;
  switch (message) {
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(list, &client);
      FillBackground(HDC(wParam), client);
      return 1;
    }
    case WM_DESTROY:
      if (g_pane.list == list) {
        g_pane.list = nullptr;
        g_pane.listProc = nullptr;
        if (g_pane.background) DeleteObject(g_pane.background);
        g_pane.background = nullptr;
      }
      break;
  }
  return CallWindowProcA(base, list, message, wParam, lParam);
}

// --- Spin button ---------------------------------------------------------------

struct SpinState {
  INT32 pressed[2];  // left half, right half
  INT32 outside;     // the pointer left the pressed half
  INT32 timing;      // timer 1030 runs
  HBITMAP header;    // "Thumb" of the UI module: halves at y 0, pressed at y 30
};

SpinState* SpinOf(HWND spin) { return reinterpret_cast<SpinState*>(GetWindowLongPtrA(spin, 0)); }

RECT HalfRect(HWND spin, bool right) {
  RECT r;
  GetClientRect(spin, &r);
  const int middle = r.right / 2;
  if (right) r.left = middle; else r.right = middle;
  return r;
}

// Moves the list selection one step: the left half forward, the right half
// back (never before the first item).
void SpinStepList(bool right) {
  if (!g_pane.list) return;
  const int current = int(SendMessageA(g_pane.list, LB_GETCURSEL, 0, 0));
  const int next = SpinStep(current, ItemCount(), right);
  if (next != current) SendMessageA(g_pane.list, LB_SETCURSEL, WPARAM(next), 0);
}

int PressedHalf(const SpinState& s) { return s.pressed[1] ? 1 : s.pressed[0] ? 0 : -1; }

void PaintSpin(HWND spin, HDC dc, const SpinState& s) {
  const int half = PressedHalf(s);
  for (int side = 0; side < 2; ++side) {
    const bool down = half == side && !s.outside;
    const RECT r = HalfRect(spin, side == 1);
    if (s.header) {
      HDC source = CreateCompatibleDC(dc);
      HGDIOBJ old = SelectObject(source, s.header);
      BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, source, side * kHeaderPictureWidth,
             down ? kHeaderPictureHeight : 0, SRCCOPY);
      SelectObject(source, old);
      DeleteDC(source);
    } else {
      RECT face = r;
      DrawFrameControl(dc, &face, DFC_SCROLL,
                       (side == 0 ? DFCS_SCROLLDOWN : DFCS_SCROLLUP) | (down ? DFCS_PUSHED : 0));
    }
  }
}

void SpinPress(HWND spin, SpinState& s, LPARAM lParam) {
  RECT client;
  GetClientRect(spin, &client);
  const bool right = SpinRightHalf(short(LOWORD(lParam)), client.right);
  s.pressed[0] = !right;
  s.pressed[1] = right;
  s.outside = 0;
  s.timing = SetTimer(spin, kSpinTimer, kSpinRepeatMs, nullptr) != 0;
  SetCapture(spin);
  InvalidateRect(spin, nullptr, FALSE);
  SpinStepList(right);
}

// Ends a press; the document whose item the steps reached becomes active.
void SpinRelease(HWND spin, SpinState& s, bool activate) {
  if (PressedHalf(s) < 0) return;
  KillTimer(spin, kSpinTimer);
  s.timing = 0;
  s.pressed[0] = s.pressed[1] = 0;
  s.outside = 0;
  if (GetCapture() == spin) ReleaseCapture();
  InvalidateRect(spin, nullptr, FALSE);
  if (activate && g_pane.list) {
    const int current = int(SendMessageA(g_pane.list, LB_GETCURSEL, 0, 0));
    if (current >= 0)
      if (HWND document = DocumentOfRecord(ItemRecord(current)))
        SendMessageA(g_app.mdiClient, WM_MDIACTIVATE, WPARAM(document), 0);
  }
}

LRESULT CALLBACK SpinProc(HWND spin, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) {
    auto* s = static_cast<SpinState*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(SpinState)));
    if (!s) return -1;
    if (g_app.uiModule) s->header = LoadBitmapA(g_app.uiModule, "Thumb");
    SetWindowLongPtrA(spin, 0, LONG_PTR(s));
    return 0;
  }
  SpinState* s = SpinOf(spin);
  if (!s) return DefWindowProcA(spin, message, wParam, lParam);
  switch (message) {
    case WM_DESTROY:
      KillTimer(spin, kSpinTimer);
      SetWindowLongPtrA(spin, 0, 0);
      if (s->header) DeleteObject(s->header);
      HeapFree(GetProcessHeap(), 0, s);
      if (g_pane.spin == spin) g_pane.spin = nullptr;
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      SpinPress(spin, *s, lParam);
      return 0;
    case WM_TIMER:
      if (wParam == kSpinTimer && PressedHalf(*s) >= 0) SpinStepList(PressedHalf(*s) == 1);
      return 0;
    case WM_MOUSEMOVE: {
      const int half = PressedHalf(*s);
      if (half < 0) return 0;
      const RECT r = HalfRect(spin, half == 1);
      const POINT p{short(LOWORD(lParam)), short(HIWORD(lParam))};
      const INT32 outside = !PtInRect(&r, p);
      if (outside != s->outside) {
        s->outside = outside;
        InvalidateRect(spin, &r, FALSE);
      }
      return 0;
    }
    case WM_LBUTTONUP:
      SpinRelease(spin, *s, true);
      return 0;
    case WM_CAPTURECHANGED:
      if (HWND(lParam) != spin) SpinRelease(spin, *s, false);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(spin, &ps);
      PaintSpin(spin, dc, *s);
      EndPaint(spin, &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      PaintSpin(spin, HDC(wParam), *s);
      return 0;
  }
  return DefWindowProcA(spin, message, wParam, lParam);
}

// --- Item drawing ------------------------------------------------------------------

// The picture an item shows: the display copy while the mask is shown and
// one exists, otherwise the current image.
HGLOBAL ItemPicture(HWND document, HPALETTE& palette) {
  const UndoSlot* slot = CurrentSlot(document);
  if (!slot || !slot->image) return nullptr;
  palette = HPALETTE(slot->palette);
  if (MaskDisplayMode(document) == 0 && slot->displayCopy) return HGLOBAL(slot->displayCopy);
  return HGLOBAL(slot->image);
}

bool PictureSize(HGLOBAL dib, int& width, int& height) {
  if (!IsValidDIB(dib)) return false;
  LPCSTR locked = static_cast<LPCSTR>(GlobalLock(dib));
  if (!locked) return false;
  width = DIBWidth(locked);
  height = DIBHeight(locked);
  GlobalUnlock(dib);
  return width > 0 && height > 0;
}

void DrawItemPicture(const DRAWITEMSTRUCT& item) {
  FillBackground(item.hDC, item.rcItem);
  HWND document = DocumentOfRecord(reinterpret_cast<const DocumentRecord*>(item.itemData));
  if (!document) return;
  HPALETTE palette = nullptr;
  HGLOBAL picture = ItemPicture(document, palette);
  int width = 0, height = 0;
  if (!picture || !PictureSize(picture, width, height)) return;
  const int box = ThumbnailBoxSize(GetSystemMetrics(SM_CYBORDER));
  const Rect fit = FitThumbnail(width, height, box);
  RECT dest{item.rcItem.left + fit.left, item.rcItem.top + fit.top, item.rcItem.left + fit.right,
            item.rcItem.top + fit.bottom};
  PaintDIB(item.hDC, &dest, picture, nullptr, palette);
}

}  // namespace

BOOL RegisterThumbnailClasses(HINSTANCE instance) {
  WNDCLASSA wc{};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = SpinProc;
  wc.cbWndExtra = sizeof(LONG_PTR);
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = HBRUSH(COLOR_WINDOW + 1);
  wc.lpszClassName = kSpinClass;
  return RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

void CreateThumbnailPane(HWND frame) {
  if (!frame || !g_app.thumbnailFlag || g_pane.list) return;
  HWND list = CreateWindowExA(0, "LISTBOX", "",
                              WS_CHILD | WS_CLIPSIBLINGS | WS_BORDER | LBS_OWNERDRAWFIXED |
                                  LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                              0, 0, kThumbnailPaneWidth, 0, frame, HMENU(INT_PTR(kThumbnailListId)),
                              g_app.instance, nullptr);
  if (!list) return;
  HWND spin = CreateWindowExA(0, kSpinClass, "", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, kThumbnailPaneWidth,
                              kThumbnailHeaderHeight, frame, HMENU(INT_PTR(kSpinButtonId)), g_app.instance,
                              nullptr);
  g_pane.list = list;
  g_pane.spin = spin;
  g_pane.background = LoadBitmapA(g_app.instance, "Thumb");
  g_pane.listProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ListProc)));
  RefreshThumbnails();
}

void DestroyThumbnailPane() {
  const bool wasShown = ThumbnailPaneVisible();
  if (g_pane.spin) DestroyWindow(g_pane.spin);
  if (g_pane.list) DestroyWindow(g_pane.list);
  g_pane.spin = nullptr;
  g_pane.list = nullptr;
  if (wasShown) LayoutFrame();
}

void ShowThumbnailPane(bool show) {
  if (show) CreateThumbnailPane(g_app.frame);
  else DestroyThumbnailPane();
}

bool ThumbnailPaneVisible() {
  return g_pane.list && (GetWindowLongA(g_pane.list, GWL_STYLE) & WS_VISIBLE) != 0;
}

void PlaceThumbnailPane(int left, int top, int width, int height, int headerHeight) {
  if (!g_pane.list || width <= 0) return;
  MoveWindow(g_pane.list, left, top, width, height < 0 ? 0 : height, TRUE);
  if (g_pane.spin) {
    MoveWindow(g_pane.spin, left, top - headerHeight, width, headerHeight, TRUE);
    InvalidateRect(g_pane.spin, nullptr, FALSE);
  }
}

HWND ThumbnailList() { return g_pane.list; }

int FindThumbnail(const DocumentRecord* record) {
  if (!g_pane.list || !record) return -1;
  const int count = ItemCount();
  for (int i = 0; i < count; ++i)
    if (ItemRecord(i) == record) return i;
  return -1;
}

void RefreshThumbnails() {
  if (!g_pane.list) return;
  const std::vector<HWND> documents = DocumentWindows();
  // Items whose window is gone go first, from the end so indices hold.
  for (int i = ItemCount() - 1; i >= 0; --i) {
    bool live = false;
    for (HWND document : documents) live = live || RecordOf(document) == ItemRecord(i);
    if (!live) SendMessageA(g_pane.list, LB_DELETESTRING, WPARAM(i), 0);
  }
  for (HWND document : documents)
    if (FindThumbnail(RecordOf(document)) < 0)
      SendMessageA(g_pane.list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(RecordOf(document)));
  SelectThumbnail(ActiveDocument());
  const bool empty = ItemCount() == 0;
  if (empty == ThumbnailPaneVisible()) ShowPane(!empty);
}

void ForgetThumbnail(HWND document) {
  if (!g_pane.list || !document) return;
  const int index = FindThumbnail(RecordOf(document));
  if (index < 0) return;
  SendMessageA(g_pane.list, LB_DELETESTRING, WPARAM(index), 0);
  if (ItemCount() == 0 && ThumbnailPaneVisible()) ShowPane(false);
}

void RepaintThumbnail(HWND document) {
  if (!g_pane.list || !document) return;
  const int index = FindThumbnail(RecordOf(document));
  RECT item;
  if (index >= 0 && SendMessageA(g_pane.list, LB_GETITEMRECT, WPARAM(index), LPARAM(&item)) != LB_ERR)
    InvalidateRect(g_pane.list, &item, TRUE);
}

void SelectThumbnail(HWND document) {
  if (!g_pane.list || !document) return;
  const int index = FindThumbnail(RecordOf(document));
  if (index >= 0 && SendMessageA(g_pane.list, LB_GETCURSEL, 0, 0) != index)
    SendMessageA(g_pane.list, LB_SETCURSEL, WPARAM(index), 0);
}

BOOL OnThumbnailMeasureItem(HWND, MEASUREITEMSTRUCT* item) {
  if (!item || item->CtlType != ODT_LISTBOX || item->CtlID != UINT(kThumbnailListId)) return FALSE;
  item->itemHeight = UINT(ThumbnailItemHeight(GetSystemMetrics(SM_CYBORDER)));
  return TRUE;
}

BOOL OnThumbnailDrawItem(HWND, const DRAWITEMSTRUCT* item) {
  if (!item || item->CtlType != ODT_LISTBOX || item->CtlID != UINT(kThumbnailListId)) return FALSE;
  if (item->itemID == UINT(-1)) {  // empty list: only the focus
    if (item->itemState & ODS_FOCUS) DrawFocusRect(item->hDC, &item->rcItem);
    return TRUE;
  }
  if (item->itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) {
    DrawItemPicture(*item);
    if (item->itemState & ODS_SELECTED) FrameRect(item->hDC, &item->rcItem, GetSysColorBrush(COLOR_HIGHLIGHT));
    if (item->itemState & ODS_FOCUS) DrawFocusRect(item->hDC, &item->rcItem);
  } else if (item->itemAction & ODA_FOCUS) {
    DrawFocusRect(item->hDC, &item->rcItem);
  }
  return TRUE;
}

void OnThumbnailCommand(WPARAM wParam, LPARAM) {
  if (!g_pane.list || LOWORD(wParam) != kThumbnailListId || HIWORD(wParam) != LBN_SELCHANGE) return;
  const int current = int(SendMessageA(g_pane.list, LB_GETCURSEL, 0, 0));
  if (current < 0) return;
  if (HWND document = DocumentOfRecord(ItemRecord(current)))
    SendMessageA(g_app.mdiClient, WM_MDIACTIVATE, WPARAM(document), 0);
}

}  // namespace quillo
