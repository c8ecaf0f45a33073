#include "canvas_effect.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "colour_swatch.h"
#include "contracts/dib_format.h"
#include "contracts/dib_services.h"

namespace quillo::bxcomm2 {

namespace {

constexpr int kColourButton = 1001, kSwatch = 711;

// The picture of the pass (and the mask passed in) as a kernel picture.
std::optional<Picture> Load(const PixelPass& pass, const BYTE* mask) {
  std::optional<Picture> picture;
  try {
    picture = Picture::Make(pass.width, pass.height, mask != nullptr);
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
  if (!picture) return picture;
  const size_t row = size_t(pass.width) * 3;
  for (int y = 0; y < pass.height; ++y) std::memcpy(picture->Row(y), pass.source + int64_t(y) * pass.stride, row);
  if (mask) std::memcpy(picture->mask.data(), mask, picture->mask.size());
  return picture;
}

}  // namespace

void CanvasEffect::InitControls(HWND dialog) {
  MakeColourSwatch(GetDlgItem(dialog, kSwatch), background_);
}

void CanvasEffect::OtherCommand(HWND dialog, int id, int code, LPARAM) {
  if (id != kColourButton || code != BN_CLICKED) return;
  if (ChooseColourFor(dialog, background_))
    SendDlgItemMessageA(dialog, kSwatch, SWM_SETCOLOUR, 0, LPARAM(background_));
}

bool CanvasEffect::RunPass(const PixelPass& pass, bool withProgress) {
  const Background background{GetBValue(background_), GetGValue(background_), GetRValue(background_)};
  // The steps cannot be stopped; they only show how far they are.
  const Progress progress = [&](int percent) {
    if (withProgress) Checkpoint(percent);
  };
  std::optional<Picture> made;
  if (auto in = Load(pass, originalMask)) {
    try {
      made = Transform(*in, background, progress);
    } catch (const std::bad_alloc&) {
      made.reset();
    }
  }
  HGLOBAL picture = made ? CreateDIB(made->width, made->height, 24) : nullptr;
  BYTE* mask = picture && originalMask ? AllocAlpha(picture) : nullptr;
  auto* dib = picture ? static_cast<char*>(GlobalLock(picture)) : nullptr;
  if (!dib || (originalMask && !mask)) {
    if (dib) GlobalUnlock(picture);
    if (mask) FreeAlpha(mask);
    if (picture) DestroyDIB(picture);
    MessageBeep(0);
    return true;
  }
  auto* bits = reinterpret_cast<uint8_t*>(FindDIBBits(dib));
  const int64_t stride = Stride24(made->width);
  for (int y = 0; y < made->height; ++y)
    std::memcpy(bits + y * stride, made->Row(y), size_t(made->width) * 3);
  if (mask) std::memcpy(mask, made->mask.data(), made->mask.size());
  GlobalUnlock(picture);
  ReplacePicture(picture, mask);
  return true;
}

}  // namespace quillo::bxcomm2
