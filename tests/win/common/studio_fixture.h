// The studio run inside a test program: started with its frame and windows
// as the real program starts them, the start-up logo dismissed, and driven
// with messages.
#pragma once
#include <windows.h>

namespace quillo::test {

// Starts the studio (StartStudio's result: -1 when it runs); the
// accelerator table it loaded goes to *accelerators when asked.
int StartInProcessStudio(HACCEL* accelerators = nullptr);
// Starts the studio the first time it is called and keeps it for the rest of
// the test program (its window classes stay registered, so it cannot start
// twice); it is stopped after the last suite. Returns what the first start
// returned.
int StartStudioOnce();
// Destroys the frame and shuts the studio down.
void StopInProcessStudio();
// Runs the thread's pending messages for a few short rounds.
void PumpMessages(int rounds = 5);
// Closes every document window.
void CloseAllDocuments();

}  // namespace quillo::test
