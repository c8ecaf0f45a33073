// The studio's own push buttons drawn from picture strips: the tool buttons
// of the frame's button bar ("Bexa BMP BTN Class") and the "Pack" / "Saver"
// buttons of the effect panel ("PlugExBtn"). A strip holds pictures of equal
// size stacked top to bottom; the button shows one of them by state, tracks
// the mouse itself (capture while hovered) and posts WM_COMMAND (wParam = its
// identifier, lParam = its window) when a press is released inside it.
#pragma once
#include <windows.h>

namespace quillo {

inline constexpr char kToolButtonClass[] = "Bexa BMP BTN Class";
inline constexpr char kPanelButtonClass[] = "PlugExBtn";

// Creation record of a tool button (fourteen words, the creation parameter;
// the button keeps a heap copy and owns `bitmap` from then on).
struct ToolButtonRecord {
  HWND self;         // set at creation
  HWND target;       // receives WM_COMMAND
  INT32 pressed;
  INT32 hover;       // the mouse is captured while hovering
  INT32 inside;      // the pointer is inside the client rectangle
  HBITMAP bitmap;    // strip of four pictures (may be null: plain face)
  INT32 width;       // picture width = bitmap width
  INT32 height;      // picture height = bitmap height / 4
  INT32 released;    // cleared on release
  INT32 creator[5];  // creator's words (white, 2, 2, 50, 50); not read
};

// Creation record of an effect-panel button. The command goes to the frame.
struct PanelButtonRecord {
  HWND self;
  INT32 pressed;
  INT32 hover;
  INT32 inside;
  INT32 animated;    // 1: six pictures, frames advance every 300 ms
  INT32 frame;       // animation frame 0..3
  HBITMAP bitmap;    // strip of six (animated) or four pictures; may be null
  INT32 width;
  INT32 height;
  INT32 released;    // cleared on release
  INT32 unused[4];
};

static_assert(sizeof(void*) != 4 || sizeof(ToolButtonRecord) == 56, "tool button record is 14 words");
static_assert(sizeof(void*) != 4 || sizeof(PanelButtonRecord) == 56, "panel button record is 14 words");

// Registers both classes for `instance`. FALSE when either fails.
BOOL RegisterBitmapButtonClasses(HINSTANCE instance);

// A tool button at (x, y) of `parent` showing bitmap `bitmapName` of the
// program (g_app.instance) with `caption` over it, posting `commandId` to
// `parent`. A missing bitmap leaves a plain 50 x 50 face with the caption.
HWND CreateToolButton(HWND parent, int x, int y, const char* bitmapName, const char* caption,
                      int commandId);
// The same with a strip already made; the button owns it (deleted with it,
// or at once when creation fails).
HWND CreateToolButtonWithBitmap(HWND parent, int x, int y, HBITMAP strip, const char* caption,
                                int commandId);

// An effect-panel button ("Pack" animated, "Saver" not) in `parent`; its
// command goes to g_app.frame (to `parent` while there is no frame).
HWND CreatePanelButton(HWND parent, int x, int y, const char* bitmapName, int commandId,
                       bool animated);
HWND CreatePanelButtonWithBitmap(HWND parent, int x, int y, HBITMAP strip, int commandId,
                                 bool animated);

// Animation timer of the panel buttons.
inline constexpr UINT_PTR kPanelAnimationTimer = 100;
inline constexpr UINT kPanelAnimationMs = 300;

// Caption colours of the tool buttons.
inline constexpr COLORREF kCaptionNormal = RGB(0, 0, 0);
inline constexpr COLORREF kCaptionInside = RGB(255, 0, 0);
inline constexpr COLORREF kCaptionDisabled = RGB(127, 127, 127);

}  // namespace quillo
