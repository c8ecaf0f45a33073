// Playing the packaged effect on the picture with the effect's own dialog,
// as often as the receiver likes: every run starts from the picture as it
// was before the first one.
#include <cstring>

#include "contracts/dib_services.h"
#include "contracts/imaging_library.h"
#include "gift_state.h"
#include "posy_ids.h"
#include "savers/package/screen_fit.h"
#include "savers/stage/stage_slot.h"

namespace quillo::giftutil {

namespace {

// Shrinks the picture into the screen area the record's option flags ask
// for, as the package saver does, so the gift plays as the saver will.
void FitToScreen(GiftPlayer& gift) {
  HGLOBAL picture = SlotPicture(gift);
  int width = 0, height = 0;
  if (!stage::ImageSize(picture, &width, &height)) return;
  const package::ScreenMetrics screen = {GetSystemMetrics(SM_CXFULLSCREEN), GetSystemMetrics(SM_CYFULLSCREEN),
                                         GetSystemMetrics(SM_CYCAPTION), GetSystemMetrics(SM_CYMENUSIZE)};
  const package::ScreenFit fit = package::FitToScreen(gift.record.optionFlags, width, height, screen);
  if (!fit.resample) return;
  HGLOBAL zoomed = ZoomDIBEx(picture, fit.width, fit.height);
  if (!zoomed) return;
  DestroyDIB(picture);
  SetSlotPicture(gift, zoomed);
  SendMessageA(gift.window, VM_RELAYOUT, 0, 0);
}

void FillHostContext(GiftPlayer& gift) {
  std::memset(gift.context, 0, sizeof gift.context);
  gift.context[kHostFrame] = UINT_PTR(gift.window);
  gift.context[kHostView] = UINT_PTR(gift.window);
  gift.context[kHostOriginalImage] = UINT_PTR(SlotPicture(gift));
  gift.context[kHostNoDialog] = 0;  // the receiver plays with the dialog
  gift.context[kHostParameters] = UINT_PTR(gift.Parameters());
}

}  // namespace

void PlayGift(GiftPlayer& gift) {
  if (gift.playing || !gift.playable || !gift.window) return;
  if (!gift.fitted) {
    FitToScreen(gift);
    gift.fitted = true;
  }
  if (!gift.source) {
    gift.source = Duplicate24BitsDIB(SlotPicture(gift));
    if (!gift.source) return;
  }
  const std::string function(FunctionName(gift.record));
  auto process = reinterpret_cast<EffectFunction>(
      reinterpret_cast<void*>(GetProcAddress(gift.plugin, function.c_str())));
  if (!process) return;  // the picture stays as it is
  FillHostContext(gift);

  HMENU menu = GetMenu(gift.window);
  gift.playing = true;
  ++gift.effectRuns;
  EnableMenuItem(menu, IDM_GIFT_PLAY, MF_BYCOMMAND | MF_GRAYED);
  SetCursor(LoadCursor(nullptr, IDC_ARROW));
  InvalidateRect(gift.window, nullptr, FALSE);
  ShowWindow(gift.window, SW_SHOW);
  gift.mask = nullptr;
  process(gift.window, gift.window, gift.instance, HOST_NOTIFY_MESSAGE, gift.record.effectValue, gift.context,
          stage::SlotAddress(gift.view), nullptr, &gift.effectWindow, &gift.mask, 0);
  gift.effectWindow = nullptr;
  if (gift.mask) {
    FreeAlpha(gift.mask);
    gift.mask = nullptr;
  }
  if (!gift.window) {
    gift.playing = false;
    return;
  }
  EnableMenuItem(menu, IDM_GIFT_PLAY, MF_BYCOMMAND | MF_ENABLED);
  // What the effect left (its last frame) gives way to the untouched picture.
  if (HGLOBAL fresh = Duplicate24BitsDIB(gift.source)) {
    HGLOBAL left = SlotPicture(gift);
    if (left && left != gift.source) DestroyDIB(left);
    SetSlotPicture(gift, fresh);
  }
  SendMessageA(gift.window, VM_RELAYOUT, 0, 0);
  DrawMenuBar(gift.window);
  gift.playing = false;
}

bool EndGiftEffect(GiftPlayer& gift) {
  if (!gift.playing) return false;
  HWND effect = gift.effectWindow;
  if (effect && IsWindow(effect)) {
    // While an animation plays, Cancel (and a close, which effect dialogs
    // take as Cancel) only stops the animation and leaves the dialog open.
    // Destroying the dialog ends the run at the next frame.
    SendMessageA(effect, WM_COMMAND, IDCANCEL, 0);
    if (IsWindow(effect)) DestroyWindow(effect);
  }
  return true;
}

}  // namespace quillo::giftutil
