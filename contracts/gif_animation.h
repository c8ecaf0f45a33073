// The animated GIF loader "BXAnim1.DLL": reads every image of a GIF file
// into its own palettised DIB of the logical screen size, with the image's
// timing and control values. Frames are not composed; disposal and
// transparency are left to the caller.
#pragma once
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

// One image of the file (80 bytes in the 32-bit build).
typedef struct GifFrame {
  HGLOBAL dib;           // frame DIB (DIB services), logical-screen size
  HGDIOBJ gdiObject;     // the caller's GDI object (e.g. the palette); DeleteObject on free
  HGLOBAL memory;        // the caller's global memory; unlocked and freed on free
  DWORD callerWords[7];  // 0, free for the caller
  LONG transparent;      // transparent colour index, -1 when none
  LONG delayMs;          // delay in hundredths x 10
  LONG userInput;        // user-input flag
  LONG disposal;         // disposal method 0..7 as stored
  LONG left, top;        // image position on the logical screen
  LONG width, height;    // image size
  LONG reserved[2];      // 0
} GifFrame;

// The whole file (52 bytes in the 32-bit build).
typedef struct AnimateStruct {
  GifFrame* frames;          // frame array
  LONG frameCount;
  LONG current;              // 0; free for the caller (frame on show)
  LONG screenWidth;
  LONG screenHeight;
  LONG colourResolution;     // ((screen flags & 0x70) >> 3) + 1
  LONG globalTableSize;      // 2 << (screen flags & 7), present or not
  LONG globalCount;          // globalTableSize when the global table is present, else 0
  LONG callerWords[5];       // 0; free for the caller (word 10: ms since the last change)
} AnimateStruct;

#if defined(__cplusplus) && !defined(_WIN64)
static_assert(sizeof(GifFrame) == 80, "GifFrame is 80 bytes");
static_assert(sizeof(AnimateStruct) == 52, "AnimateStruct is 52 bytes");
#endif

// Reads the file; *out receives a new record or null. Result: the number of
// frames, 0 on any failure (then nothing needs freeing).
int LoadGifEx(LPCSTR path, AnimateStruct** out);
// Frees the record, every frame's DIB and the caller's attached objects. Null is allowed.
void FreeAnimateStruct(AnimateStruct* animation);

#ifdef __cplusplus
}
#endif
