#include "modal_step.h"

#include "app/shell/app_state.h"
#include "effect_host.h"
#include "effect_panel.h"

namespace quillo {

ModalStep::ModalStep() {
  const HWND windows[3] = {g_app.effectBrowser, CurrentEffectDialog(), EffectPanel()};
  for (int i = 0; i < 3; ++i) {
    if (windows[i] && IsWindowVisible(windows[i])) {
      ShowWindow(windows[i], SW_HIDE);
      hidden_[i] = windows[i];
    }
  }
}

ModalStep::~ModalStep() {
  for (int i = 0; i < 3; ++i) {
    HWND window = hidden_[i];
    if (!window || !IsWindow(window)) continue;
    // The browser never comes back over a running effect, even one that
    // started while the modal step ran.
    if (window == g_app.effectBrowser && g_app.effectRunning) continue;
    ShowWindow(window, i == 0 ? SW_SHOW : SW_SHOWNA);
  }
}

}  // namespace quillo
