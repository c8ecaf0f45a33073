// Locked views of DIB handles for the exports: every export goes through
// LockedDib, which checks the block against its real size before any use.
#pragma once
#include <windows.h>

#include <cstdint>

#include "dib_check.h"

namespace quillo::dib {

// The module handle of BXDIB3.DLL (for its own dialog template).
extern HINSTANCE g_module;

class LockedDib {
 public:
  explicit LockedDib(HGLOBAL handle);
  ~LockedDib();
  LockedDib(const LockedDib&) = delete;
  LockedDib& operator=(const LockedDib&) = delete;

  bool ok() const { return ok_; }
  uint8_t* data() const { return data_; }
  const DibInfo& info() const { return info_; }

 private:
  HGLOBAL handle_ = nullptr;
  uint8_t* data_ = nullptr;
  DibInfo info_;
  bool ok_ = false;
};

// A new zero-filled movable block for `shape`, locked while it is filled.
class NewDib {
 public:
  explicit NewDib(const DibShape& shape);
  ~NewDib();  // frees the block unless it was released
  NewDib(const NewDib&) = delete;
  NewDib& operator=(const NewDib&) = delete;

  bool ok() const { return data_ != nullptr; }
  uint8_t* data() const { return data_; }
  // Unlocks and hands the block to the caller.
  HGLOBAL Release();

 private:
  HGLOBAL handle_ = nullptr;
  uint8_t* data_ = nullptr;
};

}  // namespace quillo::dib
