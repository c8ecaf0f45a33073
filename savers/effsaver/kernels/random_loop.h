// The random mode's loop: pick an effect of the catalogue at random, play
// it until the saver ends it, pick the next. Portable: the Win32 shell
// supplies how one effect is played.
#pragma once
#include <cstddef>
#include <functional>

#include "imaging/basics/runtime_random.h"

namespace quillo::effsaver {

// Picks in a row that may fail before the loop gives up and leaves the
// still picture on screen.
constexpr int kMaxFailedPicks = 10;

enum class PlayOutcome {
  kNotStarted,   // module or function missing
  kEndedItself,  // the effect returned before the saver ended it
  kSwitched,     // the saver ended it to switch to the next effect
  kStop,         // nothing more can be played (no fresh image)
};

enum class LoopEnd { kEmptyCatalogue, kTooManyFailures, kStopped };

// Repeats: stop when `closing` says so; pick index = rand() mod count; play
// it. A pick that could not start, or whose effect ended on its own, counts
// as failed; after kMaxFailedPicks failed picks in a row the loop ends, so a
// catalogue of broken or instantly returning effects cannot spin forever
// without ever handling the saver's messages.
LoopEnd RunRandomLoop(size_t count, RuntimeRandom& random, const std::function<bool()>& closing,
                      const std::function<PlayOutcome(size_t index)>& play);

}  // namespace quillo::effsaver
