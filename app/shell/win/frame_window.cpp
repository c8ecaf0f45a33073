#include "frame_window.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/shell/app_state.h"
#include "app/shell/command_rules.h"
#include "app/shell/document_window.h"
#include "app/shell/path_join.h"
#include "app/shell/recent_files.h"
#include "app/shell/resource_ids.h"
#include "app/shell/settings_values.h"
#include "app/shell/thumbnail_layout.h"
#include "bitmap_button.h"
#include "capture_dialog.h"
#include "contracts/dib_services.h"
#include "contracts/print_preview.h"
#include "open_image.h"
#include "thumbnail_pane.h"

namespace quillo {

namespace {

constexpr char kSettingsFile[] = "bexadbms.ini";
constexpr int kBackTileWidth = 160;
constexpr int kBackTileHeight = 159;
constexpr UINT kFirstMdiChild = 0xE000;

struct FrameState {
  HBITMAP bar = nullptr;
  HBITMAP back = nullptr;
  SIZE barSize = {0, 0};
  int statusHeight = 20;
  RecentFiles recent;
  std::vector<std::pair<HWND, int>> toolButtons;  // window, command
  RECT normalRect = {0, 0, 0, 0};
  WNDPROC mdiClientProc = nullptr;
};
FrameState g_frame;

std::string ReadSetting(const char* section, const char* key, const char* fallback, size_t size) {
  std::string value(size, '\0');
  const DWORD n = GetPrivateProfileStringA(section, key, fallback, value.data(), DWORD(size),
                                           kSettingsFile);
  value.resize(n);
  return value;
}

// The sub-menu of `menu` that holds `command`, searched one level deep.
HMENU SubMenuHolding(HMENU menu, UINT command) {
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    HMENU sub = GetSubMenu(menu, i);
    if (!sub) continue;
    const int items = GetMenuItemCount(sub);
    for (int j = 0; j < items; ++j)
      if (GetMenuItemID(sub, j) == command) return sub;
  }
  return nullptr;
}

// --- MDI client background -------------------------------------------------

void PaintMdiBackground(HWND client, HDC dc) {
  RECT area;
  GetClientRect(client, &area);
  if (!g_frame.back) {
    FillRect(dc, &area, GetSysColorBrush(COLOR_APPWORKSPACE));
    return;
  }
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(source, g_frame.back);
  const int dx = -GetScrollPos(client, SB_HORZ);
  const int dy = -(GetScrollPos(client, SB_VERT) % kBackTileHeight);
  for (int y = dy; y < area.bottom; y += kBackTileHeight)
    for (int x = dx % kBackTileWidth; x < area.right; x += kBackTileWidth)
      BitBlt(dc, x, y, kBackTileWidth, kBackTileHeight, source, 0, 0, SRCCOPY);
  SelectObject(source, old);
  DeleteDC(source);
}

LRESULT CALLBACK MdiClientProc(HWND client, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      PaintMdiBackground(client, HDC(wParam));
      return 1;
    case WM_SIZE: {
      const LRESULT result = CallWindowProcA(g_frame.mdiClientProc, client, message, wParam, lParam);
      InvalidateRect(client, nullptr, TRUE);
      if (HWND document = ActiveDocument()) InvalidateRect(ViewOf(document), nullptr, FALSE);
      return result;
    }
  }
  return CallWindowProcA(g_frame.mdiClientProc, client, message, wParam, lParam);
}

// --- Tool buttons and state refresh ------------------------------------------

void CreateToolButtons(HWND frame) {
  int x = 2;
  for (const ToolButtonSpec& entry : ToolButtonsForScreen(GetSystemMetrics(SM_CXSCREEN))) {
    const std::string caption = entry.literalCaption ? entry.literalCaption : LoadResString(entry.captionString);
    HWND button = CreateToolButton(frame, x, 2, entry.bitmap, caption.c_str(), entry.command);
    if (button) g_frame.toolButtons.emplace_back(button, entry.command);
    x += kToolButtonSize;
  }
}

