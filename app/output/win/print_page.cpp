#include "print_page.h"

#include <windowsx.h>

#include <algorithm>
#include <array>
#include <string>

#include "app/shell/app_state.h"
#include "app/shell/document_window.h"
#include "app/shell/resource_ids.h"
#include "contracts/dib_services.h"
#include "contracts/print_preview.h"

namespace quillo {

namespace {

constexpr char kPreviewTitle[] = "Printer Preview Utilities";
// The popup menu opens this far right of the pointer, so the first item is
// not under it.
constexpr int kMenuOffset = 5;

// The page while a preview is open. The paint hook has no window argument,
// so there is one layout per program (and one preview at a time).
struct PageLayout {
  HWND preview = nullptr;
  HWND document = nullptr;
  LayoutRect placement;  // page units
  LayoutRect source;     // the whole picture
  int32_t pictureWidth = 0, pictureHeight = 0;  // when the preview opened
  PlacementDrag drag;
  // A press the library took (in the focus rectangle, or with the glass
  // up): its moves are the library's until the button goes up, even where
  // the pointer leaves the area the library claims.
  bool libraryPress = false;
  bool cursorClipped = false;
  bool frameHiddenByUs = false;
  // The off-screen picture of a pane being painted, shared by the panes and
  // grown to the largest one.
  HBITMAP paneBitmap = nullptr;
  int bitmapWidth = 0, bitmapHeight = 0;
};
PageLayout g_layout;

// The library's pane procedure, which gets everything ours does not handle.
// It outlives the layout: panes still receive messages while the frame is
// being destroyed.
WNDPROC g_previousPaneProc = nullptr;

RECT ToRect(const LayoutRect& r) { return {r.left, r.top, r.right, r.bottom}; }

bool LayoutActive() { return g_layout.preview != nullptr; }

// A pane of the open preview (not any other window the procedure might be
// installed on).
bool OurPane(HWND pane) { return LayoutActive() && GetParent(pane) == g_layout.preview; }

LRESULT PassOn(HWND pane, UINT message, WPARAM wParam, LPARAM lParam) {
  if (g_previousPaneProc) return CallWindowProcA(g_previousPaneProc, pane, message, wParam, lParam);
  return DefWindowProcA(pane, message, wParam, lParam);
}

// The library answers both mappings with a point it overwrites at the next
// call, so the result is copied at once. Null answers leave `*out` alone.
bool MapPoint(HWND pane, UINT message, LayoutPoint in, LayoutPoint* out) {
  POINT p = {in.x, in.y};
  const auto* mapped = reinterpret_cast<const POINT*>(SendMessageA(pane, message, 0, LPARAM(&p)));
  if (!mapped) return false;
  *out = {mapped->x, mapped->y};
  return true;
}

LayoutPoint PageToPane(HWND pane, LayoutPoint page) {
  LayoutPoint out{kUnsetAnchor, kUnsetAnchor};
  MapPoint(pane, PVM_PAGETOPANE, page, &out);
  return out;
}

LayoutPoint PaneToPage(HWND pane, LayoutPoint point) {
  LayoutPoint out = point;
  MapPoint(pane, PVM_PANETOPAGE, point, &out);
  return out;
}

bool LibraryHandles(HWND pane, LayoutPoint point) {
  POINT p = {point.x, point.y};
  return SendMessageA(pane, PVM_INDETAIL, 0, LPARAM(&p)) != 0;
}

HitZone ZoneOf(HWND pane, LayoutPoint point) {
  const std::array<LayoutPoint, 8> onPage = HandlePoints(g_layout.placement);
  std::array<LayoutPoint, 8> onPane;
  for (size_t i = 0; i < onPage.size(); ++i) onPane[i] = PageToPane(pane, onPage[i]);
  const LayoutPoint topLeft = PageToPane(pane, {g_layout.placement.left, g_layout.placement.top});
  const LayoutPoint bottomRight = PageToPane(pane, {g_layout.placement.right, g_layout.placement.bottom});
  return ZoneAt(onPane, {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y}, point);
}

LPCSTR CursorName(HitZone zone) {
  switch (CursorForZone(zone)) {
    case ZoneCursor::kSizeNWSE: return IDC_SIZENWSE;
    case ZoneCursor::kSizeNESW: return IDC_SIZENESW;
    case ZoneCursor::kSizeWE: return IDC_SIZEWE;
    case ZoneCursor::kSizeNS: return IDC_SIZENS;
    case ZoneCursor::kSizeAll: return IDC_SIZEALL;
    case ZoneCursor::kArrow: break;
  }
  return IDC_ARROW;
}

void ShowZoneCursor(HitZone zone) { SetCursor(LoadCursorA(nullptr, CursorName(zone))); }

// The placement's area on every pane, handles included.
void InvalidatePlacement() {
  RECT r = ToRect(g_layout.placement);
  SendMessageA(g_layout.preview, PVM_INVALIDATE, WPARAM(kPlacementPenWidth), LPARAM(&r));
}

// A change of the placement repaints where it was and where it is now.
void ChangePlacement(const LayoutRect& placement) {
  if (placement == g_layout.placement) return;
  InvalidatePlacement();
  g_layout.placement = placement;
  InvalidatePlacement();
}

void ReleaseCursorClip() {
  if (!g_layout.cursorClipped) return;
  g_layout.cursorClipped = false;
  ClipCursor(nullptr);
}

// Ends a drag however it ends: button up, capture taken away, cancel. The
// placement comes back normalised and the cursor is free again.
void EndDrag(HWND pane) {
  if (!g_layout.drag.dragging) return;
  ChangePlacement(EndPlacementDrag(g_layout.drag, g_layout.placement));
  ReleaseCursorClip();
  // The drag is over before the capture goes, so WM_CAPTURECHANGED finds
  // nothing left to end.
  if (GetCapture() == pane) ReleaseCapture();
}

// A drag that cannot go on (a new page, the preview closing) is dropped
// without touching the placement.
void AbandonDrag() {
  const bool hadDrag = g_layout.drag.dragging;
  g_layout.drag = PlacementDrag{};
  g_layout.libraryPress = false;
  ReleaseCursorClip();
  const HWND capture = GetCapture();
  if (hadDrag && capture && GetParent(capture) == g_layout.preview) ReleaseCapture();
}

LayoutRect PlacementForPage(HWND preview) {
  POINT page = {0, 0};
  SendMessageA(preview, PVM_GETPAGESIZE, 0, LPARAM(&page));
  return InitialPlacement(g_layout.pictureWidth, g_layout.pictureHeight, page.x, page.y);
}

// The layout goes with the preview. The library shows the main frame again;
// it is shown here only when this code hid it.
void ClearLayout() {
  const bool showFrame = g_layout.frameHiddenByUs;
  AbandonDrag();
  if (g_layout.paneBitmap) DeleteObject(g_layout.paneBitmap);
  g_layout = PageLayout{};
  if (showFrame && g_app.frame && IsWindow(g_app.frame) && !IsWindowVisible(g_app.frame))
    ShowWindow(g_app.frame, SW_SHOW);
}

// The document's picture as it is now (an effect or undo may have replaced
// it since the preview opened); null when the document has gone.
UndoSlot* PictureSlot() {
  if (!g_layout.document || !IsWindow(g_layout.document)) return nullptr;
  UndoSlot* slot = CurrentSlot(g_layout.document);
  return slot && slot->image ? slot : nullptr;
}

// Paints the picture into the placement on a DC mapped to page units. The
// whole picture is printed, so the source follows the current image's size.
void PaintPicture(HDC dc) {
  UndoSlot* slot = PictureSlot();
  if (!slot) return;
  g_layout.source = {0, 0, slot->width, slot->height};
  RECT dest = ToRect(g_layout.placement), source = ToRect(g_layout.source);
  PaintDIB(dc, &dest, HGLOBAL(slot->image), &source, HPALETTE(slot->palette));
}

void CALLBACK PaintPage(HDC dc, int code) {
  if (!LayoutActive()) return;
  if (code == 1) {
    if (dc) PaintPicture(dc);
  } else if (code == -1) {
    // A new printer: a new page, so the picture starts again from its first
    // placement. A drag under way would carry the old page's edges over.
    AbandonDrag();
    g_layout.placement = PlacementForPage(g_layout.preview);
    SendMessageA(g_layout.preview, PVM_INVALIDATEALL, 0, 0);
  }
}

// A bitmap at least as large as the pane; kept between paints.
HBITMAP PaneBitmap(HDC dc, int width, int height) {
  if (g_layout.paneBitmap && width <= g_layout.bitmapWidth && height <= g_layout.bitmapHeight)
    return g_layout.paneBitmap;
  const int w = std::max(width, g_layout.bitmapWidth), h = std::max(height, g_layout.bitmapHeight);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, w, h);
  if (!bitmap) return nullptr;  // the old one stays for a smaller pane
  if (g_layout.paneBitmap) DeleteObject(g_layout.paneBitmap);
  g_layout.paneBitmap = bitmap;
  g_layout.bitmapWidth = w;
  g_layout.bitmapHeight = h;
  return bitmap;
}

// What goes over the picture straight on the screen: the handles (not with
// the magnifying glass up), the focus rectangle of two-pane mode and the
// rulers.
void PaintOverlays(HWND pane, HDC dc, PreviewState* state) {
  const LRESULT mode = SendMessageA(pane, PVM_GETVIEWMODE, 0, 0);
  if (mode != 2)
    for (const LayoutPoint& handle : HandlePoints(g_layout.placement)) {
      RECT square = ToRect(HandleSquare(PageToPane(pane, handle)));
      InvertRect(dc, &square);
    }
  if (GetDlgCtrlID(pane) == PV_PAGE_PANE && mode == 1) PVPaintFocusRegion(state, dc);
  if (SendMessageA(pane, PVM_GETRULERS, 0, 0)) PVPaintMeter(pane, dc, state);
}

// Paints as the library's own panes do, through a bitmap so that the page
// does not flicker while the placement is dragged.
void PaintPane(HWND pane, PreviewState* state) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(pane, &ps);
  if (!dc) return;
  RECT client;
  GetClientRect(pane, &client);
  const int width = std::max<int>(client.right, 1), height = std::max<int>(client.bottom, 1);
  HDC memory = CreateCompatibleDC(dc);
  HBITMAP bitmap = memory ? PaneBitmap(dc, width, height) : nullptr;
  UndoSlot* slot = PictureSlot();
  HPALETTE palette = slot ? HPALETTE(slot->palette) : nullptr;
  if (bitmap) {
    HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
    PatBlt(memory, 0, 0, width, height, WHITENESS);
    const int saved = SaveDC(memory);
    PVPreviewMapMode(pane, state, memory);
    if (palette) {
      SelectPalette(memory, palette, FALSE);
      RealizePalette(memory);
    }
    PaintPicture(memory);
    RestoreDC(memory, saved);
    PVPaintMagnifier(pane, state, memory);
    HPALETTE oldPalette = palette ? SelectPalette(dc, palette, FALSE) : nullptr;
    if (palette) RealizePalette(dc);
    BitBlt(dc, 0, 0, width, height, memory, 0, 0, SRCCOPY);
    if (oldPalette) SelectPalette(dc, oldPalette, TRUE);
    SelectObject(memory, oldBitmap);
  } else {
    // No memory for the bitmap: the page at least shows blank, not stale.
    PatBlt(dc, 0, 0, width, height, WHITENESS);
  }
  if (memory) DeleteDC(memory);
  PaintOverlays(pane, dc, state);
  EndPaint(pane, &ps);
}

