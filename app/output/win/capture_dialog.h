// AVI capture of a running animation: the file chosen with the save dialog,
// the modeless capture dialog "Pages" (step, output size, scale, record,
// stop, close) and the frames the running effect reports while recording.
#pragma once
#include <windows.h>

namespace quillo {

// Command 10415 for the active `document`: checks Video for Windows, asks
// for the file and opens the capture dialog owned by `frame` (registered
// as the studio's first capture window while it is open).
void StartAviCapture(HWND frame, HWND document);

// A new frame of the running effect (frame message 2118): written while
// recording; the first one opens the file and asks for the codec.
void CaptureEffectFrame(HGLOBAL frame);

}  // namespace quillo
