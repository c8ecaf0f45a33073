#include "animation_run.h"

#include <cstring>

#include "contracts/dib_format.h"
#include "contracts/dib_services.h"
#include "contracts/imaging_library.h"
#include "contracts/plugin_contract.h"
#include "plugins/framework/dialog_window.h"
#include "plugins/framework/plugin_module.h"

namespace quillo::animation {

namespace {

bool PictureSize(HGLOBAL picture, int* width, int* height) {
  auto* dib = static_cast<char*>(GlobalLock(picture));
  if (!dib) return false;
  *width = DIBWidth(dib);
  *height = DIBHeight(dib);
  GlobalUnlock(picture);
  return true;
}

// The picture in the effect's working shape: turned a quarter turn first
// when asked, then scaled. Null when either step fails.
HGLOBAL ShapePicture(HGLOBAL picture, const AnimationSession::PictureShape& shape) {
  HGLOBAL turned = nullptr;
  if (shape.quarterTurn) {
    turned = DuplicateDIB(picture, 16);
    if (!turned) return nullptr;
    picture = turned;
  }
  HGLOBAL scaled = ZoomDIBEx(picture, shape.width, shape.height);
  if (turned) DestroyDIB(turned);
  return scaled && IsWorkablePicture(scaled) ? scaled : nullptr;
}

// The caller's mask follows the picture to its new size (nearest pixel);
// a turned picture, or no memory, leaves no mask rather than a wrong one.
void FollowMask(BYTE** maskAddress, HGLOBAL replacement, int oldWidth, int oldHeight,
                const AnimationSession::PictureShape& shape) {
  if (!maskAddress || !*maskAddress) return;
  BYTE* old = *maskAddress;
  BYTE* mask = shape.quarterTurn ? nullptr : AllocAlpha(replacement);
  if (mask) {
    for (int y = 0; y < shape.height; ++y) {
      const int64_t sy = int64_t(y) * oldHeight / shape.height;
      for (int x = 0; x < shape.width; ++x)
        mask[size_t(y) * shape.width + x] =
            old[size_t(sy) * oldWidth + size_t(int64_t(x) * oldWidth / shape.width)];
    }
  }
  FreeAlpha(old);
  *maskAddress = mask;
}

struct Refusal {
  AnimationSession* session;
  bool beep;
  int operator()() const {
    if (beep) MessageBeep(0);
    delete session;
    return 0;
  }
};

}  // namespace

int RunAnimationSession(AnimationSession* session, const EffectCall& call) {
  if (call.dialogOut) *call.dialogOut = nullptr;
  session->call = call;

  // The picture the run starts from: the caller's, or a black canvas for
  // effects that play without one.
  HGLOBAL given = call.imageHandle ? *call.imageHandle : nullptr;
  HGLOBAL canvas = nullptr;
  if (!given) {
    const auto shape = session->CanvasWithoutPicture();
    if (shape.width <= 0 || shape.height <= 0) return Refusal{session, true}();
    canvas = CreateDIB(shape.width, shape.height, 24);
    if (!canvas) return Refusal{session, true}();
    BlackDIB(canvas);
    given = canvas;
  }
  int givenWidth = 0, givenHeight = 0;
  if (!IsWorkablePicture(given) || !PictureSize(given, &givenWidth, &givenHeight) ||
      !session->SizeWorkable(givenWidth, givenHeight)) {
    if (canvas) DestroyDIB(canvas);
    return Refusal{session, true}();
  }

  // The working shape may be another picture; the caller's handle then
  // refers to it, and the picture passed in is released at the end.
  HGLOBAL live = given;
  HGLOBAL replaced = nullptr;
  const auto shape = session->WorkingShape(givenWidth, givenHeight);
  if (shape.width != givenWidth || shape.height != givenHeight || shape.quarterTurn) {
    live = ShapePicture(given, shape);
    if (!live) {
      if (canvas) DestroyDIB(canvas);
      return Refusal{session, false}();
    }
    replaced = given;
    FollowMask(call.alphaMask, live, givenWidth, givenHeight, shape);
    session->pictureReplaced = true;
  }

  char* liveDib = static_cast<char*>(GlobalLock(live));
  HGLOBAL backup = liveDib ? DuplicateDIB(live, 1) : nullptr;
  char* backupDib = backup ? static_cast<char*>(GlobalLock(backup)) : nullptr;
  if (!backupDib) {
    if (backup) DestroyDIB(backup);
    if (liveDib) GlobalUnlock(live);
    if (replaced) DestroyDIB(live);
    if (canvas) DestroyDIB(canvas);
    return Refusal{session, !liveDib}();
  }
  if (replaced && call.imageHandle && !canvas) *call.imageHandle = live;

  session->liveHandle = live;
  session->backupHandle = backup;
  session->width = DIBWidth(liveDib);
  session->height = DIBHeight(liveDib);
  session->stride = int64_t(Stride24(session->width));
  session->livePixels = reinterpret_cast<uint8_t*>(FindDIBBits(liveDib));
  session->backupPixels = reinterpret_cast<uint8_t*>(FindDIBBits(backupDib));
  session->hidden = call.ContextWord(kHostNoDialog) != 0;

  // Gives every handle of a failed start back as it was.
  auto undoStart = [&] {
    GlobalUnlock(backup);
    DestroyDIB(backup);
    GlobalUnlock(live);
    if (replaced) {
      if (call.imageHandle && !canvas) *call.imageHandle = replaced;
      DestroyDIB(live);
    }
    if (canvas) DestroyDIB(canvas);
  };
  if (!session->Setup()) {
    undoStart();
    return Refusal{session, true}();
  }
  HWND view = call.viewWindow;
  if (view && session->ResetsViewTool()) SendMessageA(view, WM_RBUTTONDOWN, 0, 0);

  HWND dialog = CreateDialogParamA(PluginResources(), session->TemplateName(), call.ownerWindow,
                                   AnimationSession::DialogProc, LPARAM(session));
  if (call.dialogOut) *call.dialogOut = dialog;
  if (!dialog) {
    undoStart();
    return Refusal{session, true}();
  }
  if (!session->hidden) ShowWindow(dialog, SW_SHOW);

  HCURSOR cursor = nullptr;
  if (view) {
    SendMessageA(view, VM_EFFECT_ACTIVE, 0, 1);
    SendMessageA(view, VM_SET_TOOL_WINDOW, TOOL_MOUSE_MESSAGE, LPARAM(dialog));
    if (session->SharesRectangle()) SendMessageA(view, VM_SHARE_RECT, 0, LPARAM(session->sharedRect));
    if (const char* name = session->ViewCursorName()) {
      cursor = LoadCursorA(PluginResources(), name);
      if (cursor) SendMessageA(view, VM_SET_CURSOR, WPARAM(cursor), 0);
    }
    // The view shows a picture of another size from now on.
    if (replaced) SendMessageA(view, VM_RELAYOUT, 1, 0);
  }

  RunDialogLoop(session->dialogWindow);

  if (view) SendMessageA(view, VM_EFFECT_ACTIVE, 0, 0);
  GlobalUnlock(live);
  GlobalUnlock(backup);
  const int accepted = session->accepted ? 1 : 0;
  HGLOBAL result = accepted ? live : backup;
  DestroyDIB(accepted ? backup : live);
  if (!canvas) {
    if (call.imageHandle) *call.imageHandle = result;
  } else if (call.imageHandle && accepted) {
    // A run without a picture hands its last frame to a caller that left a
    // place for it; otherwise the canvas ends with the run.
    *call.imageHandle = result;
  } else {
    DestroyDIB(result);
  }
  // The picture passed in (or the canvas) when the run animated another.
  if (replaced) DestroyDIB(replaced);
  if (call.dialogOut) *call.dialogOut = nullptr;
  if (view) {
    if (replaced) SendMessageA(view, VM_RELAYOUT, 1, 0);
    if (cursor) SendMessageA(view, VM_SET_CURSOR, 0, 0);
    SendMessageA(view, VM_REDRAW, 0, 0);
  }
  if (cursor) DestroyCursor(cursor);
  session->AfterClose();
  delete session;
  return accepted;
}

}  // namespace quillo::animation
