// The DIB services library "BXDIB3.DLL": creation, copies, transforms,
// drawing, masks, gradients and colour quantisation of packed DIBs held in
// movable global memory (see dib_format.h for the layout).
//
// Every function that takes a handle first checks it with IsValidDIB and
// fails (0, FALSE or nothing done) for a handle that is not a sound DIB.
// Functions that take a "pointer" expect the locked handle (GlobalLock).
//
// A sound DIB (IsValidDIB): a header of at least 40 bytes, one plane, 1, 4,
// 8, 16, 24 or 32 bits per pixel, uncompressed (BI_RGB, or BI_BITFIELDS
// with sound masks for 16 and 32 bits), width > 0, height > 0 (top-down
// images are refused: every caller assumes rows bottom-up), at most
// 2^bitCount table entries (256 for deeper images), and header, masks,
// colour table and all rows inside the block as GlobalSize reports it.
// DIB handles are movable blocks (GlobalAlloc(GHND)); new DIBs always have a
// 40-byte header. Colour indices beyond the table read as black.
#pragma once
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

// DuplicateDIB modes. They follow the image transform commands of the main
// program (Ctrl+I, Ctrl+9, Ctrl+8, Ctrl+7, Ctrl+H, Ctrl+V).
// Every mode keeps the bit depth, colour table and masks; x, y count from
// the top-left corner of the w x h source.
enum DuplicateMode {
  kDuplicateCopy = 1,          // plain copy
  kDuplicateMirrorX = 2,       // mirror left to right: out(x, y) = in(w - 1 - x, y)
  kDuplicateMirrorY = 4,       // mirror top to bottom: out(x, y) = in(x, h - 1 - y)
  kDuplicateInvert = 8,        // negative: every colour channel becomes 255 - v (the
                               // colour table of paletted images; the fourth byte of
                               // 32-bit pixels is kept)
  kDuplicateTurnRight = 16,    // quarter turn clockwise, h x w: out(x, y) = in(y, h - 1 - x)
  kDuplicateHalfTurn = 32,     // half turn: out(x, y) = in(w - 1 - x, h - 1 - y)
  kDuplicateTurnLeft = 48,     // quarter turn counter-clockwise, h x w: out(x, y) = in(w - 1 - y, x)
};

// bitCount 1, 4, 8 (the full colour table, zero-filled: the caller sets the
// colours), 16 (5-5-5), 24 or 32; pixels zero. 0 for other depths, sizes <= 0 or blocks
// beyond 2 GB.

HGLOBAL CreateDIB(int width, int height, int bitCount);
void DestroyDIB(HGLOBAL dib);
HGLOBAL DuplicateDIB(HGLOBAL dib, int mode);
HGLOBAL Duplicate24BitsDIB(HGLOBAL dib);
// The same handle when it already is 24-bit with a 40-byte header and no
// colour table; otherwise a new 24-bit copy (the caller keeps the original).
HGLOBAL TrueColorDIB(HGLOBAL dib);
// Grey level (77 r + 150 g + 29 b) >> 8 in all three channels: of the colour
// table for paletted images, of every pixel otherwise.
BOOL GrayDIB(HGLOBAL dib);

int DIBWidth(LPCSTR lockedDib);
int DIBHeight(LPCSTR lockedDib);
LPSTR FindDIBBits(LPSTR lockedDib);
WORD DIBNumColors(LPCSTR lockedDib);
BOOL IsValidDIB(HGLOBAL dib);

// Copy of the rectangle (image pixels, y from the top) at the same depth
// with the same table. A rectangle partly outside is cut to the image; an
// empty one or one wholly outside gives 0.
HGLOBAL ClipDIBRect(HGLOBAL dib, int left, int top, int width, int height);
// Draws sourceRect (image pixels, y from the top, right and bottom
// exclusive; null = whole image) stretched into destRect, with `palette`
// (may be 0) selected and realized. Enlarging repeats pixels; shrinking
// averages the source pixels under each destination pixel.
BOOL PaintDIB(HDC dc, LPRECT destRect, HGLOBAL dib, LPRECT sourceRect, HPALETTE palette);
// A logical palette of the colour table; the halftone palette for 16-, 24-
// and 32-bit images. The caller deletes it.
HPALETTE CreateDIBPalette(HGLOBAL dib);
// A new 24-bit DIB of a device bitmap (palette may be 0).
HGLOBAL BitmapToDIB(HBITMAP bitmap, HPALETTE palette);
// Every pixel black / the colour (COLORREF 0x00BBGGRR); paletted images get
// the nearest table entry (squared RGB distance, lowest index on ties).
BOOL BlackDIB(HGLOBAL dib);
BOOL SingleColorDIB(HGLOBAL dib, COLORREF colour);
LPVOID DIBAlloc(DWORD bytes);  // zero-filled GPTR block (0 for 0 bytes), freed with GlobalFree

// Masks are fixed GPTR blocks of width x height bytes, rows top-down.
LPBYTE AllocAlpha(HGLOBAL dib);                 // zero-filled
void FreeAlpha(LPBYTE mask);
LPBYTE DuplicateAlpha(HGLOBAL dib, LPBYTE mask);  // copy; 0 when GlobalSize(mask) is too small

// Gradients. A gradient object is one block: a 40-byte header whose 32-bit
// word at byte offset 36 is the entry count n, then n 96-byte entries; the
// layout is declared in outside/bxdib3/gradient_format.h. Gradient objects
// live in the process heap: HeapAlloc(GetProcessHeap(), 0, 40 + 96 * n);
// FreeGradient frees them with HeapFree, so a program's own copy of the
// "GRADIENT" resource "Default" (resources/gradient/default_gradient.rc)
// must be allocated that way too. SetupGradient opens the modeless gradient
// dialog owned by `frame` on a copy of currentGradient (the default table
// when that is not a sound gradient); its window is stored at *dialogVar
// while it is open (and cleared when it closes; a call while it is open
// brings it forward). When the user accepts, the frame receives `message`
// with wParam 0 and lParam = a new gradient object that the frame owns.
HWND SetupGradient(HWND frame, UINT message, LPVOID currentGradient, HWND* dialogVar);
void FreeGradient(LPVOID gradient);
// Colour of the selected entry at `position` in 0..range (clamped; range
// <= 0 gives the start colour), interpolated linearly between stops, as
// blue, green, red bytes in colours[0..2]. FALSE for a gradient that is not
// sound.
BOOL grad_get_color_at(LPCVOID gradient, int position, int range, LPBYTE colours);

// Colour quantisation: an 8-bit index image of `dib` with at most maxColours
// (2..256) entries; the number used is the result's colour count
// (DIBNumColors). An image with no more distinct colours than that maps
// exactly. indexBuffer (width x height bytes, rows top-down, no padding) and
// palette (maxColours RGBQUADs; unused entries zero) are filled when
// non-null. Returns a new 8-bit DIB handle or 0. Deterministic, no dithering.
HGLOBAL IndexDIB(HGLOBAL dib, int maxColours, LPBYTE indexBuffer, RGBQUAD* palette);

// Decodes a JPEG (or any picture WIC reads) into a new 24-bit DIB, or 0.
HGLOBAL ReadJPEGFile(LPCSTR path);

#ifdef __cplusplus
}
#endif
