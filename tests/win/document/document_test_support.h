// A frame-like top-level window with an MDI client for the document window
// tests, the frame services the document windows call, and a record of the
// DIBs and masks they free.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace quillo::test {

// Creates (once) the frame and an MDI client whose client area is
// width x height, and registers the document classes.
void EnsureFrame(int clientWidth, int clientHeight);
// Resizes the MDI client's client area.
void SizeMdiClient(int clientWidth, int clientHeight);
// Dispatches every pending message of this thread.
void Pump();
// Closes every document window.
void CloseAllDocuments();

// Handles that DestroyDIB / FreeAlpha received, in order.
std::vector<HGLOBAL>& FreedDibs();
std::vector<void*>& FreedMasks();
int RefreshCount();
std::string LastStatusText();

}  // namespace quillo::test