void OnMouseMove(HWND pane, LayoutPoint point) {
  if (g_layout.drag.dragging) {
    ChangePlacement(DragPlacement(g_layout.drag, g_layout.placement, PaneToPage(pane, point)));
    ShowZoneCursor(g_layout.drag.zone);
  } else {
    ShowZoneCursor(ZoneOf(pane, point));
  }
}

void OnLeftButtonDown(HWND pane, LayoutPoint point) {
  const HitZone zone = ZoneOf(pane, point);
  g_layout.drag = BeginPlacementDrag(g_layout.placement, zone, PaneToPage(pane, point));
  SetCapture(pane);
  ShowZoneCursor(zone);
}

// The pointer stays on the pane while the button is down, whoever handles
// the press.
void ClipCursorToPane(HWND pane) {
  RECT client;
  GetClientRect(pane, &client);
  MapWindowPoints(pane, nullptr, reinterpret_cast<POINT*>(&client), 2);
  if (ClipCursor(&client)) g_layout.cursorClipped = true;
}

void OpenFitMenu(HWND pane, LayoutPoint point) {
  HMENU menu = CreatePopupMenu();
  if (!menu) return;
  const std::string text = LoadResString(IDS_FIT_TO_PICTURE);
  AppendMenuA(menu, MF_STRING, kFitToPictureCommand, text.c_str());
  POINT screen = {point.x, point.y};
  ClientToScreen(pane, &screen);
  // The choice arrives as WM_COMMAND on the pane.
  TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, screen.x + kMenuOffset, screen.y, 0,
                 pane, nullptr);
  DestroyMenu(menu);
}

