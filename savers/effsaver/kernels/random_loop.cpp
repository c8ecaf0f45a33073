#include "random_loop.h"

namespace quillo::effsaver {

LoopEnd RunRandomLoop(size_t count, RuntimeRandom& random, const std::function<bool()>& closing,
                      const std::function<PlayOutcome(size_t index)>& play) {
  if (count == 0) return LoopEnd::kEmptyCatalogue;
  int failedInARow = 0;
  while (!closing()) {
    const size_t index = size_t(random.Below(int64_t(count)));
    switch (play(index)) {
      case PlayOutcome::kStop:
        return LoopEnd::kStopped;
      case PlayOutcome::kSwitched:
        failedInARow = 0;
        break;
      case PlayOutcome::kNotStarted:
      case PlayOutcome::kEndedItself:
        if (++failedInARow >= kMaxFailedPicks) return LoopEnd::kTooManyFailures;
        break;
    }
  }
  return LoopEnd::kStopped;
}

}  // namespace quillo::effsaver