bool ClipboardHasPicture() {
  static const UINT rgba = RegisterClipboardFormatA("BEXA_RGBA");
  return IsClipboardFormatAvailable(CF_BITMAP) || IsClipboardFormatAvailable(rgba);
}

// --- Recent files ------------------------------------------------------------

// The recent items, and the separator before Exit that closes them. The
// separator shares its number with the capture command, so it is found by
// its place, never by that number (which would take the menu's capture item).
void RemoveRecentMenu(HMENU menu) {
  for (UINT id = CMD_RECENT_FIRST; id < CMD_AVI_CAPTURE; ++id) DeleteMenu(menu, id, MF_BYCOMMAND);
  const int count = GetMenuItemCount(menu);
  for (int i = 1; i < count; ++i) {
    if (GetMenuItemID(menu, i) != CMD_EXIT) continue;
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID;
    if (GetMenuItemInfoA(menu, UINT(i - 1), TRUE, &info) && (info.fType & MFT_SEPARATOR) &&
        info.wID == CMD_AVI_CAPTURE)
      DeleteMenu(menu, UINT(i - 1), MF_BYPOSITION);
    break;
  }
}

HMENU MenuHoldingExit(HWND frame) {
  HMENU menu = GetMenu(frame);
  return menu ? SubMenuHolding(menu, CMD_EXIT) : nullptr;
}

void InsertRecentMenu(HWND frame, const std::vector<int>& order) {
  HMENU file = MenuHoldingExit(frame);
  if (!file) return;
  RemoveRecentMenu(file);
  if (order.empty()) return;
  for (int index : order) {
    const std::string& path = g_frame.recent[size_t(index)];
    InsertMenuA(file, CMD_EXIT, MF_BYCOMMAND | MF_STRING, CMD_RECENT_FIRST + index, path.c_str());
  }
  InsertMenuA(file, CMD_EXIT, MF_BYCOMMAND | MF_SEPARATOR, CMD_AVI_CAPTURE, nullptr);
}

void ReadRecentFiles(HWND frame) {
  for (int i = 0; i < kRecentCount; ++i)
    g_frame.recent[size_t(i)] =
        RecentValueFromSettings(ReadSetting("FunHist", RecentKey(i).c_str(), "", 300));
  InsertRecentMenu(frame, RecentMenuOrderAtStart(g_frame.recent));
}

void WriteRecentFiles() {
  for (int i = 0; i < kRecentCount; ++i)
    WritePrivateProfileStringA("FunHist", RecentKey(i).c_str(), g_frame.recent[size_t(i)].c_str(),
                               kSettingsFile);
}

// --- Frame placement ------------------------------------------------------------

void WriteFramePlacement(HWND frame) {
  FramePlacement placement;
  const RECT r = g_frame.normalRect;
  placement.left = r.left;
  placement.top = r.top;
  placement.width = r.right - r.left;
  placement.height = r.bottom - r.top;
  placement.maximized = IsZoomed(frame) != 0;
  WritePrivateProfileStringA("BXView", "WinPos", FormatWinPos(placement).c_str(), kSettingsFile);
}

void RememberNormalRect(HWND frame) {
  if (!IsIconic(frame) && !IsZoomed(frame)) GetWindowRect(frame, &g_frame.normalRect);
}

// --- Menus ------------------------------------------------------------------------