bool CursorOnPane(HWND pane, LayoutPoint* point) {
  POINT p;
  if (!GetCursorPos(&p) || !ScreenToClient(pane, &p)) return false;
  *point = {p.x, p.y};
  return true;
}

LRESULT CALLBACK PaneProc(HWND pane, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!OurPane(pane)) return PassOn(pane, message, wParam, lParam);
  const LayoutPoint point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  switch (message) {
    case WM_MOUSEMOVE:
      if (g_layout.libraryPress) break;
      if (!g_layout.drag.dragging && LibraryHandles(pane, point)) break;
      OnMouseMove(pane, point);
      return 0;
    case WM_SETCURSOR: {
      LayoutPoint at;
      if (LOWORD(lParam) != HTCLIENT || HWND(wParam) != pane || g_layout.libraryPress ||
          !CursorOnPane(pane, &at))
        break;
      if (g_layout.drag.dragging) ShowZoneCursor(g_layout.drag.zone);
      else if (LibraryHandles(pane, at)) break;
      else ShowZoneCursor(ZoneOf(pane, at));
      return TRUE;
    }
    case WM_LBUTTONDOWN:
      if (g_layout.drag.dragging) return 0;
      ClipCursorToPane(pane);
      if (LibraryHandles(pane, point)) {
        g_layout.libraryPress = true;
        break;
      }
      OnLeftButtonDown(pane, point);
      return 0;
    case WM_LBUTTONUP:
      if (g_layout.drag.dragging) {
        EndDrag(pane);
        return 0;
      }
      g_layout.libraryPress = false;
      ReleaseCursorClip();
      break;
    case WM_CAPTURECHANGED:
      if (HWND(lParam) != pane) {
        EndDrag(pane);
        g_layout.libraryPress = false;
        ReleaseCursorClip();
      }
      break;
    case WM_CANCELMODE:
      EndDrag(pane);
      g_layout.libraryPress = false;
      ReleaseCursorClip();
      break;
    case WM_RBUTTONDOWN:
      OpenFitMenu(pane, point);
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) != kFitToPictureCommand) break;
      ChangePlacement(FitToPicture(g_layout.placement, g_layout.pictureWidth, g_layout.pictureHeight));
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      if (PreviewState* state = PV_STATE_OF(pane)) {
        PaintPane(pane, state);
        return 0;
      }
      break;
    case PVN_CLOSING:
      ClearLayout();
      break;
    case WM_DESTROY:
      // The frame went without closing (its owner was destroyed, or it was
      // destroyed directly): the layout goes with its first pane.
      ClearLayout();
      break;
  }
  return PassOn(pane, message, wParam, lParam);
}

