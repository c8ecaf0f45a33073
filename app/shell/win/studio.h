// Start-up, message loop and shutdown of the studio, callable from the
// program's entry point and from tests that run the frame in-process.
#pragma once
#include <windows.h>

namespace quillo {

// Runs the start-up sequence. Returns -1 when the frame is up (and sets
// *accelerators), otherwise the program's exit code: 1 after "Save Directory
// only", 0 when the resource module, a window class or the frame failed.
int StartStudio(HINSTANCE instance, const char* commandLine, int show, HACCEL* accelerators);
// The message loop: accelerators, MDI keys, the effect browser's dialog keys.
void RunStudioLoop(HACCEL accelerators);
// Releases what start-up made and writes the program directory setting.
void StopStudio();

}  // namespace quillo
