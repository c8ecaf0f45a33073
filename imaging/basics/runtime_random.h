// The runtime library's random generator: state = state x 214013 + 2531011
// (32-bit wrap-around), each draw bits 16 to 30 of the new state (0 to
// 32767). Effects hold one as an object and hand it to their kernels, so a
// kernel's output is fixed by its inputs and the generator's state.
#pragma once
#include <cstdint>

namespace quillo {

class RuntimeRandom {
 public:
  static constexpr int kMax = 0x7FFF;

  explicit RuntimeRandom(uint32_t seed = 1) : state_(seed) {}

  void Seed(uint32_t seed) { state_ = seed; }
  uint32_t state() const { return state_; }

  // One draw, 0 to kMax.
  int Next() {
    state_ = state_ * 214013u + 2531011u;
    return int((state_ >> 16) & kMax);
  }
  // "rand mod n": one draw's remainder by n as C's % gives it (never
  // negative, since a draw is not; a negative n acts as |n|). n = 0 gives 0
  // and still takes the draw, so later draws do not depend on n.
  int Below(int64_t n) {
    const int draw = Next();
    return n != 0 ? int(draw % n) : 0;
  }

 private:
  uint32_t state_;
};

}  // namespace quillo
