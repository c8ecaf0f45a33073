// Aquarium: a pulse of rings spreading from a centre point, as though the
// picture lay under rippling water. Each pixel keeps its distance from the
// centre in 1024ths of a wave, D = trunc(r 1024 / (lambda / 2 pi)); a frame
// at phase a (0 ... 1023) stretches that distance to
// f = D + b Tq[(a + D / 1024) mod 1024] and takes the picture pixel that
// far out along the same ray (black beyond the picture), where
// Tq[k] = trunc(|cos(k 2 pi / 2048)| 1024). The distance map is built only
// when the wave or the centre changed.
//
// The phase advances by the speed s each frame; every third time it passes
// 512 upward the clean picture is shown for a while and, with the wandering
// centre, the centre moves to a new random point.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "imaging/basics/runtime_random.h"
#include "plugins/animation/kernels/param_blob.h"

namespace quillo::qlo15 {

constexpr int kAquariumMinWavelength = 5, kAquariumMaxWavelength = 100, kAquariumDefaultWavelength = 40;
constexpr int kAquariumMinAmplitude = 1, kAquariumMaxAmplitude = 120, kAquariumDefaultAmplitude = 50;
// The speed slider's value v gives s = 2 v - 80.
constexpr int kAquariumMinSpeedValue = 20, kAquariumMaxSpeedValue = 100;
constexpr int kAquariumMinSpeed = 2 * kAquariumMinSpeedValue - 80;
constexpr int kAquariumMaxSpeed = 2 * kAquariumMaxSpeedValue - 80;
constexpr int kAquariumDefaultSpeed = 40;
constexpr int kAquariumTicksPerChange = 20;
constexpr int kAquariumPhases = 1024;
constexpr int kAquariumRestPhase = 512;     // where a new wave starts, and the crossing counted
constexpr int kAquariumCrossingsPerRest = 3;

// The stored block: magic, size 44, wavelength (double), amplitude, centre
// x and y (memory row), speed, wandering flag, and the picture's width and
// height, against which the centre is rescaled when read.
constexpr uint32_t kAquariumBlobMagic = 0x1137B444;
inline constexpr animation::BlobField kAquariumBlobFields[] = {
    {animation::BlobFieldKind::kDouble, kAquariumMinWavelength, kAquariumMaxWavelength, kAquariumDefaultWavelength},
    {animation::BlobFieldKind::kInt32, kAquariumMinAmplitude, kAquariumMaxAmplitude, kAquariumDefaultAmplitude},
    {animation::BlobFieldKind::kInt32, -2147483648.0, 2147483647.0, 0},
    {animation::BlobFieldKind::kInt32, -2147483648.0, 2147483647.0, 0},
    {animation::BlobFieldKind::kInt32, kAquariumMinSpeed, kAquariumMaxSpeed, kAquariumDefaultSpeed},
    {animation::BlobFieldKind::kInt32, 0, 1, 1},
    {animation::BlobFieldKind::kInt32, 1, 2147483647.0, 1},
    {animation::BlobFieldKind::kInt32, 1, 2147483647.0, 1}};
constexpr std::size_t kAquariumFieldCount = 8;

struct AquariumState {
  double wavelength = kAquariumDefaultWavelength;
  int amplitude = kAquariumDefaultAmplitude;
  int cx = 0, cy = 0;  // column and memory row, inside the picture
  int speed = kAquariumDefaultSpeed;
  bool wandering = true;  // the centre moves by itself after each rest
  int width = 0, height = 0;
  bool recompute = true;  // the map is built anew and the wave restarts at 512
  int phase = 0;
  int crossings = 0;
  std::vector<int32_t> distance;  // width x height, memory rows
};

// The wave table Tq.
const std::array<int32_t, kAquariumPhases>& AquariumWaveTable();

// A picture of width x height: the centre in its middle (W div 2, H div 2)
// and the distance map's room. False when there is no memory for the map.
bool StartAquarium(AquariumState& state, int width, int height);

// The centre, clamped into the picture; the map is rebuilt on the next frame.
void SetAquariumCentre(AquariumState& state, int cx, int cy);
// Wavelength, amplitude and speed clamped into their ranges (a non-finite
// wavelength becomes the default); the wave restarts on the next frame.
void SetAquariumWave(AquariumState& state, double wavelength, int amplitude, int speed);

// The saver's tick `count`: every 20th draws a wavelength of 10 ... 99.
// True when it changed.
bool AquariumTick(AquariumState& state, int count, RuntimeRandom& random);

// Counts the phase passing 512 upward in the coming step; true on every
// third such pass, when the clean picture is due to rest a while.
bool AquariumRestDue(AquariumState& state);

// After a rest: with the wandering flag a new centre within the middle four
// fifths of the picture, cx = (rand mod 4W) / 5 + W / 10 and likewise cy.
void AquariumWander(AquariumState& state, RuntimeRandom& random);

// The distance map D for the current centre and wavelength.
void BuildAquariumMap(AquariumState& state);

// Draws phase `phase` of the pulse from `source` into `out` (24-bit, the
// state's width x height, rows of `stride` bytes); the two never overlap.
void RenderAquarium(const AquariumState& state, int phase, const uint8_t* source, uint8_t* out,
                    int64_t stride);

// One frame: rebuilds the map and restarts the wave at 512 when asked,
// else advances the phase by the speed (mod 1024), then renders.
void AquariumFrame(AquariumState& state, const uint8_t* source, uint8_t* out, int64_t stride);

}  // namespace quillo::qlo15