void BringToFront(HWND preview) {
  if (IsIconic(preview)) ShowWindow(preview, SW_RESTORE);
  SetForegroundWindow(preview);
  BringWindowToTop(preview);
}

}  // namespace

void OpenPrintPreview(HWND document) {
  if (LayoutActive()) {
    if (IsWindow(g_layout.preview)) {
      BringToFront(g_layout.preview);
      return;
    }
    ClearLayout();  // the frame went without telling its panes
  }
  UndoSlot* slot = document ? CurrentSlot(document) : nullptr;
  if (!slot || !slot->image) return;
  // Without a printer there is nothing to lay out for: the preview library
  // is not asked for a frame at all (it would complain in its own box).
  HDC printer = GetPrinterDC();
  if (!printer) return;
  DeleteDC(printer);

  const bool frameWasVisible = g_app.frame && IsWindowVisible(g_app.frame);
  const int32_t width = slot->width, height = slot->height;
  HWND preview = CreateWindowExA(0, BXPRT3_PREVIEW_CLASS, kPreviewTitle,
                                 WS_OVERLAPPEDWINDOW | WS_VISIBLE | PVS_HIDEPARENT | PVS_PRINTER, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, g_app.frame, nullptr, g_app.instance,
                                 nullptr);
  if (!preview) {
    // The library has said why. Whatever it did to the frame is undone.
    if (frameWasVisible && !IsWindowVisible(g_app.frame)) ShowWindow(g_app.frame, SW_SHOW);
    return;
  }
  g_layout = PageLayout{};
  g_layout.preview = preview;
  g_layout.document = document;
  g_layout.pictureWidth = width;
  g_layout.pictureHeight = height;
  g_layout.source = {0, 0, width, height};
  SendMessageA(preview, PVM_SETPAGECOUNT, 0, 1);
  SendMessageA(preview, PVM_SETPAINTHOOK, 0, LPARAM(static_cast<PVPaintHook>(PaintPage)));
  SendMessageA(preview, PVM_SETEXTRA, 0, LPARAM(document));
  if (IsWindowVisible(g_app.frame)) {
    ShowWindow(g_app.frame, SW_HIDE);
    g_layout.frameHiddenByUs = true;
  }
  slot = CurrentSlot(document);
  SendMessageA(preview, PVM_SETPALETTE, 0, LPARAM(slot ? HPALETTE(slot->palette) : nullptr));
  g_layout.placement = PlacementForPage(preview);
  const auto previous = reinterpret_cast<WNDPROC>(SendMessageA(preview, PVM_SETPANEPROC, 0, LPARAM(&PaneProc)));
  // A library that hands back ours (kept from an earlier preview) would make
  // every message loop back here.
  if (previous && previous != &PaneProc) g_previousPaneProc = previous;
  // The panes painted before our procedure was in place.
  SendMessageA(preview, PVM_INVALIDATEALL, 0, 0);
}

HWND PrintPreviewFrame() { return g_layout.preview; }

std::optional<LayoutRect> CurrentPlacement() {
  if (!LayoutActive()) return std::nullopt;
  return g_layout.placement;
}

}  // namespace quillo
