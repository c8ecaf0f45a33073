// The preview's tool bar commands: view modes, paging, zoom, rulers,
// printing, printer set-up, the copy count, help and exit.
#include "preview_internal.h"

namespace quillo::prt {
namespace {

void SetMode(PreviewState& s, ViewMode mode) {
  if (s.mode == mode) return;
  s.mode = mode;
  s.dragging = false;
  s.glassUp = false;
  LayoutFrame(s);
}

void Zoom(PreviewState& s, bool in) {
  const ZoomLimits limits = {s.reduced.size, ClientSize(s.panes[1])};
  const ZoomState before = s.zoom;
  s.zoom = in ? ZoomIn(s.mode, s.zoom, limits) : ZoomOut(s.mode, s.zoom, limits);
  if (s.zoom == before) return;
  if (s.mode == ViewMode::kOnePage && before.zoom > 0 && s.zoom.zoom > 0) {
    // Keep the middle of the view where it was.
    const Size view = ClientSize(s.panes[2]);
    const auto keep = [&](int32_t pos, int32_t extent) {
      const int64_t centre = int64_t(pos) + extent / 2;
      return int32_t(centre * s.zoom.zoom / before.zoom - extent / 2);
    };
    s.scroll = {keep(s.scroll.x, view.width), keep(s.scroll.y, view.height)};
  } else if (s.zoom.zoom == 0) {
    s.scroll = {};
  }
  LayoutFrame(s);
  if (s.zoom.zoom > 0 && s.mode == ViewMode::kOnePage) SetFocus(s.panes[2]);
}

void Step(PreviewState& s, int delta) {
  SendMessageA(s.frame, PVM_GOTOPAGE, 0, s.currentPage + delta);
}

void About(PreviewState& s) {
  MessageBoxA(s.frame, LibraryString(kStrAboutText), LibraryString(kStrAboutTitle),
              MB_OK | MB_ICONINFORMATION);
}

}  // namespace

void RunCommand(PreviewState& s, int command) {
  if (s.printing && command != PV_CMD_EXIT) return;
  switch (command) {
    case PV_CMD_TWO_PAGES: SetMode(s, ViewMode::kTwoPanes); break;
    case PV_CMD_ONE_PAGE: SetMode(s, ViewMode::kOnePage); break;
    case PV_CMD_MAGNIFIER: SetMode(s, ViewMode::kMagnifier); break;
    case PV_CMD_PRINT_ALL: PrintPages(s, false); break;
    case PV_CMD_PRINT_PAGE: PrintPages(s, true); break;
    case PV_CMD_PREVIOUS: Step(s, -1); break;
    case PV_CMD_NEXT: Step(s, 1); break;
    case PV_CMD_SETUP:
      if (s.printer && !(s.options & PVS_NOSETUP)) RunPrinterSetup(s);
      break;
    case PV_CMD_ZOOM_IN: Zoom(s, true); break;
    case PV_CMD_ZOOM_OUT: Zoom(s, false); break;
    case PV_CMD_EXIT: PostMessageA(s.frame, WM_CLOSE, 0, 0); break;
    case PV_CMD_HELP: About(s); break;
    case PV_CMD_METER:
      s.showRulers = !s.showRulers;
      UpdateButtons(s);
      InvalidatePanes(s);
      break;
    case PV_CMD_COPIES: RunCopyCountDialog(s); break;
    case PV_CMD_SAVE_FILE:
    case PV_CMD_FONT:
    case PV_CMD_ADD_TEXT:
    case PV_CMD_USER:
      // The owner's own buttons.
      if (s.owner) SendMessageA(s.owner, WM_COMMAND, WPARAM(command), LPARAM(s.frame));
      break;
  }
}

}  // namespace quillo::prt
