// Steps aside the windows that must not be used while a modal dialog or
// message box of the studio runs: the effect browser, a running effect's
// dialog and its panel. Otherwise OK or Apply of the effect could run inside
// the modal loop, and the browser would come back over a running effect.
#pragma once
#include <windows.h>

namespace quillo {

class ModalStep {
 public:
  ModalStep();   // hides whichever of the three windows are shown
  ~ModalStep();  // shows exactly those again
  ModalStep(const ModalStep&) = delete;
  ModalStep& operator=(const ModalStep&) = delete;

 private:
  HWND hidden_[3] = {};
};

}  // namespace quillo
