// Pictures on the stage: the 24-bit working image and its source copy, the
// fit to the screen, and the module's gradient table.
#include <cstring>

#include "contracts/dib_services.h"
#include "contracts/imaging_library.h"
#include "saver_stage.h"
#include "savers/package/screen_fit.h"
#include "stage_slot.h"

namespace quillo::stage {

bool ImageSize(HGLOBAL image, int* width, int* height) {
  if (!image || !IsValidDIB(image)) return false;
  const auto* dib = static_cast<const char*>(GlobalLock(image));
  if (!dib) return false;
  *width = DIBWidth(dib);
  *height = DIBHeight(dib);
  GlobalUnlock(image);
  return true;
}

bool PreparePicture(HGLOBAL decoded, StagePicture* out) {
  *out = {};
  if (!decoded) return false;
  HGLOBAL working = Duplicate24BitsDIB(decoded);
  DestroyDIB(decoded);
  if (!working) return false;
  HGLOBAL source = Duplicate24BitsDIB(working);
  if (!source) {
    DestroyDIB(working);
    return false;
  }
  *out = {working, source};
  return true;
}

void FreePicture(StagePicture* picture) {
  if (picture->working) DestroyDIB(picture->working);
  if (picture->source) DestroyDIB(picture->source);
  *picture = {};
}

void InstallPicture(SaverStage& stage, StagePicture* picture) {
  HGLOBAL old = SlotImage(stage.view);
  if (old && old != stage.source) DestroyDIB(old);
  if (stage.source) DestroyDIB(stage.source);
  SetSlotImage(stage.view, picture->working);
  stage.source = picture->source;
  *picture = {};
}

HGLOBAL StageImage(const SaverStage& stage) { return SlotImage(stage.view); }

void FitPictureToScreen(SaverStage& stage, int32_t optionFlags) {
  HGLOBAL image = SlotImage(stage.view);
  int width = 0, height = 0;
  if (!ImageSize(image, &width, &height)) return;
  const package::ScreenMetrics screen = {GetSystemMetrics(SM_CXFULLSCREEN), GetSystemMetrics(SM_CYFULLSCREEN),
                                         GetSystemMetrics(SM_CYCAPTION), GetSystemMetrics(SM_CYMENUSIZE)};
  const package::ScreenFit fit = package::FitToScreen(optionFlags, width, height, screen);
  if (!fit.resample) return;
  HGLOBAL zoomed = ZoomDIBEx(image, fit.width, fit.height);
  if (!zoomed) return;
  if (image != stage.source) DestroyDIB(image);
  SetSlotImage(stage.view, zoomed);
  if (stage.child) PostMessageA(stage.child, VM_RELAYOUT, 0, 0);
}

LPVOID CopyGradientResource(HINSTANCE module) {
  HRSRC found = FindResourceA(module, "Default", "GRADIENT");
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  const auto* data = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
  const DWORD size = found ? SizeofResource(module, found) : 0;
  if (!data || size < 40) return nullptr;
  DWORD count;
  std::memcpy(&count, data + 36, sizeof count);
  const unsigned long long bytes = 40ull + 96ull * count;
  if (bytes > size) return nullptr;
  LPVOID copy = HeapAlloc(GetProcessHeap(), 0, SIZE_T(bytes));
  if (copy) std::memcpy(copy, data, SIZE_T(bytes));
  return copy;
}

}  // namespace quillo::stage
