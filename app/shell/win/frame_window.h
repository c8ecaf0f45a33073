// The studio's main frame ("bxView"): MDI client with its tiled background,
// tool buttons, status line, menus with help texts, the recent-files list and
// the frame's private messages.
#pragma once
#include <windows.h>

#include <string>

namespace quillo {

BOOL RegisterFrameClass(HINSTANCE resources);
// Creates the frame at the remembered position (or the system default).
HWND CreateFrame(HINSTANCE resources);
// Loads the frame's bitmaps ("Bar", "Back") and settings read at start.
void LoadFrameResources();
void FreeFrameResources();
// Enters an opened file into the recent-files list and rebuilds its menu.
void EnterRecentFileAndMenu(const char* path);
// Path of recent-files entry `index` (0 = newest).
const std::string& RecentFilePath(int index);
// Frame command dispatch (frame_commands.cpp).
void OnFrameCommand(HWND frame, WPARAM wParam, LPARAM lParam);

}  // namespace quillo
