// Reading picture files through WIC (JPEG and every other format WIC knows).
#include "contracts/dib_services.h"
#include "dib_handle.h"
#include "wic_codec.h"

extern "C" HGLOBAL ReadJPEGFile(LPCSTR path) {
  if (!path || !*path) return nullptr;
  HGLOBAL dib = quillo::wic::LoadDib(path);
  if (dib && !quillo::dib::LockedDib(dib).ok()) {
    GlobalFree(dib);
    return nullptr;
  }
  return dib;
}
