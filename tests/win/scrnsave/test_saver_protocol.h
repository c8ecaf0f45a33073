// What the test saver shares with the test that drives it; the resource
// script reads the defines too.
#pragma once

#define TEST_SAVER_SETTINGS_CAPTION "Test saver settings"
#define TEST_SAVER_SWATCH_CLASS "QuilloTestSaverSwatch"

#ifndef RC_INVOKED
// Sent to the saver's window; wParam picks the question.
constexpr char kSaverQueryMessage[] = "QuilloTestSaverQuery";
enum SaverQuestion {
  kAskIsPreview,       // answers fChildPreview
  kAskIsMainWindow,    // answers whether hMainWindow is the window asked
  kAskFirstMouse,      // answers the lParam of the first WM_MOUSEMOVE, or -1 before one
};
#endif
