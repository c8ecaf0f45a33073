// The studio's process-wide state (one UI thread) and the frame services
// every part of the shell uses. Defined by the frame (frame_*.cpp).
#pragma once
#include <windows.h>

namespace quillo {

struct AppState {
  HINSTANCE instance = nullptr;   // the program itself
  HINSTANCE resources = nullptr;  // "BXFUN.R"
  HINSTANCE uiModule = nullptr;   // from MyGetUIInit: bitmaps "BkGnd", "Thumb"
  HWND frame = nullptr;
  HWND mdiClient = nullptr;
  HWND statusLine = nullptr;
  HWND effectBrowser = nullptr;
  HWND effectDialog = nullptr;    // the running effect's dialog, if any
  HWND scannerWindow = nullptr;
  HWND playerWindow = nullptr;
  HWND captureWindows[2] = {nullptr, nullptr};
  int activeEffect = 0;
  // Set by the effect host for the whole of an effect run, whatever the
  // plug-in signals: the document the run works on (null for a run without
  // a picture) and whether a run is in progress at all.
  HWND effectDocument = nullptr;
  bool effectRunning = false;
  // The newest frame a running animation reported (message 2118); null when
  // none did. Belongs to the effect: valid only while the run lasts.
  HGLOBAL effectFrame = nullptr;
  int thumbnailFlag = 1;
  int bestFitFlag = 0;
  int viewMode = 0;               // 0 select, 1 magnifier, 2 zoom to rectangle
  int animationInterval = 3000;   // milliseconds
  HFONT fontLarge = nullptr;      // Arial, height 14
  HFONT fontSmall = nullptr;      // Arial, height 12
  HCURSOR effectCursor = nullptr;
  // Word 7 of the running effect's host context: 1 while the effect marks
  // itself busy, when the frame lets mouse input pass through.
  const UINT_PTR* effectBusy = nullptr;
  LPVOID gradient = nullptr;
  // Developer switches of the command line.
  bool saveDibHandle = false, saveGrayDib = false, saveBmpHandle = false;
  bool debugMode = false, getSetupInfo = false, readMyFile = false;
};

extern AppState g_app;

// True while an effect is active: the effect said so (message 2065), or the
// host is running one. Commands that change the picture and closing are
// refused meanwhile.
inline bool EffectInProgress() { return g_app.activeEffect != 0 || g_app.effectRunning; }

// String `id` of the resource module in a shared 500-byte buffer (empty when
// missing). The text stays valid until the next call.
const char* LoadResString(UINT id);
// The directory of the running program, without a trailing backslash.
const char* ProgramDirectory();
// Shows `text` in the status line.
void SetStatusText(const char* text);
// Enables and disables the tool buttons for the active document.
void RefreshToolButtons();
// Places the MDI client, status line and thumbnail pane in the frame.
void LayoutFrame();

}  // namespace quillo
