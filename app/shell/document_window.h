// Image document windows: an MDI child ("bxViewChild") holding one view
// ("bxViewBmp"), both sharing a DocumentRecord with six undo slots, zoom,
// scroll position, selection, mask display and the state a running effect
// sets up. The frame and the image commands use the functions below.
#pragma once
#include <windows.h>

#include "app/shell/undo_slot.h"

namespace quillo {

struct DocumentRecord;

// Registers "bxViewChild" and "bxViewBmp" for `instance`. FALSE on failure.
BOOL RegisterDocumentClasses(HINSTANCE instance);

// Creates a maximised document window in the MDI client with `title`
// (message 0x464 posted to it). Null on failure.
HWND CreateDocumentWindow(const char* title);
// The record of a document window or of its view; null when missing.
DocumentRecord* RecordOf(HWND documentOrView);
// The active document window of the MDI client, or null.
HWND ActiveDocument();
// The view of a document window.
HWND ViewOf(HWND document);

// Fills slot 0 with `image` (taken over) and `mask` (taken over, may be
// null), makes the palette, sets colours and size, zeroes the scroll state,
// applies best fit when the setting is on, lays out and repaints. Releases
// whatever slot 0 held before. On failure (no record, unreadable image) the
// image and mask are freed and FALSE returned. A mask smaller than width x
// height bytes is freed and the image shown without one.
BOOL SetDocumentImage(HWND document, HGLOBAL image, LPBYTE mask);
// Replaces the current image with a new undo step (PushUndoSlot) holding
// `image`, its palette and size; `mask` becomes the step's mask. On failure
// the image and mask are freed unless a document's slots still hold them.
BOOL PushDocumentImage(HWND document, HGLOBAL image, LPBYTE mask);

UndoSlot* CurrentSlot(HWND document);
HGLOBAL CurrentImage(HWND document);
bool HasUndoStep(HWND document);
// Undo: pops the newest step (never slot 0), lays out and repaints.
void UndoDocument(HWND document);
// Selection in image pixels (left, top, right, bottom), clamped to the image.
RECT DocumentSelection(HWND document);
bool HasSelection(HWND document);  // non-empty in both directions
int MaskDisplayMode(HWND document);

// Zoom commands: next / previous ladder value, 1.0.
void ZoomDocument(HWND document, int direction);  // +1 in, -1 out, 0 actual size
float DocumentZoom(HWND document);

// The document window whose undo slots hold `image`, or null (message 2104).
HWND FindDocumentHolding(HGLOBAL image);
// The document window whose undo slots hold `mask`, or null.
HWND FindDocumentHoldingMask(LPBYTE mask);
// Title (path or caption) of a document window.
const char* DocumentTitle(HWND document);
void SetDocumentTitle(HWND document, const char* title);

// After an effect: frees stale display copies and lets the newest step share
// the previous step's mask and image when they carry nothing new; then
// rebuilds the display copy.
void TidyDocumentHistory(HWND document);

// ---- Effect runs -----------------------------------------------------------
// Opens a tentative undo step holding `image` (taken over) and `mask` (taken
// over, may be null) for an effect to work on. Nothing older is released
// until the step is kept. Null (image and mask freed) on failure. Only one
// step is open at a time.
UndoSlot* BeginEffectStep(HWND document, HGLOBAL image, LPBYTE mask);
// Keeps the open step (its size and palette are read again from whatever
// image the effect left in it) or takes it back, leaving the history as it
// was before BeginEffectStep. True when the step was kept.
bool EndEffectStep(HWND document, bool keep);
// The document's selection rectangle, clamped to the image, when it is more
// than 10 pixels wide and high; otherwise null. The address stays valid while
// the document exists.
INT32* EffectSelection(HWND document);
void SetMaskDisplayMode(HWND document, int mode);
// Lays the view out again (after the image changed size) and repaints it.
void RelayoutDocument(HWND document, bool erase);
// Reads the current image's size again (a running effect may have resized
// it) and, when it changed, lays out and repaints the view.
void FollowImageSize(HWND document);

// How the document reads and frees an animation structure of the GIF loader.
struct AnimationAccess {
  int (*frameCount)(void* animation);
  HGLOBAL (*frame)(void* animation, int index);  // owned by the animation
  void (*release)(void* animation);
};
// Plays `animation` (taken over) in the document: frame 0 becomes the slot-0
// image and timer 100 advances a frame every animation interval. The frames
// stay owned by the animation. FALSE (animation released) on failure.
BOOL SetDocumentAnimation(HWND document, void* animation, const AnimationAccess* access);

}  // namespace quillo
