// What the probe effect module records about the call a host makes, and how
// it behaves. The test keeps the module loaded, so this state outlives the
// host's own load and unload around each run.
#pragma once
#include <windows.h>

struct ProbeState {
  // Behaviour.
  int result = 1;           // what the effect function returns
  bool invert = false;      // invert the image it was given
  bool replaceImage = false;  // hand back a new 24-bit image of 7 x 5 pixels
  bool activeOnFrameOnly = false;  // signal 2065 to the frame, never to the view
  void (*duringRun)(void* context) = nullptr;  // called inside the run
  void* duringRunContext = nullptr;
  // Recorded arguments of the last call.
  int calls = 0;
  HWND owner = nullptr, view = nullptr;
  UINT notify = 0;
  int effectValue = 0;
  UINT_PTR context[12] = {};
  bool imageGiven = false, selectionGiven = false, maskGiven = false;
  HGLOBAL image = nullptr;
  INT32 selection[4] = {};
  BYTE* mask = nullptr;
  int imageWidth = 0, imageHeight = 0;
  // Valid during the run only.
  UINT_PTR* runContext = nullptr;
  HGLOBAL* imageAddress = nullptr;
  HWND dialog = nullptr;
};

using ProbeStateFunction = ProbeState* (*)();
