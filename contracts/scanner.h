// The scanner library "BXTwain.DLL": MyTwain shows an acquisition window
// owned by `frame`, stores it in *windowVariable while it exists, hands every
// acquired page to the frame with message 2086 (lParam = DIB handle; the
// frame takes it over when it answers 0) and returns when the window closes.
#pragma once
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

void MyTwain(HWND frame, HWND* windowVariable);

#ifdef __cplusplus
}
#endif
