// The user-interface controls library "BXUI.DLL": slider, progress bar and
// image preview controls used by effect dialogs. UIInit registers the window
// classes below; dialog templates place them by class name.
#pragma once
#include <windows.h>

#define BXUI_SLIDER_CLASS "BXSlider"
#define BXUI_PROGRESS_CLASS "BXProgress"
#define BXUI_PREVIEW_CLASS "BXPreview"

// Slider
#define SL_SETPOS 1025    // wParam position (clamped to the range), lParam 1 = redraw
#define SL_GETPOS 1026    // returns the position
#define SL_SETRANGE 1028  // lParam: low 16 bits minimum, high 16 bits maximum (signed)
// Slider window styles (low word of the window style).
#define BXSL_VERTICAL 0x0001  // minimum at the top, maximum at the bottom
#define BXSL_TICKS 0x0002     // tick marks at every tenth of the range
// The slider tells its parent about changes with WM_COMMAND, LOWORD(wParam) =
// the slider's ID, HIWORD(wParam) = 0:
//   lParam = the slider's window: a change in progress (dragging, a repeated
//            click on the channel, a held-down key);
//   lParam = 0: the end of a change (button released, a single key press, the
//            release of a held-down key).
// SL_SETPOS and SL_SETRANGE never notify.

// Progress bar
#define PB_SETPERCENT 1025  // wParam 0..100 (clamped); returns the previous percent
// Progress bar window styles.
#define BXPB_SMOOTH 0x0001   // one continuous bar instead of blocks
#define BXPB_PERCENT 0x0002  // the percent written in the middle

// Preview
#define PV_GET_PICTURE 2096  // returns the DIB handle the control shows
#define PV_SET_PICTURE 2100  // wParam: DIB handle; the control keeps a reduced 24-bit copy
// PV_SET_PICTURE reduces the picture (any depth of 1, 4, 8, 16, 24 or 32 bits)
// to fit the control's client area inside its one-pixel border, keeping the
// aspect ratio and never enlarging it, and returns the copy (0 on failure or
// when wParam is 0). The copy belongs to the control: it is freed by the next
// PV_SET_PICTURE and when the control is destroyed. Callers may write into its
// pixels; the control paints from them each time it is invalidated.

#ifdef __cplusplus
extern "C" {
#endif

BOOL UIInit(HINSTANCE instance);

#ifdef __cplusplus
}
#endif
