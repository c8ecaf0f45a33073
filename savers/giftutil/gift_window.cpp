// The player's one window, "Bexa Mail gift Class": frame, image view and
// effect target at once. It answers the image-window messages an effect
// sends a document view, and the commands of the "Mail" menu.
#include <cstring>

#include "gift_state.h"
#include "kernels/gift_view.h"
#include "posy_ids.h"
#include "savers/stage/stage_slot.h"

namespace quillo::giftutil {

namespace {

constexpr int kViewStateLong = 0;

// Conversion results live until the next conversion, as a document view's do.
POINT g_point;
RECT g_rect;

float Zoom(GiftPlayer& gift) {
  if (!(gift.view.zoom > 0.0f)) gift.view.zoom = 1.0f;
  return gift.view.zoom;
}

LONG ToWindow(LONG value, INT32 scroll, float zoom) { return ImageToClient(value, scroll, zoom); }
LONG ToImage(LONG value, INT32 scroll, float zoom) { return ClientToImage(value, scroll, zoom); }

LRESULT ConvertPoint(GiftPlayer& gift, LPARAM lParam, bool toWindow) {
  const auto* p = reinterpret_cast<const POINT*>(lParam);
  if (!p) return 0;
  const float z = Zoom(gift);
  auto convert = toWindow ? ToWindow : ToImage;
  g_point = {convert(p->x, gift.view.hPos, z), convert(p->y, gift.view.vPos, z)};
  return LRESULT(&g_point);
}

const RECT* ConvertRect(GiftPlayer& gift, LPARAM lParam, bool toWindow) {
  const auto* r = reinterpret_cast<const RECT*>(lParam);
  if (!r) return nullptr;
  const float z = Zoom(gift);
  auto convert = toWindow ? ToWindow : ToImage;
  g_rect = {convert(r->left, gift.view.hPos, z), convert(r->top, gift.view.vPos, z),
            convert(r->right, gift.view.hPos, z), convert(r->bottom, gift.view.vPos, z)};
  return &g_rect;
}

// The effect is finishing: the view forgets everything it set up for it.
void ResetEffectState(GiftPlayer& gift) {
  DocumentRecord& view = gift.view;
  view.dragIndex = -1;
  view.toolWindow = nullptr;
  view.toolMessage = 0;
  view.reserved3 = 0;
  view.sharedRect = nullptr;
  view.prePaint = nullptr;
  view.postPaint = nullptr;
  gift.cursorOverride = nullptr;
  gift.effectWindow = nullptr;
  ClipCursor(nullptr);
  if (GetCapture() == gift.window) ReleaseCapture();
}

void OnCreate(HWND window, GiftPlayer& gift) {
  const HGLOBAL picture = SlotPicture(gift);
  gift.view = {};
  SetSlotPicture(gift, picture);
  gift.view.zoom = 1.0f;
  gift.view.dragIndex = -1;
  gift.view.view = window;
  gift.view.document = window;
  gift.window = window;
  SetWindowLongPtrA(window, kViewStateLong, LONG_PTR(&gift.view));

  HMENU menu = GetMenu(window);
  if (gift.preview) DeleteMenu(menu, IDM_GIFT_SHORTCUT, MF_BYCOMMAND);
  const std::string installed = SystemFolderPath(kSaverProgram);
  if (gift.saverPlan.copySaver && !installed.empty())
    CopyFileA((gift.folder + "\\" + kSaverProgram).c_str(), installed.c_str(), TRUE);
  if (!gift.saverPlan.offer || installed.empty() || !FileExists(installed)) {
    DeleteMenu(menu, IDM_GIFT_INSTALL_SAVER, MF_BYCOMMAND);
    gift.saverPlan = {};
  } else if (gift.saverPlan.installAtStart) {
    gift.quietInstall = true;
    PostMessageA(window, WM_COMMAND, IDM_GIFT_INSTALL_SAVER, 0);
  }
  if (!gift.playable) EnableMenuItem(menu, IDM_GIFT_PLAY, MF_BYCOMMAND | MF_GRAYED);
}

void OnInstallSaver(GiftPlayer& gift) {
  const bool quiet = gift.quietInstall;
  gift.quietInstall = false;
  if (!gift.saverPlan.offer) return;
  if (!InstallGiftSaver(gift)) {
    MessageBeep(0);
    return;
  }
  if (!quiet) MessageBoxA(gift.window, "Screen Saver Setup OK!!!", "OK", MB_OK | MB_ICONINFORMATION | MB_TASKMODAL);
}

void OnCommand(GiftPlayer& gift, WORD id) {
  switch (id) {
    case IDM_GIFT_SHORTCUT:
      if (!gift.preview && !PlaceDesktopShortcut(gift)) MessageBeep(0);
      break;
    case IDM_GIFT_INSTALL_SAVER:
      OnInstallSaver(gift);
      break;
    case IDM_GIFT_ZOOM_IN:
    case IDM_GIFT_ZOOM_OUT:
      ZoomGift(gift, id == IDM_GIFT_ZOOM_IN);
      break;
    case IDM_GIFT_PLAY:
      if (!gift.playing) PlayGift(gift);
      break;
    case IDM_GIFT_WEB_PAGE:
      OpenWebPage(gift.window);
      break;
    case IDM_GIFT_EXIT:
      if (!EndGiftEffect(gift)) PostMessageA(gift.window, WM_CLOSE, 0, 0);
      break;
  }
}

LRESULT AnswerQuery(const GiftPlayer& gift, WPARAM question) {
  switch (question) {
    case kQueryHMax: return gift.view.hMax;
    case kQueryVMax: return gift.view.vMax;
    case kQueryZoomThousandths: return LRESULT(gift.view.zoom * 1000.0f + 0.5f);
    case kQueryPlaying: return gift.playing ? 1 : 0;
    case kQueryEffectRuns: return LRESULT(gift.effectRuns);
    case kQueryPaints: return LRESULT(gift.paints);
  }
  return 0;
}

LRESULT GiftMessage(HWND window, GiftPlayer& gift, UINT message, WPARAM wParam, LPARAM lParam) {
  static const UINT query = RegisterWindowMessageA(kGiftQueryMessageName);
  if (message == query && query) return AnswerQuery(gift, wParam);
  switch (message) {
    case HOST_NOTIFY_MESSAGE:  // 2053: the effect changed the picture
      LayoutGift(gift);
      InvalidateRect(window, nullptr, FALSE);
      return 0;
    case VM_RELAYOUT:  // 2054: and perhaps its size
      LayoutGift(gift);
      InvalidateRect(window, nullptr, TRUE);
      return 0;
    case 2055:
      gift.view.prePaint = reinterpret_cast<PaintHook>(lParam);
      return 0;
    case 2056:
      gift.view.postPaint = reinterpret_cast<PaintHook>(lParam);
      return 0;
    case VM_SET_TOOL_WINDOW:
      gift.view.toolMessage = INT32(wParam);
      gift.view.toolWindow = HWND(lParam);
      gift.effectWindow = HWND(lParam);
      return 0;
    case 2058:
      if (!lParam) return 0;
      *reinterpret_cast<float*>(lParam) = Zoom(gift);
      return 1;
    case VM_SHARE_RECT:
      gift.view.sharedRect = reinterpret_cast<INT32*>(lParam);
      return 0;
    case VM_EFFECT_ACTIVE:
      gift.view.effectActive = INT32(lParam);
      if (!lParam) ResetEffectState(gift);
      return 0;
    case VM_SET_CURSOR:
      gift.cursorOverride = HCURSOR(wParam);
      return 1;
    case 2067:
      return ConvertPoint(gift, lParam, true);
    case 2068:
      return ConvertPoint(gift, lParam, false);
    case VM_MAP_RECT:
      return LRESULT(ConvertRect(gift, lParam, true));
    case 2070:
      return LRESULT(ConvertRect(gift, lParam, false));
    case 2071: {
      const RECT* r = ConvertRect(gift, lParam, true);
      if (!r) return 0;
      InvalidateRect(window, r, BOOL(wParam));
      return 1;
    }
    case 2073: SetWindowLongA(window, kViewWord8, LONG(lParam)); return 0;
    case 2074: return GetWindowLongA(window, kViewWord8);
    case 2125: SetWindowLongA(window, kViewWord12, LONG(lParam)); return 0;
    case 2126: return GetWindowLongA(window, kViewWord12);
    case 2127: SetWindowLongA(window, kViewWord16, LONG(lParam)); return 0;
    case 2128: return GetWindowLongA(window, kViewWord16);
    case 2079: {
      HDC dc = GetDC(window);
      PaintOutsidePicture(gift, dc);
      ReleaseDC(window, dc);
      return 0;
    }
    case 2082:
      std::memset(gift.view.selection, 0, sizeof gift.view.selection);
      return 0;
    case 2083:
      return LRESULT(gift.gradient);
    case VM_REDRAW:      // 2099: the effect ended or redrew
    case EM_NEW_FRAME:   // 2118: an animation frame is ready
      InvalidateRect(window, nullptr, FALSE);
      return 0;
    case 2103:
      return LRESULT(&gift.view.slots[0]);
    case 2123:
      return LRESULT(gift.names.base.c_str());
    case WM_COMMAND:
      OnCommand(gift, LOWORD(wParam));
      return 0;
    case WM_SIZE:
      LayoutGift(gift);
      return 0;
    case WM_HSCROLL:
    case WM_VSCROLL:
      ScrollGift(gift, message == WM_HSCROLL ? SB_HORZ : SB_VERT, wParam);
      return 0;
    case WM_MOUSEWHEEL:
      WheelGift(gift, wParam);
      return 0;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
      ForwardMouse(gift, message, wParam, lParam);
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT && gift.cursorOverride) {
        SetCursor(gift.cursorOverride);
        return TRUE;
      }
      break;
    case WM_ERASEBKGND:
      return 1;  // the paint covers the whole client area
    case WM_PAINT:
      PaintGift(gift);
      return 0;
    case WM_CLOSE:
      // A close while the effect plays ends the effect only.
      if (EndGiftEffect(gift)) return 0;
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      gift.window = nullptr;
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK GiftWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) {
    auto* gift = static_cast<GiftPlayer*>(reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpCreateParams);
    SetWindowLongPtrA(window, GWLP_USERDATA, LONG_PTR(gift));
    if (gift) OnCreate(window, *gift);
    return 0;
  }
  auto* gift = reinterpret_cast<GiftPlayer*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!gift) return DefWindowProcA(window, message, wParam, lParam);
  return GiftMessage(window, *gift, message, wParam, lParam);
}

}  // namespace

bool RegisterGiftClass(HINSTANCE instance) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = GiftWindowProc;
  wc.cbWndExtra = kWindowExtraBytes;
  wc.hInstance = instance;
  wc.hIcon = LoadIconA(instance, "Posy");
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = kWindowClass;
  return RegisterClassA(&wc) != 0;
}

HWND CreateGiftWindow(GiftPlayer& gift) {
  char title[256] = "";
  LoadStringA(gift.resources, IDS_GIFT_TITLE, title, sizeof title);
  gift.menu = LoadMenuA(gift.resources, "Mail");
  HWND window = CreateWindowExA(0, kWindowClass, title,
                                WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_HSCROLL | WS_VSCROLL, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, gift.menu, gift.instance,
                                &gift);
  if (!window) return nullptr;
  // The window owns its menu from now on and destroys it with itself.
  gift.menu = nullptr;
  return window;
}

}  // namespace quillo::giftutil
