// The saver's switch time between packages ("Saver" / "Time", minutes).
#pragma once
#include <cstdint>

namespace quillo::package {

constexpr int kDefaultSwitchMinutes = 5;
constexpr int kMinSwitchMinutes = 1;
constexpr int kMaxSwitchMinutes = 30;

// The stored value when it lies in 1..30, otherwise (a missing key reads as
// the default) 5.
inline int SwitchMinutes(int stored) {
  return stored >= kMinSwitchMinutes && stored <= kMaxSwitchMinutes ? stored : kDefaultSwitchMinutes;
}
// Ticks of one second between switches.
inline uint32_t SwitchTicks(int minutes) { return uint32_t(SwitchMinutes(minutes)) * 60u; }

}  // namespace quillo::package
