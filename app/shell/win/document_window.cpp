// The image document window ("bxViewChild"): an MDI child that owns the
// document record and holds one view, plus the functions the frame and the
// image commands use to fill, change and query documents.
#include "app/shell/document_window.h"

#include <cstdlib>
#include <cstring>

#include "app/shell/app_state.h"
#include "app/shell/resource_ids.h"
#include "app/shell/undo_history.h"
#include "app/shell/zoom.h"
#include "contracts/dib_services.h"
#include "view_internal.h"

namespace quillo {

LRESULT CALLBACK DocumentViewProc(HWND view, UINT message, WPARAM wParam, LPARAM lParam);

namespace {

constexpr char kDocumentClass[] = "bxViewChild";
constexpr char kViewClass[] = "bxViewBmp";
constexpr UINT kActivateDocument = 0x464;

HINSTANCE g_classInstance = nullptr;
const AnimationAccess* g_animationAccess = nullptr;

class WindowHandles final : public HistoryAccess {
 public:
  void FreeImage(uintptr_t dib) override { DestroyDIB(HGLOBAL(dib)); }
  void FreeDisplayCopy(uintptr_t dib) override { DestroyDIB(HGLOBAL(dib)); }
  void FreePalette(uintptr_t palette) override { DeleteObject(HGDIOBJ(palette)); }
  void FreeMask(uintptr_t mask) override { FreeAlpha(LPBYTE(mask)); }
  ByteSpan LockDib(uintptr_t dib) override {
    ByteSpan span;
    if (!dib) return span;
    if (void* p = GlobalLock(HGLOBAL(dib))) {
      span.data = static_cast<const uint8_t*>(p);
      span.size = GlobalSize(HGLOBAL(dib));
    }
    return span;
  }
  void UnlockDib(uintptr_t dib) override { GlobalUnlock(HGLOBAL(dib)); }
  ByteSpan LockMask(uintptr_t mask) override {
    ByteSpan span;
    if (!mask) return span;
    span.data = reinterpret_cast<const uint8_t*>(mask);
    span.size = GlobalSize(HGLOBAL(mask));
    return span;
  }
  void UnlockMask(uintptr_t) override {}
};

bool HasClass(HWND window, const char* name) {
  char buffer[32];
  return window && GetClassNameA(window, buffer, sizeof buffer) > 0 && lstrcmpiA(buffer, name) == 0;
}

// Moves the view over the client area, one pixel larger (the layout's
// thresholds allow for that extra pixel).
void PlaceView(HWND document, DocumentRecord* record) {
  RECT client;
  GetClientRect(document, &client);
  MoveWindow(record->view, 0, 0, client.right + 1, client.bottom + 1, TRUE);
  LayoutDocument(record);
  InvalidateRect(record->view, nullptr, TRUE);
}

// Realizes the current palette in the view; repaints when colours changed.
void RealizeDocumentPalette(DocumentRecord* record) {
  const UndoSlot& slot = Current(record);
  if (!slot.palette || !record->view) return;
  HDC dc = GetDC(record->view);
  HPALETTE old = SelectPalette(dc, HPALETTE(slot.palette), FALSE);
  const UINT changed = RealizePalette(dc);
  SelectPalette(dc, old, TRUE);
  ReleaseDC(record->view, dc);
  if (changed != 0 && changed != GDI_ERROR) InvalidateRect(record->view, nullptr, FALSE);
}

// The frame menu's sub-menu holding the cascade command lists the windows.
void AttachWindowMenu() {
  HMENU menu = g_app.frame ? GetMenu(g_app.frame) : nullptr;
  if (!menu || !g_app.mdiClient) return;
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    HMENU sub = GetSubMenu(menu, i);
    if (sub && GetMenuState(sub, CMD_CASCADE, MF_BYCOMMAND) != UINT(-1)) {
      SendMessageA(g_app.mdiClient, WM_MDISETMENU, 0, LPARAM(sub));
      SendMessageA(g_app.mdiClient, WM_MDIREFRESHMENU, 0, 0);
      DrawMenuBar(g_app.frame);
      return;
    }
  }
}

// A document refuses to close while an effect works on it: the host's run
// belongs to it, or an effect declared itself active on its view.
bool RefusesToClose(const DocumentRecord* record) {
  if (!record) return false;
  if (g_app.effectRunning && g_app.effectDocument == record->document) return true;
  return g_app.activeEffect && record->effectActive;
}

LRESULT CALLBACK DocumentProc(HWND document, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* record = reinterpret_cast<DocumentRecord*>(GetWindowLongPtrA(document, 0));
  switch (message) {
    case WM_CREATE: {
      record = static_cast<DocumentRecord*>(std::calloc(1, sizeof(DocumentRecord)));
      if (!record) return -1;
      record->document = document;
      record->zoom = 1.0f;
      record->dragIndex = -1;
      const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
      if (create && create->lpszName) lstrcpynA(record->title, create->lpszName, sizeof record->title);
      SetWindowLongPtrA(document, 0, LONG_PTR(record));
      RECT client;
      GetClientRect(document, &client);
      HWND view = CreateWindowExA(0, kViewClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS |
                                  WS_HSCROLL | WS_VSCROLL, 0, 0, client.right + 1,
                                  client.bottom + 1, document, nullptr, g_classInstance, record);
      if (!view) {
        SetWindowLongPtrA(document, 0, 0);
        std::free(record);
        return -1;
      }
      break;
    }
    case WM_SIZE:
      if (record && record->view) PlaceView(document, record);
      break;  // the MDI default handling needs WM_SIZE too
    case WM_SETFOCUS:
      if (record && record->view) SetFocus(record->view);
      return 0;
    case WM_MDIACTIVATE:
      if (record && HWND(lParam) == document) {
        RealizeDocumentPalette(record);
        AttachWindowMenu();
        RefreshToolButtons();
      }
      break;
    case kActivateDocument:
      if (record) {
        RealizeDocumentPalette(record);
        AttachWindowMenu();
        RefreshToolButtons();
      }
      return 0;
    case 2054:
      if (record && record->view) PlaceView(document, record);
      return 0;
    case 2096:
    case 2097:
    case 2098:
      return record && record->view ? SendMessageA(record->view, message, wParam, lParam) : 0;
    case WM_CLOSE:
      if (RefusesToClose(record)) {
        MessageBeep(0);
        return 0;
      }
      break;
    case FM_CLOSE_VIEW:
      if (RefusesToClose(record)) {
        MessageBeep(0);
        return 0;
      }
      if (g_app.mdiClient) SendMessageA(g_app.mdiClient, WM_MDIDESTROY, WPARAM(document), 0);
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrA(document, 0, 0);  // the view frees the record
      break;
  }
  return DefMDIChildProcA(document, message, wParam, lParam);
}

}  // namespace

