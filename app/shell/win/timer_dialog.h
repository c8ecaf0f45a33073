// The animation interval dialog "Timer": a slider from 0.1 to 30 seconds
// that changes the pace of every running animation at once; OK stores the
// interval in the settings, Cancel puts the old pace back.
#pragma once
#include <windows.h>

namespace quillo {

void RunTimerDialog(HWND frame);

}  // namespace quillo
