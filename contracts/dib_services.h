// The DIB services library "BXDIB3.DLL": creation, copies, transforms,
// drawing, masks, gradients and colour quantisation of packed DIBs held in
// movable global memory (see dib_format.h for the layout).
//
// Every function that takes a handle first checks it with IsValidDIB and
// fails (0, FALSE or nothing done) for a handle that is not a sound DIB.
// Functions that take a "pointer" expect the locked handle (GlobalLock).
#pragma once
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

// DuplicateDIB modes. They follow the image transform commands of the main
// program (Ctrl+I, Ctrl+9, Ctrl+8, Ctrl+7, Ctrl+H, Ctrl+V).
enum DuplicateMode {
  kDuplicateCopy = 1,          // plain copy
  kDuplicateMirrorX = 2,       // mirror left to right
  kDuplicateMirrorY = 4,       // mirror top to bottom
  kDuplicateInvert = 8,        // negative: every colour channel becomes 255 - v
  kDuplicateTurnRight = 16,    // quarter turn clockwise (width and height swap)
  kDuplicateHalfTurn = 32,     // half turn
  kDuplicateTurnLeft = 48,     // quarter turn counter-clockwise (width and height swap)
};

HGLOBAL CreateDIB(int width, int height, int bitCount);
void DestroyDIB(HGLOBAL dib);
HGLOBAL DuplicateDIB(HGLOBAL dib, int mode);
HGLOBAL Duplicate24BitsDIB(HGLOBAL dib);
HGLOBAL TrueColorDIB(HGLOBAL dib);
BOOL GrayDIB(HGLOBAL dib);

int DIBWidth(LPCSTR lockedDib);
int DIBHeight(LPCSTR lockedDib);
LPSTR FindDIBBits(LPSTR lockedDib);
WORD DIBNumColors(LPCSTR lockedDib);
BOOL IsValidDIB(HGLOBAL dib);

HGLOBAL ClipDIBRect(HGLOBAL dib, int left, int top, int width, int height);
BOOL PaintDIB(HDC dc, LPRECT destRect, HGLOBAL dib, LPRECT sourceRect, HPALETTE palette);
HPALETTE CreateDIBPalette(HGLOBAL dib);
HGLOBAL BitmapToDIB(HBITMAP bitmap, HPALETTE palette);
BOOL BlackDIB(HGLOBAL dib);
BOOL SingleColorDIB(HGLOBAL dib, COLORREF colour);
LPVOID DIBAlloc(DWORD bytes);  // zero-filled scratch block, freed with GlobalFree

LPBYTE AllocAlpha(HGLOBAL dib);                 // width x height bytes, zero-filled
void FreeAlpha(LPBYTE mask);
LPBYTE DuplicateAlpha(HGLOBAL dib, LPBYTE mask);  // copy of a mask of dib's size

// Gradients. A gradient object is one block: a 40-byte header whose 32-bit
// word at byte offset 36 is the entry count n, then n 96-byte entries; the
// layout is declared in gradient_format.h. SetupGradient opens the modeless
// gradient dialog owned by `frame`; its window is stored at *dialogVar while
// it is open (and cleared when it closes). When the user accepts, the frame
// receives `message` with lParam = a new gradient object that the frame owns.
HWND SetupGradient(HWND frame, UINT message, LPVOID currentGradient, HWND* dialogVar);
void FreeGradient(LPVOID gradient);
// Colour of the selected entry at `position` in 0..range (range > 0), as
// blue, green, red bytes in colours[0..2]. FALSE for a gradient that is not
// sound.
BOOL grad_get_color_at(LPCVOID gradient, int position, int range, LPBYTE colours);

// Colour quantisation: an 8-bit index image of `dib` with at most maxColours
// entries. indexBuffer (width x height bytes, rows top-down, no padding) and
// palette (maxColours RGBQUADs) are filled when non-null. Returns a new 8-bit
// DIB handle or 0.
HGLOBAL IndexDIB(HGLOBAL dib, int maxColours, LPBYTE indexBuffer, RGBQUAD* palette);

HGLOBAL ReadJPEGFile(LPCSTR path);

#ifdef __cplusplus
}
#endif