void EnableItem(HMENU menu, UINT id, bool on) {
  EnableMenuItem(menu, id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
}

void OnInitMenuPopup(HMENU menu) {
  HWND document = ActiveDocument();
  UndoSlot* slot = document ? CurrentSlot(document) : nullptr;
  const bool hasImage = slot && slot->image;
  const bool hasMask = slot && slot->mask;
  CheckMenuItem(menu, CMD_TOGGLE_THUMBNAILS, MF_BYCOMMAND | (g_app.thumbnailFlag ? MF_CHECKED : MF_UNCHECKED));
  CheckMenuItem(menu, CMD_TOGGLE_BEST_FIT, MF_BYCOMMAND | (g_app.bestFitFlag ? MF_CHECKED : MF_UNCHECKED));
  EnableItem(menu, CMD_COPY, document != nullptr);
  for (UINT id : {CMD_SAVE, CMD_CROP, CMD_GREY, CMD_INVERT, CMD_TURN_RIGHT, CMD_HALF_TURN,
                  CMD_TURN_LEFT, CMD_MIRROR_X, CMD_MIRROR_Y})
    EnableItem(menu, id, hasImage);
  EnableItem(menu, CMD_LIGHTNESS_GREY, document != nullptr);
  EnableItem(menu, CMD_UNDO, document && HasUndoStep(document));
  EnableItem(menu, CMD_CROP, hasImage && HasSelection(document));
  EnableItem(menu, CMD_MASK_INVERT, hasMask);
  EnableItem(menu, CMD_MASK_DROP, hasMask);
  const int maskMode = document ? MaskDisplayMode(document) : 0;
  EnableItem(menu, CMD_MASK_SHOW, hasMask && maskMode != 0);
  EnableItem(menu, CMD_MASK_HIDE, hasMask && maskMode != 1);
  EnableItem(menu, CMD_PASTE, ClipboardHasPicture());
}

void OnMenuSelect(UINT item, UINT flags, HMENU menu) {
  if (!menu || (flags & (MF_POPUP | MF_SEPARATOR | MF_SYSMENU)) || flags == 0xFFFF) return;
  const int help = MenuHelpString(int(item), EffectInProgress());
  if (help) SetStatusText(LoadResString(UINT(help)));
}

// --- Frame messages -------------------------------------------------------------

void OnCreate(HWND frame) {
  g_app.frame = frame;
  HMENU windowMenu = GetMenu(frame) ? SubMenuHolding(GetMenu(frame), CMD_CASCADE) : nullptr;
  CLIENTCREATESTRUCT ccs = {windowMenu, kFirstMdiChild};
  RECT client;
  GetClientRect(frame, &client);
  g_app.mdiClient = CreateWindowExA(0, "MDICLIENT", nullptr,
                                    WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS |
                                        WS_VSCROLL | WS_HSCROLL,
                                    0, 26, client.right, std::max(0L, client.bottom - 26L), frame,
                                    nullptr, g_app.instance, &ccs);
  if (g_app.mdiClient)
    g_frame.mdiClientProc = WNDPROC(SetWindowLongPtrA(g_app.mdiClient, GWLP_WNDPROC,
                                                      LONG_PTR(MdiClientProc)));
  g_app.thumbnailFlag = ParseFlagSetting(ReadSetting("Meridian", "Thumbnail", "1", 16).c_str(), true);
  g_app.bestFitFlag = ParseFlagSetting(ReadSetting("Meridian", "Bestfit", "0", 16).c_str(), false);

  HDC dc = GetDC(frame);
  HGDIOBJ old = SelectObject(dc, GetStockObject(ANSI_VAR_FONT));
  TEXTMETRICA tm;
  GetTextMetricsA(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(frame, dc);
  g_frame.statusHeight = tm.tmHeight + 6;
  g_app.statusLine = CreateWindowA("ToolBar", LoadResString(IDS_STATUS_READY), WS_CHILD | WS_VISIBLE,
                                   0, 0, 10, g_frame.statusHeight, frame, nullptr,
                                   HINSTANCE(PVGetInstance()), nullptr);
  CreateToolButtons(frame);
  ReadRecentFiles(frame);
  LayoutFrame();
}

void OnClose(HWND frame) {
  if (EffectInProgress() || g_app.scannerWindow) {
    MessageBeep(0);
    return;
  }
  if (g_app.mdiClient) {
    while (HWND child = GetWindow(g_app.mdiClient, GW_CHILD)) {
      SendMessageA(g_app.mdiClient, WM_MDIDESTROY, WPARAM(child), 0);
      if (GetWindow(g_app.mdiClient, GW_CHILD) == child) break;  // refused to close
    }
  }
  if (g_app.playerWindow) DestroyWindow(g_app.playerWindow);
  DestroyWindow(frame);
}

void OnDestroy(HWND frame) {
  // The frame is already going: the settings are always saved and the loop
  // told to quit, even while an effect is active. A capture window releases
  // its file and streams as it goes, so the clip stays playable.
  for (HWND& capture : g_app.captureWindows)
    if (capture) DestroyWindow(capture), capture = nullptr;
  WriteFramePlacement(frame);
  WriteRecentFiles();
  PostQuitMessage(0);
}

void PaintButtonBar(HWND frame, HDC dc) {
  RECT client;
  GetClientRect(frame, &client);
  if (!g_frame.bar || g_frame.barSize.cx <= 0 || g_frame.barSize.cy <= 0) return;
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(source, g_frame.bar);
  for (int x = 0; x < client.right; x += g_frame.barSize.cx)
    BitBlt(dc, x, 0, g_frame.barSize.cx, g_frame.barSize.cy, source, 0, 0, SRCCOPY);
  for (int y = 0; y < client.bottom; y += g_frame.barSize.cy)
    BitBlt(dc, 0, y, g_frame.barSize.cx, g_frame.barSize.cy, source, 0, 0, SRCCOPY);
  SelectObject(source, old);
  DeleteDC(source);
}

void OnDropFiles(HDROP drop) {
  if (EffectInProgress()) {
    MessageBeep(0);
  } else {
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
      char path[MAX_PATH];
      if (DragQueryFileA(drop, i, path, sizeof path)) OpenImageFile(g_app.frame, path);
    }
  }
  DragFinish(drop);
}

LRESULT DefaultFrame(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefFrameProcA(frame, g_app.mdiClient, message, wParam, lParam);
}

LRESULT CALLBACK FrameProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      OnCreate(frame);
      return 0;
    case WM_COMMAND:
      OnFrameCommand(frame, wParam, lParam);
      return 0;
    case WM_CLOSE:
      OnClose(frame);
      return 0;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) {
        if (EffectInProgress() || g_app.scannerWindow) {
          MessageBeep(0);
          return 0;
        }
        if (MessageBoxA(frame, LoadResString(IDS_EXIT_QUESTION), "???",
                        MB_YESNO | MB_ICONQUESTION | MB_SYSTEMMODAL) != IDYES)
          return 0;
      }
      break;
    case WM_DESTROY:
      OnDestroy(frame);
      return 0;
    case WM_MOVE:
    case WM_NCCALCSIZE:
      RememberNormalRect(frame);
      break;
    case WM_SIZE:
      DefaultFrame(frame, message, wParam, lParam);
      RememberNormalRect(frame);
      LayoutFrame();
      if (g_app.statusLine) InvalidateRect(g_app.statusLine, nullptr, TRUE);
      return 0;
    case WM_ACTIVATE:
      RefreshToolButtons();
      break;
    case WM_SETFOCUS:
      if (HWND document = ActiveDocument()) {
        SetFocus(ViewOf(document));
        return 0;
      }
      break;
    case WM_INITMENUPOPUP:
      OnInitMenuPopup(HMENU(wParam));
      break;
    case WM_MENUSELECT:
      OnMenuSelect(LOWORD(wParam), HIWORD(wParam), HMENU(lParam));
      return 0;
    case WM_DROPFILES:
      OnDropFiles(HDROP(wParam));
      return 0;
    case WM_ERASEBKGND:
      PaintButtonBar(frame, HDC(wParam));
      return 1;
    case WM_MEASUREITEM:
      if (OnThumbnailMeasureItem(frame, reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) return TRUE;
      break;
    case WM_DRAWITEM:
      if (OnThumbnailDrawItem(frame, reinterpret_cast<DRAWITEMSTRUCT*>(lParam))) return TRUE;
      break;
    case WM_QUERYNEWPALETTE:
      if (HWND document = ActiveDocument()) {
        SendMessageA(document, 0x464, 0, 0);
        return TRUE;
      }
      return FALSE;
    // Private messages.
    case FM_NOTIFY:
      if (HWND document = ActiveDocument()) SendMessageA(ViewOf(document), 2054, 0, 0);
      return 0;
    case FM_EFFECT_ACTIVE:
      g_app.activeEffect = lParam != 0;
      if (!lParam)
        if (HWND document = ActiveDocument()) SendMessageA(ViewOf(document), 2065, 0, 0);
      return 0;
    case FM_SET_WORD8:
    case FM_SET_WORD12:
    case FM_SET_WORD16: {
      const int offset = message == FM_SET_WORD8 ? 8 : message == FM_SET_WORD12 ? 12 : 16;
      SetWindowLongA(frame, offset, LONG(lParam));
      return 0;
    }
    case FM_GET_WORD8:
      return GetWindowLongA(frame, 8);
    case FM_GET_WORD12:
      return GetWindowLongA(frame, 12);
    case FM_GET_WORD16:
      return GetWindowLongA(frame, 16);
    case FM_GET_STATUS_LINE:
      return LRESULT(g_app.statusLine);
    case FM_GET_GRADIENT:
      return LRESULT(g_app.gradient);
    case FM_SET_GRADIENT:
      if (lParam && LPVOID(lParam) != g_app.gradient) {
        LPVOID old = g_app.gradient;
        g_app.gradient = LPVOID(lParam);
        if (old) FreeGradient(old);
      }
      return 0;
    case FM_OPEN_DIB:
      if (!lParam) return 1;
      OpenImageHandle(HGLOBAL(lParam), "NewImage");
      return 0;
    case FM_CLOSE_VIEW:
      if (HWND view = HWND(lParam)) SendMessageA(GetParent(view), WM_CLOSE, 0, 0);
      return 0;
    case FM_FIND_DOCUMENT:
      return LRESULT(FindDocumentHolding(HGLOBAL(wParam)));
    case FM_EFFECT_FRAME:
      // Animations name the frame's DIB in wParam; older senders put it in
      // lParam. The newest one is kept for capturing and saving frames.
      g_app.effectFrame = HGLOBAL(wParam ? wParam : lParam);
      if (g_app.effectDocument) FollowImageSize(g_app.effectDocument);
      if (g_app.captureWindows[0]) CaptureEffectFrame(g_app.effectFrame);
      return 1;
    case WM_NCHITTEST:
      // Hosts' busy marker: while an effect marks itself busy the frame lets
      // the mouse through (HTTRANSPARENT).
      if (g_app.effectBusy && *g_app.effectBusy == 1) return HTTRANSPARENT;
      break;
  }
  return DefaultFrame(frame, message, wParam, lParam);
}

}  // namespace