HistoryAccess& DocumentHandles() {
  static WindowHandles handles;
  return handles;
}

int CurrentIndex(const DocumentRecord* record) { return CurrentUndoSlot(record->slots); }
UndoSlot& Current(DocumentRecord* record) { return record->slots[CurrentIndex(record)]; }

bool DescribeSlot(UndoSlot& slot) {
  HGLOBAL dib = HGLOBAL(slot.image);
  if (!dib || !IsValidDIB(dib)) return false;
  auto* p = static_cast<LPCSTR>(GlobalLock(dib));
  if (!p) return false;
  slot.width = DIBWidth(p);
  slot.height = DIBHeight(p);
  slot.colours = DIBNumColors(p);
  GlobalUnlock(dib);
  return slot.width > 0 && slot.height > 0;
}

BOOL RegisterDocumentClasses(HINSTANCE instance) {
  g_classInstance = instance;
  WNDCLASSA wc = {};
  wc.lpfnWndProc = DocumentProc;
  wc.cbWndExtra = kWindowExtraBytes;
  wc.hInstance = instance;
  wc.hIcon = g_app.instance ? LoadIconA(g_app.instance, "bxView") : nullptr;
  if (!wc.hIcon) wc.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = HBRUSH(COLOR_WINDOW + 1);
  wc.lpszClassName = kDocumentClass;
  if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return FALSE;

  WNDCLASSA vc = {};
  vc.style = CS_DBLCLKS;
  vc.lpfnWndProc = DocumentViewProc;
  vc.cbWndExtra = kWindowExtraBytes;
  vc.hInstance = instance;
  vc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  vc.hbrBackground = HBRUSH(COLOR_WINDOW + 1);
  vc.lpszClassName = kViewClass;
  if (!RegisterClassA(&vc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return FALSE;
  return TRUE;
}

HWND CreateDocumentWindow(const char* title) {
  if (!g_app.mdiClient) return nullptr;
  MDICREATESTRUCTA create = {};
  create.szClass = kDocumentClass;
  create.szTitle = title ? title : "";
  create.hOwner = g_classInstance;
  create.x = create.y = create.cx = create.cy = CW_USEDEFAULT;
  create.style = WS_CHILD | WS_CLIPSIBLINGS | WS_BORDER | WS_MAXIMIZE;
  HWND document = HWND(SendMessageA(g_app.mdiClient, WM_MDICREATE, 0, LPARAM(&create)));
  if (document) PostMessageA(document, kActivateDocument, 0, 0);
  return document;
}

DocumentRecord* RecordOf(HWND window) {
  if (!HasClass(window, kDocumentClass) && !HasClass(window, kViewClass)) return nullptr;
  return reinterpret_cast<DocumentRecord*>(GetWindowLongPtrA(window, 0));
}

HWND ActiveDocument() {
  if (!g_app.mdiClient) return nullptr;
  HWND active = HWND(SendMessageA(g_app.mdiClient, WM_MDIGETACTIVE, 0, 0));
  return active && HasClass(active, kDocumentClass) && RecordOf(active) ? active : nullptr;
}

HWND ViewOf(HWND document) {
  DocumentRecord* record = RecordOf(document);
  return record ? record->view : nullptr;
}

namespace {

// The mask when it covers width x height bytes; otherwise it is freed.
uintptr_t AcceptMask(LPBYTE mask, const UndoSlot& slot) {
  if (!mask) return 0;
  const SIZE_T need = SIZE_T(uint64_t(slot.width) * uint64_t(slot.height));
  if (GlobalSize(HGLOBAL(mask)) < need) {
    FreeAlpha(mask);
    return 0;
  }
  return uintptr_t(mask);
}

HPALETTE PaletteFor(const UndoSlot& slot) {
  return slot.colours > 0 ? CreateDIBPalette(HGLOBAL(slot.image)) : nullptr;
}

void ShowChangedImage(DocumentRecord* record) {
  RebuildDisplayCopy(record);
  LayoutDocument(record);
  InvalidateRect(record->view, nullptr, TRUE);
}

}  // namespace

BOOL SetDocumentImage(HWND document, HGLOBAL image, LPBYTE mask) {
  DocumentRecord* record = RecordOf(document);
  UndoSlot probe;
  probe.image = uintptr_t(image);
  if (!record || !image || !DescribeSlot(probe)) {
    if (image) DestroyDIB(image);
    if (mask) FreeAlpha(mask);
    return FALSE;
  }
  DropAnimation(record);
  ReleaseUndoSlot(record->slots, 0, DocumentHandles());
  UndoSlot& slot = record->slots[0];
  slot = probe;
  slot.palette = uintptr_t(PaletteFor(slot));
  slot.mask = AcceptMask(mask, slot);
  record->hPos = record->vPos = record->hMax = record->vMax = 0;
  std::memset(record->selection, 0, sizeof record->selection);
  if (g_app.bestFitFlag) {
    const SIZE client = ViewClientSize(record);
    record->zoom = BestFitZoom(slot.width, slot.height, client.cx, client.cy,
                               g_app.frame && IsIconic(g_app.frame));
  }
  ShowChangedImage(record);
  return TRUE;
}

BOOL PushDocumentImage(HWND document, HGLOBAL image, LPBYTE mask) {
  DocumentRecord* record = RecordOf(document);
  UndoSlot probe;
  probe.image = uintptr_t(image);
  if (!record || !image || !DescribeSlot(probe)) {
    // Steps may share their predecessor's handles (the mask commands pass
    // the current image): only what no document holds is freed.
    if (image && !FindDocumentHolding(image)) DestroyDIB(image);
    if (mask && !FindDocumentHoldingMask(mask)) FreeAlpha(mask);
    return FALSE;
  }
  const int index = PushUndoSlot(record->slots, DocumentHandles());
  UndoSlot& slot = record->slots[index];
  slot = probe;
  slot.palette = uintptr_t(PaletteFor(slot));
  slot.mask = AcceptMask(mask, slot);
  ShowChangedImage(record);
  return TRUE;
}

UndoSlot* CurrentSlot(HWND document) {
  DocumentRecord* record = RecordOf(document);
  return record ? &Current(record) : nullptr;
}

HGLOBAL CurrentImage(HWND document) {
  DocumentRecord* record = RecordOf(document);
  return record ? HGLOBAL(Current(record).image) : nullptr;
}

bool HasUndoStep(HWND document) {
  DocumentRecord* record = RecordOf(document);
  return record && HasUndoStep(record->slots);
}

void UndoDocument(HWND document) {
  DocumentRecord* record = RecordOf(document);
  if (!record || !PopUndoSlot(record->slots, DocumentHandles())) return;
  // The older picture may be smaller: the view paints the uncovered part
  // itself, so the picture is redrawn without erasing (no flicker).
  RebuildDisplayCopy(record);
  LayoutDocument(record);
  SendMessageA(record->view, 2079, 0, 0);
  InvalidateRect(record->view, nullptr, FALSE);
}

RECT DocumentSelection(HWND document) {
  RECT r = {};
  if (DocumentRecord* record = RecordOf(document)) {
    const Rect s = CurrentSelection(record);
    r = {s.left, s.top, s.right, s.bottom};
  }
  return r;
}

bool HasSelection(HWND document) {
  DocumentRecord* record = RecordOf(document);
  if (!record) return false;
  const Rect s = CurrentSelection(record);
  return s.right > s.left && s.bottom > s.top;
}

int MaskDisplayMode(HWND document) {
  DocumentRecord* record = RecordOf(document);
  return record ? record->maskDisplayMode : 0;
}

void ZoomDocument(HWND document, int direction) {
  DocumentRecord* record = RecordOf(document);
  if (!record) return;
  const float before = record->zoom;
  if (direction > 0) record->zoom = ZoomIn(record->zoom);
  else if (direction < 0) record->zoom = ZoomOut(record->zoom);
  else record->zoom = 1.0f;
  if (record->zoom == before) return;
  LayoutDocument(record);
  InvalidateRect(record->view, nullptr, TRUE);
}

float DocumentZoom(HWND document) {
  DocumentRecord* record = RecordOf(document);
  return record ? record->zoom : 0.0f;
}

namespace {

// The first document window whose undo slots hold `handle` by `holds`.
HWND FindDocumentWhereSlots(bool (*holds)(const UndoSlot*, uintptr_t), uintptr_t handle) {
  if (!handle || !g_app.mdiClient) return nullptr;
  for (HWND child = GetWindow(g_app.mdiClient, GW_CHILD); child;
       child = GetWindow(child, GW_HWNDNEXT)) {
    DocumentRecord* record = RecordOf(child);
    if (record && HasClass(child, kDocumentClass) && holds(record->slots, handle)) return child;
  }
  return nullptr;
}

}  // namespace

HWND FindDocumentHolding(HGLOBAL image) { return FindDocumentWhereSlots(SlotsHoldImage, uintptr_t(image)); }

HWND FindDocumentHoldingMask(LPBYTE mask) { return FindDocumentWhereSlots(MaskHeld, uintptr_t(mask)); }

void SetDocumentTitle(HWND document, const char* title) {
  DocumentRecord* record = RecordOf(document);
  if (!record || !title) return;
  lstrcpynA(record->title, title, sizeof record->title);
  SetWindowTextA(document, title);
}

const char* DocumentTitle(HWND document) {
  DocumentRecord* record = RecordOf(document);
  return record ? record->title : "";
}

void TidyDocumentHistory(HWND document) {
  DocumentRecord* record = RecordOf(document);
  if (!record) return;
  TidyHistory(record->slots, DocumentHandles());
  RebuildDisplayCopy(record);
  InvalidateRect(record->view, nullptr, FALSE);
}

// ---- Effect runs ------------------------------------------------------------

namespace {
HWND g_effectStepDocument = nullptr;
TentativeUndoStep g_effectStep;
}  // namespace

UndoSlot* BeginEffectStep(HWND document, HGLOBAL image, LPBYTE mask) {
  DocumentRecord* record = RecordOf(document);
  UndoSlot probe;
  probe.image = uintptr_t(image);
  if (!record || g_effectStepDocument || !image || !DescribeSlot(probe)) {
    if (image) DestroyDIB(image);
    if (mask) FreeAlpha(mask);
    return nullptr;
  }
  g_effectStep = BeginTentativeUndoStep(record->slots);
  g_effectStepDocument = document;
  UndoSlot& slot = record->slots[g_effectStep.index];
  slot = probe;
  slot.palette = uintptr_t(PaletteFor(slot));
  slot.mask = AcceptMask(mask, slot);
  return &slot;
}

bool EndEffectStep(HWND document, bool keep) {
  DocumentRecord* record = RecordOf(document);
  if (!record || document != g_effectStepDocument) return false;
  g_effectStepDocument = nullptr;
  if (keep) {
    UndoSlot& slot = record->slots[g_effectStep.index];
    // The effect may have replaced the image or mask through their words.
    if (slot.image && DescribeSlot(slot)) {
      if (slot.colours > 0 && !slot.palette) slot.palette = uintptr_t(PaletteFor(slot));
      if (slot.mask &&
          GlobalSize(HGLOBAL(slot.mask)) < SIZE_T(uint64_t(slot.width) * uint64_t(slot.height))) {
        const uintptr_t mask = slot.mask;
        slot.mask = 0;
        if (!MaskHeld(record->slots, mask)) FreeAlpha(LPBYTE(mask));
      }
      CommitTentativeUndoStep(record->slots, g_effectStep, DocumentHandles());
      return true;
    }
    // An effect that left no readable image cannot be kept.
  }
  CancelTentativeUndoStep(record->slots, g_effectStep, DocumentHandles());
  return false;
}

INT32* EffectSelection(HWND document) {
  DocumentRecord* record = RecordOf(document);
  if (!record) return nullptr;
  const Rect s = CurrentSelection(record);
  if (s.right - s.left <= 10 || s.bottom - s.top <= 10) return nullptr;
  record->selection[0] = s.left;
  record->selection[1] = s.top;
  record->selection[2] = s.right;
  record->selection[3] = s.bottom;
  return record->selection;
}

void SetMaskDisplayMode(HWND document, int mode) {
  if (DocumentRecord* record = RecordOf(document)) record->maskDisplayMode = mode;
}

void FollowImageSize(HWND document) {
  DocumentRecord* record = RecordOf(document);
  if (!record || !RefreshCurrentSlot(record)) return;
  LayoutDocument(record);
  InvalidateRect(record->view, nullptr, TRUE);
}

void RelayoutDocument(HWND document, bool erase) {
  DocumentRecord* record = RecordOf(document);
  if (!record) return;
  LayoutDocument(record);
  InvalidateRect(record->view, nullptr, erase);
}

// ---- Animated pictures ----------------------------------------------------

namespace {

// Puts frame `index` into slot 0 with a palette of its own. Frames belong to
// the animation, so the slot's previous image is not freed here.
bool ShowAnimationFrame(DocumentRecord* record, int index) {
  const AnimationAccess* access = g_animationAccess;
  HGLOBAL frame = access ? access->frame(record->animation, index) : nullptr;
  UndoSlot probe;
  probe.image = uintptr_t(frame);
  if (!frame || !DescribeSlot(probe)) return false;
  UndoSlot& slot = record->slots[0];
  const uintptr_t oldPalette = slot.palette;
  DropDisplayCopy(record->slots, 0, DocumentHandles());
  slot.image = probe.image;
  slot.width = probe.width;
  slot.height = probe.height;
  slot.colours = probe.colours;
  slot.palette = uintptr_t(CreateDIBPalette(frame));
  if (oldPalette && !PaletteHeld(record->slots, oldPalette)) DocumentHandles().FreePalette(oldPalette);
  record->animationFrame = index;
  return true;
}

}  // namespace

BOOL SetDocumentAnimation(HWND document, void* animation, const AnimationAccess* access) {
  DocumentRecord* record = RecordOf(document);
  if (!animation || !access) return FALSE;
  UndoSlot first;
  first.image = record && access->frameCount(animation) >= 1 ? uintptr_t(access->frame(animation, 0)) : 0;
  if (!first.image || !DescribeSlot(first)) {
    // Nothing the window shows is touched when the animation cannot play.
    access->release(animation);
    return FALSE;
  }
  DropAnimation(record);
  ReleaseUndoSlot(record->slots, 0, DocumentHandles());
  g_animationAccess = access;
  record->animation = animation;
  if (!ShowAnimationFrame(record, 0)) {
    DropAnimation(record);
    return FALSE;
  }
  record->hPos = record->vPos = 0;
  if (g_app.bestFitFlag) {
    const SIZE client = ViewClientSize(record);
    record->zoom = BestFitZoom(record->slots[0].width, record->slots[0].height, client.cx,
                               client.cy, g_app.frame && IsIconic(g_app.frame));
  }
  record->animationElapsed = 0;
  record->animationTimer = SetTimer(record->view, kAnimationTimer, kAnimationStepMs, nullptr) ? 1 : 0;
  ShowChangedImage(record);
  return TRUE;
}

void AnimationTick(DocumentRecord* record) {
  if (!record->animation || !g_animationAccess) return;
  record->animationElapsed += kAnimationStepMs;
  if (record->animationElapsed < g_app.animationInterval) return;
  record->animationElapsed = 0;
  const int count = g_animationAccess->frameCount(record->animation);
  if (count < 1) return;
  const int next = (record->animationFrame + 1) % count;
  if (ShowAnimationFrame(record, next)) InvalidateRect(record->view, nullptr, FALSE);
}

void DropAnimation(DocumentRecord* record) {
  if (record->animationTimer && record->view) KillTimer(record->view, kAnimationTimer);
  record->animationTimer = 0;
  if (!record->animation) return;
  const AnimationAccess* access = g_animationAccess;
  // The frames go with the animation: no slot may free them again.
  const int count = access ? access->frameCount(record->animation) : 0;
  for (int i = 0; i < count; ++i) {
    const uintptr_t frame = uintptr_t(access->frame(record->animation, i));
    for (UndoSlot& slot : record->slots)
      if (frame && slot.image == frame) slot.image = 0;
  }
  if (access) access->release(record->animation);
  record->animation = nullptr;
}

}  // namespace quillo
