// State and helpers shared by the export files of BXCOMM.DLL.
#pragma once
#include <windows.h>

#include "zoom.h"

namespace quillo::imaging {

// Set when the library is attached.
extern HINSTANCE g_module;

// Length of the static file-name buffer, terminator included.
constexpr int kNameBuffer = 400;

// A locked DIB handle checked by the DIB services; `picture` is filled when
// it is 24-bit and uncompressed.
class LockedPicture {
 public:
  explicit LockedPicture(HGLOBAL dib);
  ~LockedPicture();
  LockedPicture(const LockedPicture&) = delete;
  LockedPicture& operator=(const LockedPicture&) = delete;

  bool locked() const { return base_ != nullptr; }
  bool is24() const { return picture_.pixels != nullptr; }
  BYTE* base() const { return base_; }
  const BITMAPINFOHEADER* header() const { return reinterpret_cast<const BITMAPINFOHEADER*>(base_); }
  const Bgr24Picture& picture() const { return picture_; }

 private:
  HGLOBAL handle_ = nullptr;
  BYTE* base_ = nullptr;
  Bgr24Picture picture_;
};

}  // namespace quillo::imaging
