// The shared imaging library "BXCOMM.DLL": the cubic B-spline resampler
// every module uses to bring pictures to a working size, text-to-image
// helpers, a colour stretch, a tiling copy, a two-colour converter and thin
// wrappers around the common file and font dialogs.
//
// All exports are WINAPI (stdcall in the 32-bit build) with plain names.
// Images are DIB handles of the DIB services (dib_services.h); 24-bit rows
// are bottom-up with a stride of ((width * 24 + 31) / 32) * 4 bytes.
//
// GetMeridianDIR, MyGetOpenFile(Ex) and MyGetSaveFile(Ex) return one static
// 400-character buffer of the library: every call overwrites it, so the
// returned text is valid until the next such call, and these functions are
// for the user-interface thread only.
//
// Paths the library builds (its directory, a backslash and a sub-directory
// name) are bounded by that buffer: a path that would not fit gets the
// call's failure result and the current directory is left unchanged.
#pragma once
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

// A new 24-bit DIB of newWidth x newHeight resampled from `dib` (any depth
// the DIB services read) with a separable cubic B-spline (support 2,
// widened by old / new when shrinking). Resampling the same size is a
// slight blur: weights 0.0208, 0.4792, 0.4792, 0.0208 on p[i-2..i+1].
// Edges mirror; sources narrower than the filter (1 or 2 pixels) are
// clamped into range. Null for a null or unsound source, a size below 1,
// or no memory (then with MessageBeep(0)). The source is not changed.
HGLOBAL WINAPI ZoomDIBEx(HGLOBAL dib, int newWidth, int newHeight);

// Stretches saturation and value of the selection (left, top, right,
// bottom; y from the top, right and bottom exclusive; null, invalid or
// empty = whole image) of the 24-bit DIB at *dib to the full 0..1 range,
// in place. The first two arguments are not used. 1 on success, 0 for a
// null address or a DIB that is not sound 24-bit.
int WINAPI CStretch(int unused1, int unused2, HGLOBAL* dib, INT32* selection);

// Checks that the DIB at *dib can be locked and duplicated; changes no
// pixel. 1 when it can, 0 otherwise. The other arguments are not used.
int WINAPI Blur(int value, int unused, HGLOBAL* dib, INT32* selection, int value2, int value3);

// Fills the whole 24-bit `target` with the 24-bit `source` repeated as
// tiles, starting at source column startColumn and row startRow (y from the
// top, both reduced modulo the source size). 1 when done, 0 when either
// handle is not a sound 24-bit DIB.
int WINAPI ReadDIBBlock(HGLOBAL target, HGLOBAL source, int startColumn, int startRow);

// A new 24-bit DIB of a 1-bit DIB: set bits take `colour`, clear bits its
// inverse (each byte XOR 255). The header is the input's with bit count
// 24, no colour table and the image size filled in. A 24-bit input is
// duplicated unchanged. Any other depth is read as one bit per pixel after
// its stated header and colour table; null when those rows do not lie
// inside the block.
HGLOBAL WINAPI Convert2To24BitsDIB(HGLOBAL dib, COLORREF colour);

// A monochrome bitmap of `text` (DrawText with `format` | DT_NOPREFIX,
// measured with DT_CALCRECT) in `font` (null = the DC's default), white
// text on black. The caller deletes it. Null for a null or empty text.
HBITMAP WINAPI GetTextBitmap(LPCSTR text, HFONT font, UINT format);

// The text as a 24-bit DIB: the text in `colour`, the background in its
// inverse. Null for a null or empty text or a failure.
HGLOBAL WINAPI GetTextDIB(LPCSTR text, HFONT font, UINT format, COLORREF colour);

// Draws `text` bent between two guide lines into `dc` with its current
// font: the outline of the text drawn at (0, 0) is mapped so that its top
// edge follows `top` and its bottom edge `bottom`, point u of the way along
// the text taking guide point trunc((count - 1) u). Filled black (no pen)
// unless `outline`, then stroked with the current pen. 1 when drawn; 0 for
// an empty text, a guide count below 1, a null guide array, an outline
// point that maps outside a guide array, or no path.
int WINAPI DrawTextFX(HDC dc, const POINT* top, const POINT* bottom, int topCount,
                      int bottomCount, LPCSTR text, BOOL outline);

// The font dialog (screen fonts, effects) starting from `font` (the system
// font when null). A new font the caller deletes, or null when cancelled.
HFONT WINAPI GetSelectFont(HWND owner, HFONT font);

// The library's own directory without a trailing backslash, in the static
// buffer; null when the module path does not fit.
LPSTR WINAPI GetMeridianDIR(void);
// Makes "<library directory>\<name>" the current directory. 0 on success,
// -1 on failure (also for a null name or a path that would not fit).
int WINAPI MyChDir(LPCSTR name);

// The common open dialog (filter index 1, read-only box hidden) with a
// filter in the dialog's "name\0pattern\0...\0" form (null = all files,
// "*.*") and a title. The chosen path in the static buffer, or null when
// cancelled (the buffer then holds an empty string).
LPSTR WINAPI MyGetOpenFile(HWND owner, LPCSTR filter, LPCSTR title);
// As MyGetOpenFile after making "<library directory>\<subDirectory>" the
// current directory; null without a dialog when that path would not fit.
LPSTR WINAPI MyGetOpenFileEx(HWND owner, LPCSTR filter, LPCSTR subDirectory, LPCSTR title);
// The common save dialog (read-only box hidden, asks before overwriting).
LPSTR WINAPI MyGetSaveFile(HWND owner, LPCSTR filter, int unused);
LPSTR WINAPI MyGetSaveFileEx(HWND owner, LPCSTR filter, int unused, int unused2);

#ifdef __cplusplus
}
#endif
