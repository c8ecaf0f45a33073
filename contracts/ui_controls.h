// The user-interface controls library "BXUI.DLL": slider, progress bar and
// image preview controls used by effect dialogs. UIInit registers the window
// classes below; dialog templates place them by class name.
#pragma once
#include <windows.h>

#define BXUI_SLIDER_CLASS "BXSlider"
#define BXUI_PROGRESS_CLASS "BXProgress"
#define BXUI_PREVIEW_CLASS "BXPreview"

// Slider
#define SL_SETPOS 1025    // wParam position, lParam 1 = redraw
#define SL_GETPOS 1026    // returns the position
#define SL_SETRANGE 1028  // lParam: low 16 bits minimum, high 16 bits maximum (signed)
// Progress bar
#define PB_SETPERCENT 1025  // wParam 0..100
// Preview
#define PV_GET_PICTURE 2096  // returns the DIB handle the control shows
#define PV_SET_PICTURE 2100  // wParam: DIB handle; the control keeps a reduced 24-bit copy

#ifdef __cplusplus
extern "C" {
#endif

BOOL UIInit(HINSTANCE instance);

#ifdef __cplusplus
}
#endif
