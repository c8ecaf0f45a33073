// Small helpers effect dialogs use to set up and read their controls.
#pragma once
#include <windows.h>

#include <cstdio>

#include "contracts/ui_controls.h"

namespace quillo {

inline void SetSlider(HWND dialog, int id, int minimum, int maximum, int position) {
  HWND slider = GetDlgItem(dialog, id);
  if (!slider) return;
  SendMessageA(slider, SL_SETRANGE, 0, MAKELPARAM(WORD(SHORT(minimum)), WORD(SHORT(maximum))));
  SendMessageA(slider, SL_SETPOS, WPARAM(position), 1);
}

inline int SliderPosition(HWND dialog, int id) {
  HWND slider = GetDlgItem(dialog, id);
  return slider ? int(SendMessageA(slider, SL_GETPOS, 0, 0)) : 0;
}

inline void FormatInt(char* label, size_t size, int value) { std::snprintf(label, size, "%d", value); }
inline void FormatReal(char* label, size_t size, double value) {
  std::snprintf(label, size, "%.2f", value);
}

inline void SetLabelInt(HWND dialog, int id, int value) {
  char text[32];
  FormatInt(text, sizeof text, value);
  SetDlgItemTextA(dialog, id, text);
}

inline void SetLabelReal(HWND dialog, int id, double value) {
  char text[32];
  FormatReal(text, sizeof text, value);
  SetDlgItemTextA(dialog, id, text);
}

inline void SetLabelText(HWND dialog, int id, const char* format, double value) {
  char text[32];
  std::snprintf(text, sizeof text, format, value);
  SetDlgItemTextA(dialog, id, text);
}

inline bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

}  // namespace quillo
