// Flares: bursts of glowing rays thrown from emitters that wander over the
// picture on slow cosine paths. Each frame the rays are drawn anew into a
// cleared heat field, anti-aliased and fading from the emitter outwards,
// and the field is coloured through a warm palette and laid over the
// picture like light (a pixel without heat keeps the picture's colour).
// Field and rays count rows from the top of the picture.
#pragma once
#include <cstdint>
#include <vector>

#include "imaging/basics/runtime_random.h"
#include "plugins/qlo16/kernels/flamme.h"

namespace quillo::qlo16 {

constexpr int kFlaresMinEmitters = 1, kFlaresMaxEmitters = 100, kFlaresDefaultEmitters = 20;
// Ray lengths are measured for at most this many emitters.
constexpr int kFlaresLengthEmitters = 20;
constexpr int kFlaresMinShift = -255, kFlaresMaxShift = 255;
// Rays shorter than this are drawn this long.
constexpr int kFlaresMinRay = 10;

struct FlaresState {
  int width = 0, height = 0;
  std::vector<uint8_t> heat;  // width x height
  int emitters = kFlaresDefaultEmitters;
  double time = 0, phase = 0;
};

// The palette of colours (i, i, i div 2) scaled by 0.8, moved in lightness
// and saturation (clamped to 0 ... 1) and turned in hue: shifts of
// slider value / 255.
FirePalette256 FlaresPalette(double hueShift, double saturationShift, double lightnessShift);

// A cleared field for width x height, the time and phase at 0. False when
// memory runs out.
bool ResetFlares(FlaresState& state, int width, int height);

// The emitter count clamped to 1 ... 100.
void SetFlaresEmitters(FlaresState& state, int emitters);

// Where emitter `index` stands and how long its rays are at the state's
// time and phase.
struct FlaresEmitter {
  int x = 0, y = 0, length = 0;
};
FlaresEmitter FlaresEmitterAt(const FlaresState& state, int index);

// Adds the anti-aliased ray from (x0, y0) (full intensity) to (x1, y1)
// (fading to nothing) to the field, when both ends lie inside columns
// 0 ... W - 1 and rows 2 ... H - 2; nothing otherwise. True when drawn.
bool AddFlaresRay(FlaresState& state, int x0, int y0, int x1, int y1);

// One frame: the field cleared, every emitter's rays (rand and 31 of them,
// each end drawn from two angles) added, the field laid over `backup` into
// `out` (24-bit, bottom-up, rows of `stride` bytes), then the time and
// phase moved on.
void FlaresFrame(FlaresState& state, const FirePalette256& palette, const uint8_t* backup, uint8_t* out,
                 int64_t stride, RuntimeRandom& random);

}  // namespace quillo::qlo16