BOOL RegisterFrameClass(HINSTANCE resources) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = FrameProc;
  wc.cbWndExtra = 20;
  wc.hInstance = resources;
  wc.hIcon = LoadIconA(g_app.instance, "bxView");
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = HBRUSH(GetStockObject(LTGRAY_BRUSH));
  wc.lpszMenuName = "bxView";
  wc.lpszClassName = "bxView";
  return RegisterClassA(&wc) != 0;
}

HWND CreateFrame(HINSTANCE resources) {
  const auto placement = ParseWinPos(ReadSetting("BXView", "WinPos", "", 64).c_str(),
                                     GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  int x = CW_USEDEFAULT, y = CW_USEDEFAULT, w = CW_USEDEFAULT, h = CW_USEDEFAULT;
  if (placement) {
    x = placement->left;
    y = placement->top;
    w = placement->width;
    h = placement->height;
  }
  HWND frame = CreateWindowA("bxView", LoadResString(IDS_FRAME_TITLE),
                             WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, x, y, w, h, nullptr, nullptr,
                             resources, nullptr);
  if (frame && placement && placement->maximized) SetWindowLongA(frame, GWL_STYLE,
                                                                  GetWindowLongA(frame, GWL_STYLE) | WS_MAXIMIZE);
  return frame;
}

void LoadFrameResources() {
  g_frame.bar = LoadBitmapA(g_app.instance, "Bar");
  if (g_frame.bar) {
    BITMAP bm;
    GetObjectA(g_frame.bar, sizeof bm, &bm);
    g_frame.barSize = {bm.bmWidth, bm.bmHeight};
  }
  g_frame.back = LoadBitmapA(g_app.instance, "Back");
}

void FreeFrameResources() {
  if (g_frame.bar) DeleteObject(g_frame.bar);
  if (g_frame.back) DeleteObject(g_frame.back);
  g_frame.bar = g_frame.back = nullptr;
}

void EnterRecentFileAndMenu(const char* path) {
  if (!EnterRecentFile(g_frame.recent, path)) return;
  InsertRecentMenu(g_app.frame, RecentMenuOrderAfterOpen(g_frame.recent));
  const std::string folder(DirectoryOf(path));
  if (!folder.empty()) SetCurrentDirectoryA(folder.c_str());
}

const std::string& RecentFilePath(int index) { return g_frame.recent[size_t(index)]; }

void LayoutFrame() {
  if (!g_app.frame) return;
  RECT client;
  GetClientRect(g_app.frame, &client);
  const bool paneShown = g_app.thumbnailFlag && ThumbnailPaneVisible();
  const FrameLayout layout = LayoutFrame(client.right, client.bottom, g_frame.statusHeight, paneShown);
  auto place = [](HWND window, const Rect& r) {
    if (window) MoveWindow(window, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
  };
  place(g_app.mdiClient, layout.mdiClient);
  // A maximised document fills the client, which then never needs its own
  // scroll bars (they can linger from a layout made before the frame showed).
  if (HWND document = ActiveDocument(); document && IsZoomed(document))
    ShowScrollBar(g_app.mdiClient, SB_BOTH, FALSE);
  place(g_app.statusLine, layout.statusLine);
  if (g_app.thumbnailFlag) PlaceThumbnailPane(layout.pane.left, layout.pane.top,
                                              layout.pane.right - layout.pane.left,
                                              layout.pane.bottom - layout.pane.top,
                                              layout.header.bottom - layout.header.top);
}

void RefreshToolButtons() {
  HWND document = ActiveDocument();
  const bool hasDocument = document != nullptr;
  for (const auto& [button, command] : g_frame.toolButtons) {
    bool enabled = true;
    switch (command) {
      case CMD_SAVE: case CMD_CLOSE_IMAGE: case CMD_CROP: case CMD_COPY: case CMD_NEXT_WINDOW:
      case CMD_ZOOM_IN: case CMD_ZOOM_OUT: case CMD_ACTUAL_SIZE:
        enabled = hasDocument;
        break;
      case CMD_UNDO:
        enabled = hasDocument && HasUndoStep(document);
        break;
      case CMD_PASTE:
        enabled = ClipboardHasPicture();
        break;
    }
    EnableWindow(button, enabled);
  }
  for (int id : {CMD_IMAGE_INFO, CMD_AVI_CAPTURE, CMD_AVI_STOP, CMD_PRINT_PREVIEW})
    if (HWND child = GetDlgItem(g_app.frame, id)) {
      bool enabled = hasDocument;
      if (id == CMD_AVI_CAPTURE) enabled = hasDocument && !g_app.captureWindows[0] && !g_app.captureWindows[1];
      EnableWindow(child, enabled);
    }
}

}  // namespace quillo
