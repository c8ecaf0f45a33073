#include "timer_dialog.h"

#include <cstdio>

#include "app/shell/app_state.h"
#include "contracts/ui_controls.h"
#include "effect_browser.h"
#include "grey_dialog.h"
#include "modal_step.h"

namespace quillo {

namespace {

constexpr int kSlider = 100;
constexpr int kSeconds = 101;

void ShowSeconds(HWND dialog, int position) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", position * 0.1);
  SetDlgItemTextA(dialog, kSeconds, text);
}

INT_PTR CALLBACK TimerDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      HWND slider = GetDlgItem(dialog, kSlider);
      SendMessageA(slider, SL_SETRANGE, 0, MAKELPARAM(1, 300));
      const int position = g_app.animationInterval / 100;
      SendMessageA(slider, SL_SETPOS, WPARAM(position), 1);
      SetWindowLongPtrA(dialog, DWLP_USER, position);  // Cancel goes back to it
      ShowSeconds(dialog, int(SendMessageA(slider, SL_GETPOS, 0, 0)));
      return TRUE;
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case kSlider: {
          // Every running animation takes the new pace at once.
          const int position = int(SendDlgItemMessageA(dialog, kSlider, SL_GETPOS, 0, 0));
          ShowSeconds(dialog, position);
          g_app.animationInterval = position * 100;
          return TRUE;
        }
        case IDOK: {
          const int position = int(SendDlgItemMessageA(dialog, kSlider, SL_GETPOS, 0, 0));
          char text[16];
          std::snprintf(text, sizeof text, "%d", position * 100);
          WritePrivateProfileStringA("Meridian", "Timer", text, "bexadbms.ini");
          g_app.animationInterval = position * 100;
          EndDialog(dialog, IDOK);
          return TRUE;
        }
        case IDCANCEL:
          g_app.animationInterval = int(GetWindowLongPtrA(dialog, DWLP_USER)) * 100;
          EndDialog(dialog, IDCANCEL);
          return TRUE;
      }
      break;
  }
  return GreyDialogColours(message, wParam);
}

}  // namespace

void RunTimerDialog(HWND frame) {
  ModalStep aside;
  DialogBoxParamA(g_app.resources, "Timer", frame, TimerDialogProc, 0);
}

}  // namespace quillo
