// The working image's slot inside the view state. The slot's word is an
// integer in the record's layout while effects write it as a handle through
// its address, so the stage reads and writes it byte-wise.
#pragma once
#include <windows.h>

#include <cstring>

#include "saver_stage.h"

namespace quillo::stage {

inline HGLOBAL SlotImage(const SaverViewState& view) {
  HGLOBAL image;
  std::memcpy(&image, &view.slots[0].image, sizeof image);
  return image;
}
inline void SetSlotImage(SaverViewState& view, HGLOBAL image) {
  std::memcpy(&view.slots[0].image, &image, sizeof image);
}
inline HGLOBAL* SlotAddress(SaverViewState& view) {
  static_assert(sizeof(view.slots[0].image) == sizeof(HGLOBAL));
  return reinterpret_cast<HGLOBAL*>(&view.slots[0].image);
}

// Width and height of a DIB handle; false when it cannot be read.
bool ImageSize(HGLOBAL image, int* width, int* height);

// Creates the image child of `className` at (0, 0) in the working image's
// size, bound to `stage`.
HWND CreateStageChild(SaverStage& stage, HWND parent, HINSTANCE instance, const char* className);

}  // namespace quillo::stage
