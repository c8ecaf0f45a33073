// Image files through the Windows Imaging Component (JPEG, PNG, TIFF, BMP).
// Shared by the DIB services (ReadJPEGFile) and the codec library.
#pragma once
#include <windows.h>

namespace quillo::wic {

enum class Container { Jpeg, Png, Tiff, Bmp };

// Decodes the first frame of any file WIC can read into a new packed 24-bit
// DIB in movable memory (alpha, if any, is dropped onto the pixels as they
// are stored). Returns 0 on failure; `error` (if given) then holds a short
// reason for the user.
HGLOBAL LoadDib(const char* path, char* error = nullptr, size_t errorSize = 0);

struct SaveOptions {
  int jpegQuality = 90;          // 1..100
  bool tiffCompress = true;      // LZW for TIFF
  const BYTE* alphaMask = nullptr;  // width x height bytes, rows top-down (PNG, TIFF true colour)
};

// Encodes a packed DIB (1, 4, 8 or 24 bits) as `container` to `path`,
// through a temporary file in the same folder that replaces `path` only when
// everything was written. Paletted DIBs keep their depth and table (PNG,
// TIFF, BMP); JPEG always receives true colour; a true-colour picture with an
// alpha mask is written as 32-bit BGRA (PNG, TIFF). FALSE on failure with
// `error` holding the reason as the end of a sentence ("the folder does not
// exist."), to follow "Cannot write <path>: ".
BOOL SaveDib(HGLOBAL dib, const char* path, Container container, const SaveOptions& options,
             char* error, size_t errorSize);

}  // namespace quillo::wic
