// The image child: shows the working image at its own size, centred in the
// saver window, and answers the image-window messages effects send to a
// document view. The saver has no zoom or scrolling: the origin stays (0, 0)
// and the scale 1.0, so conversions return their input.
#include <cstring>

#include "contracts/dib_services.h"
#include "saver_stage.h"
#include "stage_slot.h"

namespace quillo::stage {

namespace {

constexpr int kViewStateLong = 0;
constexpr int kChildExtraBytes = 20;

// Conversion results live until the next conversion, as a document view's do.
POINT g_point;
RECT g_rect;

float Scale(const SaverViewState& view) { return view.zoom > 0.0f ? view.zoom : 1.0f; }

LONG ImageToWindow(LONG value, INT32 origin, float scale) { return LONG(float(value - origin) * scale); }
LONG WindowToImage(LONG value, INT32 origin, float scale) { return LONG(float(value) / scale + float(origin)); }

POINT* ConvertPoint(const SaverViewState& view, LPARAM lParam, bool toWindow) {
  const auto* p = reinterpret_cast<const POINT*>(lParam);
  if (!p) return nullptr;
  const float s = Scale(view);
  g_point.x = toWindow ? ImageToWindow(p->x, view.hPos, s) : WindowToImage(p->x, view.hPos, s);
  g_point.y = toWindow ? ImageToWindow(p->y, view.vPos, s) : WindowToImage(p->y, view.vPos, s);
  return &g_point;
}

RECT* ConvertRect(const SaverViewState& view, LPARAM lParam, bool toWindow) {
  const auto* r = reinterpret_cast<const RECT*>(lParam);
  if (!r) return nullptr;
  const float s = Scale(view);
  auto h = [&](LONG v) { return toWindow ? ImageToWindow(v, view.hPos, s) : WindowToImage(v, view.hPos, s); };
  auto v = [&](LONG v) { return toWindow ? ImageToWindow(v, view.vPos, s) : WindowToImage(v, view.vPos, s); };
  g_rect = {h(r->left), v(r->top), h(r->right), v(r->bottom)};
  return &g_rect;
}

// Centres the child in the saver window at the working image's size.
void CentreChild(HWND child, const SaverViewState& view) {
  int width = 0, height = 0;
  if (!ImageSize(SlotImage(view), &width, &height)) return;
  HWND parent = GetParent(child);
  RECT area = {};
  if (parent) GetClientRect(parent, &area);
  MoveWindow(child, (area.right - width) / 2, (area.bottom - height) / 2, width, height, TRUE);
  InvalidateRect(child, nullptr, TRUE);
}

void PaintImage(HWND child, SaverStage& stage) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(child, &ps);
  HGLOBAL image = SlotImage(stage.view);
  char* dib = image && IsValidDIB(image) ? static_cast<char*>(GlobalLock(image)) : nullptr;
  if (dib) {
    if (stage.view.prePaint) stage.view.prePaint(child, dc);
    const int width = DIBWidth(dib), height = DIBHeight(dib);
    SetStretchBltMode(dc, COLORONCOLOR);
    SetDIBitsToDevice(dc, 0, 0, width, height, 0, 0, 0, height, FindDIBBits(dib),
                      reinterpret_cast<const BITMAPINFO*>(dib), DIB_RGB_COLORS);
    GlobalUnlock(image);
    if (stage.view.postPaint) stage.view.postPaint(child, dc);
    ++stage.paints;
  }
  EndPaint(child, &ps);
}

// The effect is finishing: the view forgets everything it set up.
void ResetEffectState(SaverViewState& view) {
  view.dragIndex = -1;
  view.toolWindow = nullptr;
  view.toolMessage = 0;
  view.reserved3 = 0;
  view.sharedRect = nullptr;
  view.prePaint = nullptr;
  view.postPaint = nullptr;
}

LRESULT ChildMessage(HWND child, SaverStage& stage, UINT message, WPARAM wParam, LPARAM lParam) {
  SaverViewState& view = stage.view;
  switch (message) {
    case VM_RELAYOUT:
      CentreChild(child, view);
      break;
    case 2055:
      view.prePaint = reinterpret_cast<PaintHook>(lParam);
      break;
    case 2056:
      view.postPaint = reinterpret_cast<PaintHook>(lParam);
      break;
    case VM_SET_TOOL_WINDOW:
      // Kept for the effect's sake; the saver forwards no mouse input.
      view.toolWindow = HWND(lParam);
      view.toolMessage = INT32(wParam);
      break;
    case 2058:
      if (!lParam) return 0;
      *reinterpret_cast<float*>(lParam) = 1.0f;
      return 1;
    case VM_SHARE_RECT:
      view.sharedRect = reinterpret_cast<INT32*>(lParam);
      break;
    case VM_EFFECT_ACTIVE:
      view.effectActive = INT32(lParam);
      if (!lParam) ResetEffectState(view);
      break;
    case 2067:
      return LRESULT(ConvertPoint(view, lParam, true));
    case 2068:
      return LRESULT(ConvertPoint(view, lParam, false));
    case VM_MAP_RECT:
      return LRESULT(ConvertRect(view, lParam, true));
    case 2070:
      return LRESULT(ConvertRect(view, lParam, false));
    case 2071: {
      const RECT* r = ConvertRect(view, lParam, true);
      if (!r) return 0;
      InvalidateRect(child, r, BOOL(wParam));
      return 1;
    }
    case 2073:
      SetWindowLongA(child, kViewWord8, LONG(lParam));
      return 0;
    case 2074:
      return GetWindowLongA(child, kViewWord8);
    case 2082:
      std::memset(view.selection, 0, sizeof view.selection);
      break;
    case kGradientMessage:
      return LRESULT(stage.gradient);
    case 2103:
      return LRESULT(&view.slots[0]);
    case kPackageNameMessage:
      return LRESULT(stage.name);
    case 2125:
      SetWindowLongA(child, kViewWord12, LONG(lParam));
      return 0;
    case 2126:
      return GetWindowLongA(child, kViewWord12);
    case 2127:
      SetWindowLongA(child, kViewWord16, LONG(lParam));
      return 0;
    case 2128:
      return GetWindowLongA(child, kViewWord16);
    case WM_SIZE:
      InvalidateRect(child, nullptr, FALSE);
      break;
    case WM_NCHITTEST:
      // The mouse over the picture is the saver window's: its moves and
      // clicks end the saver as anywhere else on the screen.
      return HTTRANSPARENT;
    case WM_PAINT:
      PaintImage(child, stage);
      return 1;
  }
  return DefWindowProcA(child, message, wParam, lParam);
}

LRESULT CALLBACK StageChildProc(HWND child, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* stage = static_cast<SaverStage*>(reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpCreateParams);
    SetWindowLongPtrA(child, GWLP_USERDATA, LONG_PTR(stage));
    if (stage) SetWindowLongPtrA(child, kViewStateLong, LONG_PTR(&stage->view));
  }
  auto* stage = reinterpret_cast<SaverStage*>(GetWindowLongPtrA(child, GWLP_USERDATA));
  if (!stage) return DefWindowProcA(child, message, wParam, lParam);
  return ChildMessage(child, *stage, message, wParam, lParam);
}

}  // namespace

BOOL RegisterStageChildClass(HINSTANCE instance, const char* className) {
  WNDCLASSA existing;
  if (GetClassInfoA(instance, className, &existing)) return existing.lpfnWndProc == StageChildProc;
  WNDCLASSA wc = {};
  wc.style = CS_HREDRAW | CS_VREDRAW | CS_GLOBALCLASS;
  wc.lpfnWndProc = StageChildProc;
  wc.cbWndExtra = kChildExtraBytes;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  wc.lpszClassName = className;
  return RegisterClassA(&wc) != 0;
}

void UnregisterStageChildClass(HINSTANCE instance, const char* className) {
  UnregisterClassA(className, instance);
}

HWND CreateStageChild(SaverStage& stage, HWND parent, HINSTANCE instance, const char* className) {
  int width = 0, height = 0;
  ImageSize(SlotImage(stage.view), &width, &height);
  return CreateWindowExA(0, className, "", WS_CHILD | WS_VISIBLE, 0, 0, width, height, parent, nullptr,
                         instance, &stage);
}

}  // namespace quillo::stage
