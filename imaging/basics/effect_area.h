// Where an effect pass works: the selection a host hands over turned into a
// rectangle of bottom-up memory rows, and that rectangle scaled onto the
// reduced preview picture.
#pragma once
#include <cstdint>

namespace quillo {

// Columns [left, right) and bottom-up memory rows [firstRow, endRow).
struct EffectArea {
  int left = 0;
  int right = 0;
  int firstRow = 0;
  int endRow = 0;
  bool operator==(const EffectArea&) const = default;
};

// A selection (left, top, right, bottom; y from the top, right and bottom
// exclusive) is used only when every value is non-negative, it lies inside
// width x height, and it is not empty; otherwise (or when null) the area is
// the whole picture.
EffectArea SettleArea(const int32_t* selection, int width, int height);

// a * b / c rounded to the nearest integer, halves away from zero, as the
// Windows MulDiv does; -1 when c is 0 or the result does not fit.
int MulDivRound(int a, int b, int c);

// The area scaled from a width x height picture onto its previewWidth x
// previewHeight reduction, each bound scaled on its own.
EffectArea ScaleArea(const EffectArea& area, int width, int height, int previewWidth,
                     int previewHeight);

}  // namespace quillo
