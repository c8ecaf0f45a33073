#include "dib_handle.h"

namespace quillo::dib {

HINSTANCE g_module = nullptr;

LockedDib::LockedDib(HGLOBAL handle) {
  if (!handle) return;
  const SIZE_T size = GlobalSize(handle);
  if (size < sizeof(DibHeader)) return;
  data_ = static_cast<uint8_t*>(GlobalLock(handle));
  if (!data_) return;
  handle_ = handle;
  ok_ = CheckDib(data_, size, &info_) == DibFault::kSound;
}

LockedDib::~LockedDib() {
  if (handle_) GlobalUnlock(handle_);
}

NewDib::NewDib(const DibShape& shape) {
  const uint64_t size = DibBlockSize(shape);
  if (size == 0 || size > SIZE_MAX) return;
  handle_ = GlobalAlloc(GHND, SIZE_T(size));
  if (!handle_) return;
  data_ = static_cast<uint8_t*>(GlobalLock(handle_));
  if (!data_) {
    GlobalFree(handle_);
    handle_ = nullptr;
  }
}

NewDib::~NewDib() {
  if (!handle_) return;
  GlobalUnlock(handle_);
  GlobalFree(handle_);
}

HGLOBAL NewDib::Release() {
  HGLOBAL h = handle_;
  if (h) GlobalUnlock(h);
  handle_ = nullptr;
  data_ = nullptr;
  return h;
}

}  // namespace quillo::dib
