// What the rocks and the feedback share beyond the animation kit: a fresh
// seed for the module's generator at every play, sliders shown with their
// labels, and the view redrawn on the frame playing stopped at.
#pragma once
#include <ctime>

#include "plugins/animation/animation_run.h"
#include "plugins/animation/module_random.h"

namespace quillo::qlo18 {

class PlaySession : public animation::AnimationSession {
 public:
  void StopPlaying() override {
    if (call.viewWindow) SendMessageA(call.viewWindow, VM_REDRAW, 0, 0);
  }

 protected:
  // Each play draws from the generator seeded with the time in seconds.
  static RuntimeRandom& SeedForPlay() {
    RuntimeRandom& random = animation::ModuleRandom();
    random.Seed(uint32_t(std::time(nullptr)));
    return random;
  }
  void ShowSlider(int id, int low, int high, int value, const char* format = "%d", double shown = -1) {
    SetSlider(id, low, high, value);
    SetLabel(id + 200, format, shown < 0 ? value : shown);
  }
};

}  // namespace quillo::qlo18
