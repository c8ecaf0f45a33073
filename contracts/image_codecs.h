// The codec library "BXLoad.DLL": reads and writes image files by extension.
#pragma once
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

// Size of the path buffer ConvertDIBEx takes; on failure it holds the error text.
#define CODEC_PATH_BUFFER 300

HGLOBAL LoadDIB(LPCSTR path);
BOOL SaveDIB(HGLOBAL dib, LPCSTR path);
// depth is 1, 4, 8 or 24; mask may be null. Result > 0 on success; otherwise
// pathBuffer (CODEC_PATH_BUFFER characters) holds the error text.
int ConvertDIBEx(HGLOBAL dib, int depth, LPBYTE mask, LPSTR pathBuffer);
BOOL SetupJPEGOption(HWND owner);
BOOL SetupTIFFOption(HWND owner);

#ifdef __cplusplus
}
#endif
