// The state of one image document window, shared by the "bxViewChild"
// window and its "bxViewBmp" view (window word 0 of both). Allocated
// zero-filled when the document window is created, freed when the view is
// destroyed. Handles and addresses are pointer-sized, every other word is a
// 32-bit integer, in this order.
#pragma once
#include <windows.h>

#include "app/shell/undo_slot.h"

namespace quillo {

// Called with (view window, device context) before and after the image is
// drawn; set by a running effect through messages 2055 and 2056.
using PaintHook = void(WINAPI*)(HWND view, HDC dc);

struct DocumentRecord {
  INT32 unused0;
  HWND view;                 // the "bxViewBmp" child
  HWND document;             // the "bxViewChild" window
  INT32 animationTimer;      // non-zero while timer 100 runs for a GIF animation
  UndoSlot slots[kUndoSlotCount];
  INT32 animationElapsed;    // milliseconds since the last frame change
  INT32 animationFrame;     // index of the frame shown in slot 0
  INT32 hMax, hPos, vMax, vPos;  // scroll state, image pixels
  float zoom;
  INT32 selection[4];        // left, top, right, bottom; all 0 = none
  INT32 sharedRectCopy[4];   // the effect's shared rectangle as last seen
  INT32 lastPoint[2];        // client position of the last mouse event
  INT32 dragging;            // 1 during a left-button drag
  INT32 reserved2;
  INT32 maskDisplayMode;     // 0 show the mask as checkerboard blend, 1 hide it
  INT32 dragAnchor[2];       // image point where a drag started
  HWND toolWindow;           // running effect's dialog (message 2057)
  INT32 toolMessage;
  INT32 reserved3;
  INT32 effectActive;        // lParam of message 2065; 0 clears the tool state
  INT32* sharedRect;         // four integers owned by the running effect
  PaintHook prePaint;
  PaintHook postPaint;
  INT32 dragIndex;           // 0 while the shared rectangle is dragged, -1 idle
  void* animation;           // GIF animation structure, or null
  char title[300];
};

static_assert(sizeof(void*) != 4 || sizeof(DocumentRecord) == 608,
              "DocumentRecord is 608 bytes in 32-bit builds");

// Window words of the view other than the record (messages 2073-2078, 2125-2128).
constexpr int kViewWord8 = 8;
constexpr int kViewWord12 = 12;
constexpr int kViewWord16 = 16;
constexpr int kWindowExtraBytes = 20;

}  // namespace quillo
