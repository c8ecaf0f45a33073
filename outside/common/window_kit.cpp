#include "window_kit.h"

namespace quillo::kit {

BackBuffer::BackBuffer(HDC target, const RECT& area) : target_(target), area_(area) {
  const int width = area.right - area.left, height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return;
  memory_ = CreateCompatibleDC(target);
  bitmap_ = memory_ ? CreateCompatibleBitmap(target, width, height) : nullptr;
  if (!bitmap_) {
    if (memory_) DeleteDC(memory_);
    memory_ = nullptr;
    return;
  }
  oldBitmap_ = SelectObject(memory_, bitmap_);
  SetWindowOrgEx(memory_, area.left, area.top, nullptr);
}

void BackBuffer::Finish() {
  if (!memory_) return;
  BitBlt(target_, area_.left, area_.top, area_.right - area_.left, area_.bottom - area_.top,
         memory_, area_.left, area_.top, SRCCOPY);
}

BackBuffer::~BackBuffer() {
  if (!memory_) return;
  SelectObject(memory_, oldBitmap_);
  DeleteObject(bitmap_);
  DeleteDC(memory_);
}

}  // namespace quillo::kit
