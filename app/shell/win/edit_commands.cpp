// Crop, grey, transforms and mask commands of the frame. Every change of the
// picture becomes a new undo step of the active document; crop opens the
// area in a window of its own.
#include "edit_commands.h"

#include "app/shell/app_state.h"
#include "app/shell/document_window.h"
#include "app/shell/mask_transform.h"
#include "app/shell/resource_ids.h"
#include "contracts/dib_services.h"
#include "thumbnail_pane.h"

namespace quillo {

namespace {

constexpr char kLowMemoryStatus[] = "Memory in low !!";

class WaitCursor {
 public:
  WaitCursor() : previous_(SetCursor(LoadCursor(nullptr, IDC_WAIT))) {}
  ~WaitCursor() { SetCursor(previous_); }

 private:
  HCURSOR previous_;
};

void ShowMessage(HWND owner, UINT text) {
  MessageBoxA(owner, LoadResString(text), nullptr, MB_OK | MB_ICONINFORMATION);
}

SIZE_T MaskBytes(const UndoSlot& slot) {
  return SIZE_T(uint64_t(slot.width) * uint64_t(slot.height));
}

// The current slot when it holds a picture; otherwise a beep and null.
UndoSlot* PictureSlot(HWND document) {
  UndoSlot* slot = document ? CurrentSlot(document) : nullptr;
  if (!slot || !slot->image) {
    MessageBeep(0);
    return nullptr;
  }
  return slot;
}

// Finishes a new step: the picture's view was repainted by the push; the
// other windows follow.
void AfterNewStep() {
  RefreshThumbnails();
  RefreshToolButtons();
}

// Pushes `image` (taken over) as a new step that shares `mask` with the
// previous step. The mask is attached only after the push, so a failed push
// can never free a mask the previous step still holds.
bool PushSharingMask(HWND document, HGLOBAL image, uintptr_t mask) {
  if (!PushDocumentImage(document, image, nullptr)) return false;
  if (mask) {
    UndoSlot* slot = CurrentSlot(document);
    slot->mask = mask;
    SendMessageA(ViewOf(document), 2099, 0, 0);  // rebuild the display copy
  }
  return true;
}

// ---- Crop ---------------------------------------------------------------------

void CropToSelection(HWND frame, HWND document) {
  UndoSlot* slot = PictureSlot(document);
  if (!slot) return;
  if (!HasSelection(document)) {
    ShowMessage(frame, IDS_EMPTY_SELECTION);
    return;
  }
  const RECT s = DocumentSelection(document);
  const Rect area{s.left, s.top, s.right, s.bottom};
  const int width = s.right - s.left;
  const int height = s.bottom - s.top;
  HGLOBAL image = nullptr;
  LPBYTE mask = nullptr;
  bool ok = false;
  {
    WaitCursor wait;
    HGLOBAL clip = ClipDIBRect(HGLOBAL(slot->image), s.left, s.top, width, height);
    image = clip ? TrueColorDIB(clip) : nullptr;
    if (clip && image != clip) DestroyDIB(clip);
    ok = image && IsValidDIB(image);
    if (ok) {
      auto* p = static_cast<LPCSTR>(GlobalLock(image));
      ok = p && DIBWidth(p) == width && DIBHeight(p) == height;
      if (p) GlobalUnlock(image);
    }
    if (ok && slot->mask) {
      mask = AllocAlpha(image);
      ok = mask && CopyMaskArea(reinterpret_cast<const uint8_t*>(slot->mask),
                                GlobalSize(HGLOBAL(slot->mask)), slot->width, slot->height, area,
                                mask, GlobalSize(HGLOBAL(mask)));
    }
  }
  if (!ok) {
    if (image) DestroyDIB(image);
    if (mask) FreeAlpha(mask);
    ShowMessage(frame, IDS_CROP_FAILED);
    return;
  }
  if (!OpenPictureWindow(image, mask, "Cropped")) ShowMessage(frame, IDS_CROP_FAILED);
}

// ---- Grey and transforms ------------------------------------------------------------

struct StepCommand {
  int command;
  int duplicateMode;
  bool transformsMask;  // otherwise the step shares the previous mask
};

constexpr StepCommand kStepCommands[] = {
    {CMD_GREY, kDuplicateCopy, false},
    {CMD_LIGHTNESS_GREY, kDuplicateCopy, false},
    {CMD_INVERT, kDuplicateInvert, false},
    {CMD_TURN_RIGHT, kDuplicateTurnRight, true},
    {CMD_HALF_TURN, kDuplicateHalfTurn, true},
    {CMD_TURN_LEFT, kDuplicateTurnLeft, true},
    {CMD_MIRROR_X, kDuplicateMirrorX, true},
    {CMD_MIRROR_Y, kDuplicateMirrorY, true},
};

const StepCommand* FindStepCommand(int command) {
  for (const StepCommand& entry : kStepCommands)
    if (entry.command == command) return &entry;
  return nullptr;
}

bool LightnessGrey(HGLOBAL dib) {
  auto* p = static_cast<uint8_t*>(GlobalLock(dib));
  if (!p) return false;
  const bool ok = LightnessGreyDib(p, GlobalSize(dib));
  GlobalUnlock(dib);
  return ok;
}

// A mask for `image` holding the slot's mask after the same geometric change.
LPBYTE TransformedMask(HGLOBAL image, const UndoSlot& slot, int duplicateMode) {
  LPBYTE mask = AllocAlpha(image);
  if (!mask) return nullptr;
  if (!TransformMask(reinterpret_cast<const uint8_t*>(slot.mask), GlobalSize(HGLOBAL(slot.mask)),
                     slot.width, slot.height, MaskTransform(duplicateMode), mask,
                     GlobalSize(HGLOBAL(mask)))) {
    FreeAlpha(mask);
    return nullptr;
  }
  return mask;
}

void MakeChangedStep(HWND frame, HWND document, const StepCommand& step) {
  UndoSlot* slot = PictureSlot(document);
  if (!slot) return;
  const bool grey = step.command == CMD_GREY || step.command == CMD_LIGHTNESS_GREY;
  const uintptr_t previousMask = slot->mask;
  HGLOBAL image = nullptr;
  LPBYTE ownMask = nullptr;
  bool ok = false;
  {
    WaitCursor wait;
    image = DuplicateDIB(HGLOBAL(slot->image), step.duplicateMode);
    ok = image != nullptr;
    if (ok && step.command == CMD_GREY) ok = GrayDIB(image) != FALSE;
    if (ok && step.command == CMD_LIGHTNESS_GREY) ok = LightnessGrey(image);
    if (ok && previousMask && step.transformsMask) {
      ownMask = TransformedMask(image, *slot, step.duplicateMode);
      ok = ownMask != nullptr;
    }
  }
  if (ok) {
    ok = step.transformsMask ? PushDocumentImage(document, image, ownMask) != FALSE
                             : PushSharingMask(document, image, previousMask);
    image = nullptr;  // taken over by the push either way
    ownMask = nullptr;
  }
  if (!ok) {
    if (image) DestroyDIB(image);
    if (ownMask) FreeAlpha(ownMask);
    if (grey) ShowMessage(frame, IDS_NO_MEMORY);
    MessageBeep(0);
    SetStatusText(kLowMemoryStatus);
    return;
  }
  AfterNewStep();
}

// ---- Mask commands ----------------------------------------------------------------

// The current slot when it holds a picture with a mask; otherwise a beep.
UndoSlot* MaskedSlot(HWND document) {
  UndoSlot* slot = document ? CurrentSlot(document) : nullptr;
  if (!slot || !slot->image || !slot->mask || !IsValidDIB(HGLOBAL(slot->image))) {
    MessageBeep(0);
    return nullptr;
  }
  return slot;
}

// A new step sharing the picture with a mask of 255 minus every old byte.
// The history is not tidied afterwards: tidying replaces a mask that is
// entirely 255 by the previous one, which would throw away the inverse of
// an empty mask.
void InvertDocumentMask(HWND document) {
  UndoSlot* slot = MaskedSlot(document);
  if (!slot) return;
  HGLOBAL image = HGLOBAL(slot->image);
  LPBYTE mask = AllocAlpha(image);
  const SIZE_T count = MaskBytes(*slot);
  if (!mask || GlobalSize(HGLOBAL(mask)) < count || GlobalSize(HGLOBAL(slot->mask)) < count) {
    if (mask) FreeAlpha(mask);
    MessageBeep(0);
    SetStatusText(kLowMemoryStatus);
    return;
  }
  InvertMask(reinterpret_cast<const uint8_t*>(slot->mask), mask, count);
  if (PushDocumentImage(document, image, mask)) AfterNewStep();
}

// A new step sharing the picture, without a mask.
void DropDocumentMask(HWND document) {
  UndoSlot* slot = MaskedSlot(document);
  if (!slot) return;
  if (PushDocumentImage(document, HGLOBAL(slot->image), nullptr)) AfterNewStep();
}

void SetMaskDisplay(HWND document, int mode) {
  if (!document || !CurrentImage(document)) {
    MessageBeep(0);
    return;
  }
  SetMaskDisplayMode(document, mode);
  SendMessageA(ViewOf(document), 2099, 0, 0);  // rebuild the display copy and repaint
}

}  // namespace

HWND OpenPictureWindow(HGLOBAL image, LPBYTE mask, const char* title) {
  HWND document = image ? CreateDocumentWindow(title) : nullptr;
  if (!document) {
    if (image) DestroyDIB(image);
    if (mask) FreeAlpha(mask);
    return nullptr;
  }
  if (!SetDocumentImage(document, image, mask)) {  // frees both on failure
    SendMessageA(g_app.mdiClient, WM_MDIDESTROY, WPARAM(document), 0);
    return nullptr;
  }
  RefreshThumbnails();
  RefreshToolButtons();
  return document;
}

bool OnEditCommand(HWND frame, int command, HWND document) {
  if (const StepCommand* step = FindStepCommand(command)) {
    MakeChangedStep(frame, document, *step);
    return true;
  }
  switch (command) {
    case CMD_CROP: CropToSelection(frame, document); return true;
    case CMD_MASK_SHOW: SetMaskDisplay(document, 0); return true;
    case CMD_MASK_HIDE: SetMaskDisplay(document, 1); return true;
    case CMD_MASK_INVERT: InvertDocumentMask(document); return true;
    case CMD_MASK_DROP: DropDocumentMask(document); return true;
    case CMD_COPY:
      if (PictureSlot(document)) CopyPicture(frame, document);
      return true;
    case CMD_PASTE: PastePicture(frame); return true;
    case CMD_NEW_IMAGE: CreateNewPicture(frame); return true;
    default: return false;
  }
}

}  // namespace quillo
