// Saving options of the codec library, kept for later saves and in the
// settings file "bexadbms.ini", section "Codec".
#pragma once
#include <windows.h>

namespace quillo::bxload {

struct CodecSettings {
  int jpegQuality = 90;     // 1..100
  bool tiffCompress = true;  // LZW
};

// The current settings (read from the settings file at first use).
const CodecSettings& Settings();

// The modal option dialogs; TRUE when the user chose OK.
BOOL RunJpegDialog(HINSTANCE module, HWND owner);
BOOL RunTiffDialog(HINSTANCE module, HWND owner);

}  // namespace quillo::bxload
