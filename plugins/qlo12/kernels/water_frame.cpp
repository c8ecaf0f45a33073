#include "water_frame.h"

#include <algorithm>
#include <utility>

#include "water_tables.h"

namespace quillo::qlo12 {
namespace {

// A height or a radius worked out in 64 bits, kept inside an int.
int Saturate(int64_t v) { return int(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

template <typename Cell>
bool SameSize(const HeightField<Cell>& a, const HeightField<Cell>& b) {
  return !a.empty() && !b.empty() && a.width() == b.width() && a.height() == b.height();
}

template <typename Cell>
bool StartFields(HeightField<Cell>& current, HeightField<Cell>& other, int width, int height) {
  if (current.Allocate(width, height) && other.Allocate(width, height)) return true;
  current.Release();
  other.Release();
  return false;
}

// Stores v (with the cell's wrap-around) into an interior cell; cells on the
// frame or outside the field are left alone.
void StampInterior(WaterHeights& field, int64_t x, int64_t y, int64_t v) {
  if (x >= 1 && x < field.width() - 1 && y >= 1 && y < field.height() - 1)
    field.At(int(x), int(y)) = int16_t(v);
}

// A cell and its four neighbours: the centre receives `centre`, the others
// `around`.
void StampCross(WaterHeights& field, int64_t x, int64_t y, int64_t centre, int64_t around) {
  StampInterior(field, x, y, centre);
  StampInterior(field, x + 1, y, around);
  StampInterior(field, x - 1, y, around);
  StampInterior(field, x, y + 1, around);
  StampInterior(field, x, y - 1, around);
}

// One coordinate of the surfer: the product of two sines of different
// frequencies sweeps it across the picture, (size - 8) / 2 either side of
// the middle, so it never comes nearer than 4 cells to an edge (pictures of
// 8 cells or more). The phase products wrap at 32 bits as the runtime's int
// arithmetic does; only their bits 8 to 18 reach the table.
int64_t SurferCoordinate(const WaterTables& tables, int phase, uint32_t fast, uint32_t slow,
                         int size) {
  const uint32_t p = uint32_t(phase);
  const int64_t a = tables.Sine((p * fast) >> 8) >> 8;
  const int64_t b = tables.Sine((p * slow) >> 8) >> 8;
  return ((a * b * ((size - 8) / 2)) >> 16) + size / 2;
}

void PendingDrop(WaterState& s, bool flat, RuntimeRandom& random) {
  const int drop = s.pendingDrop;
  s.pendingDrop = kNoPendingDrop;
  if (drop == kLeftButtonDrop) {
    if (flat)
      DiscDrop(s.current, s.mouseX, s.mouseY, 2, s.strength, random);
    else
      SmoothDrop(s.current, s.mouseX, s.mouseY, s.radius, Saturate(-int64_t(s.strength)), random);
  } else if (drop == kRightButtonDrop) {
    if (flat)
      DiscDrop(s.current, s.mouseX, s.mouseY, s.radius / 2, s.strength, random);
    else
      SmoothDrop(s.current, s.mouseX, s.mouseY, s.radius, s.strength, random);
  }
}

void Surfer(WaterState& s, bool flat, RuntimeRandom& random) {
  const WaterTables& tables = GetWaterTables();
  const int width = s.current.width(), height = s.current.height();
  const int64_t x = SurferCoordinate(tables, s.p1, 349, 65, width);
  const int64_t y = SurferCoordinate(tables, s.p2, 377, 84, height);
  s.p1 = int32_t(uint32_t(s.p1) + 13u);
  s.p2 = int32_t(uint32_t(s.p2) + 12u);
  // The midpoint fills the gap a fast surfer would leave between frames.
  const int64_t mx = (int64_t(s.surferX) + x) / 2, my = (int64_t(s.surferY) + y) / 2;
  if (flat) {
    const int64_t strength = s.strength;
    StampCross(s.current, mx, my, strength, strength >> 1);
    StampCross(s.current, x, y, 2 * strength, strength);
  } else {
    SmoothDrop(s.current, Saturate(mx), Saturate(my), 3, -1200, random);
    SmoothDrop(s.current, int(x), int(y), 4, -2000, random);
  }
  s.surferX = int(x);
  s.surferY = int(y);
}

void Rain(WaterState& s, RuntimeRandom& random) {
  const int width = s.current.width(), height = s.current.height();
  const int64_t column = random.Below(width - 2);
  const int64_t row = random.Below(height - 2) + 1;
  const int64_t value = random.Below(4 * int64_t(s.strength));
  StampInterior(s.current, column + 1, row, value);
}

void RandomDrop(WaterState& s, bool flat, RuntimeRandom& random) {
  if (random.Below(20) != 0) return;
  if (flat)
    DiscDrop(s.current, -1, -1, s.radius / 2, s.strength, random);
  else
    SmoothDrop(s.current, -1, -1, s.radius, Saturate(-6 * int64_t(s.strength)), random);
}

void Swirl(WaterState& s, bool flat, RuntimeRandom& random) {
  const WaterTables& tables = GetWaterTables();
  const int a = s.swirlAngle;
  const int x = int((int64_t(tables.Cosine(a)) * 25 >> 16) + s.current.width() / 2);
  const int y = int((int64_t(tables.Sine(a)) * 25 >> 16) + s.current.height() / 2);
  if (flat)
    DiscDrop(s.current, x, y, s.radius / 3, s.strength, random);
  else
    ConeDrop(s.current, x, y, s.radius, s.strength, random);
  s.swirlAngle = int((uint32_t(a) + 50u) & uint32_t(kWaterTableSize - 1));
}

}  // namespace

bool WaterSizeWorkable(int width, int height) { return width >= 3 && height >= 3; }

bool StartWater(WaterState& state, int width, int height, RuntimeRandom& random) {
  state.p1 = int(random.Below(kWaterTableSize));
  state.p2 = int(random.Below(kWaterTableSize));
  state.swirlAngle = int(random.Below(kWaterTableSize));
  state.surferX = kWaterSurferStartX;
  state.surferY = kWaterSurferStartY;
  state.pendingDrop = kNoPendingDrop;
  return StartFields(state.current, state.other, width, height);
}

void WaterFrame(WaterState& state, const uint8_t* backup, uint8_t* image, int64_t stride,
                RuntimeRandom& random) {
  if (!SameSize(state.current, state.other)) return;
  const bool flat = (state.flags & kWaterFlatDropsFlag) != 0;
  PendingDrop(state, flat, random);
  if (state.flags & kWaterSwirlFlag) state.p1 = state.p2 = 0;
  if (state.flags & kWaterSurferFlag) Surfer(state, flat, random);
  if (state.flags & kWaterRainFlag) Rain(state, random);
  if (state.flags & kWaterRandomDropsFlag) RandomDrop(state, flat, random);
  if (state.flags & kWaterSwirlFlag) Swirl(state, flat, random);
  RenderField(state.current, backup, image, stride, state.light);
  std::swap(state.current, state.other);
  PropagateField(state.other, state.current, state.dampingShift);
}

bool StartBlob(BlobState& state, int width, int height) {
  return StartFields(state.current, state.other, width, height);
}

void BlobFrame(BlobState& state, const uint8_t* backup, uint8_t* image, int64_t stride,
               RuntimeRandom& random) {
  if (!SameSize(state.current, state.other)) return;
  const int64_t halfRadius = (int64_t(state.radius) + 1) / 2;
  const int64_t halfStrength = (int64_t(state.strength) + 1) / 2;
  const int attempts = std::min(state.attempts, kBlobMaxAttempts);
  for (int n = 0; n < attempts; ++n) {
    if (random.Next() % 10 != 0) continue;
    const int radius = Saturate(random.Below(halfRadius) + halfRadius);
    const int height = Saturate(random.Below(halfStrength) + halfStrength);
    SmoothDrop(state.current, -1, -1, radius, height, random);
  }
  RenderField(state.current, backup, image, stride, state.light);
  PropagateField(state.current, state.other, state.dampingShift);
  std::swap(state.current, state.other);
}

}  // namespace quillo::qlo12
