// Pieces shared by the document window, the view and its painting and mouse
// handling. Not used outside the document window files.
#pragma once
#include <windows.h>

#include "app/shell/history_tidy.h"
#include "app/shell/view_layout.h"
#include "document_record.h"

namespace quillo {

constexpr UINT_PTR kAnimationTimer = 100;
constexpr UINT kAnimationStepMs = 100;

// Frees DIBs with DestroyDIB, palettes with DeleteObject and masks with
// FreeAlpha; reads them through GlobalLock.
HistoryAccess& DocumentHandles();

int CurrentIndex(const DocumentRecord* record);
UndoSlot& Current(DocumentRecord* record);

// Lays out the view: scroll bars and ranges from the current image, zoom and
// the document window's client size.
void LayoutDocument(DocumentRecord* record);
// Rebuilds (or drops) the display copy of the current slot.
void RebuildDisplayCopy(DocumentRecord* record);
// Fills width, height and colours of a slot from its image; false when the
// image is not a readable DIB.
bool DescribeSlot(UndoSlot& slot);
// Reads the current slot's width, height and colours again from its image,
// which a running effect may have replaced or resized. A size change drops
// the display copy made for the old size. True when the size changed.
bool RefreshCurrentSlot(DocumentRecord* record);

// The client size of the view.
SIZE ViewClientSize(const DocumentRecord* record);
Rect CurrentSelection(const DocumentRecord* record);  // clamped to the image

LRESULT PaintView(HWND view, DocumentRecord* record);
void PaintOutsideImage(HWND view, DocumentRecord* record);
// XOR focus rectangle of an image rectangle, drawn on the view.
void DrawImageFocusRect(HWND view, const DocumentRecord* record, const Rect& image);

// Mouse messages of the view; false when the message is not handled.
bool HandleViewMouse(HWND view, DocumentRecord* record, UINT message, WPARAM wParam,
                     LPARAM lParam);
bool SetViewCursor(HWND view, DocumentRecord* record);

// One tick of timer 100.
void AnimationTick(DocumentRecord* record);
// Frees the animation structure (if any) and forgets its frames in the slots.
void DropAnimation(DocumentRecord* record);

}  // namespace quillo
