// The print preview window's shared state and the pieces its files share:
// the frame (creation, layout, commands), the panes (painting, mapping,
// mouse, scrolling), printing and the exported helpers.
#pragma once
#include <windows.h>

#include "contracts/print_preview.h"
#include "preview_geometry.h"

// One record per frame, kept in the first window word of the frame and of
// each of its panes.
struct PreviewState {
  HWND frame = nullptr;
  HWND owner = nullptr;  // the parent at creation, hidden or disabled while open
  DWORD options = 0;     // PVS_* bits of the creation style
  bool ownerHeld = false;  // the owner was hidden or disabled by this frame

  LPARAM paintHook = 0;
  LPARAM extra = 0;
  int pageCount = 1;
  int currentPage = 1;
  int copies = 0;  // 0: not set
  int fromPage = 1, toPage = 1;
  bool allPages = true;

  int magnifierSize = quillo::prt::kMagnifierSize;
  int toolBarHeight = quillo::prt::kToolBarHeight;

  HDC printer = nullptr;    // printer mode or after printer set-up
  HDC screenDC = nullptr;   // the screen-compatible DC standing in for a printer
  HBITMAP screenBitmap = nullptr;
  HGDIOBJ screenOldBitmap = nullptr;
  HDC memoryDC = nullptr;   // holds the magnifier bitmap while the glass paints
  HBITMAP magnifierBitmap = nullptr;
  HGDIOBJ memoryOldBitmap = nullptr;

  HWND toolBar = nullptr;
  HWND pageLabel = nullptr;
  HWND panes[3] = {};  // 25001, 25002, 25003
  WNDPROC paneProc = nullptr;  // what the panes run (the owner's or ours)

  quillo::prt::ViewMode mode = quillo::prt::ViewMode::kOnePage;
  quillo::prt::Size page;
  quillo::prt::Size resolution;
  quillo::prt::Point focusOrigin;  // detail rectangle on pane 25001, pixels
  quillo::prt::ReducedPage reduced;
  quillo::prt::Point scroll;       // zoom pane position
  quillo::prt::Point scrollRange;
  quillo::prt::ZoomState zoom;

  bool dragging = false;  // moving the detail rectangle
  quillo::prt::Point dragPress, dragOriginAtPress;
  bool glassUp = false;   // magnifier drawn at glassCentre on pane 25001
  quillo::prt::Point glassCentre;
  bool printing = false;
  bool showRulers = false;
  bool cancelPrint = false;

  HFONT font = nullptr;  // the owner's text font (not owned)
  HFONT screenFont = nullptr;  // its screen match made by PVPreviewMapMode (owned)
  HFONT screenFontFor = nullptr;
  int screenFontScale = 0;
  HPALETTE palette = nullptr;
  POINT mapped = {};     // result of PVM_PAGETOPANE / PVM_PANETOPAGE
};

namespace quillo::prt {

// Registers the frame, MDI frame and pane classes; false when one fails.
bool RegisterPreviewClasses();
void UnregisterPreviewClasses();

LRESULT CALLBACK PaneProc(HWND pane, UINT message, WPARAM wParam, LPARAM lParam);

// The pane with child ID PV_PAGE_PANE + index (0, 1, 2).
inline int PaneIndex(HWND pane) {
  const int index = GetDlgCtrlID(pane) - PV_PAGE_PANE;
  return index >= 0 && index < 3 ? index : -1;
}
// Client size of a window.
Size ClientSize(HWND window);
// The mapping the pane's DC gets, and its inverse helpers.
PageMapping MappingOf(const PreviewState& s, int paneIndex);
// Re-reads page size and resolution from the printer (or the screen stand-in).
void ReadPageMetrics(PreviewState& s);
// Places tool bar and panes for the view mode; recomputes the reduced page,
// the zoom pane's scroll range and the zoom buttons.
void LayoutFrame(PreviewState& s);
// Enables the paging and zoom buttons for the state.
void UpdateButtons(PreviewState& s);
void InvalidatePanes(PreviewState& s);
// Handles a pane message that reaches the shared state (1025-1046) for the
// frame and the panes alike; returns true when it was one.
bool HandleStateMessage(PreviewState& s, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                        LRESULT& result);
// The tool bar commands.
void RunCommand(PreviewState& s, int command);
// The print loop: every page, or only the current one.
void PrintPages(PreviewState& s, bool currentOnly);
// The printer set-up dialog; true when a printer was chosen.
bool RunPrinterSetup(PreviewState& s);
// The copy-count dialog.
void RunCopyCountDialog(PreviewState& s);
// Calls the owner's paint hook for a page on a mapped DC.
void CallPaintHook(const PreviewState& s, HDC dc, int code);
// A string of the library's resources.
const char* LibraryString(UINT id);

// String and resource IDs of the library.
inline constexpr UINT kStrNoPrinter = 100;
inline constexpr UINT kStrPrintFail = 101;
inline constexpr UINT kStrCopyCountFail = 102;
inline constexpr UINT kStrDocumentName = 103;
inline constexpr UINT kStrAboutTitle = 104;
inline constexpr UINT kStrAboutText = 105;
inline constexpr int kCopyCountEdit = 100;

}  // namespace quillo::prt
