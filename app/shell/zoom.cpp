#include "zoom.h"

#include <cmath>

namespace quillo {

const ZoomRatio kZoomLadder[kZoomLadderSize] = {
    {1, 12}, {1, 10}, {1, 8}, {1, 6}, {1, 5}, {1, 4}, {1, 3}, {1, 2}, {1, 1},
    {2, 1},  {3, 1},  {4, 1}, {5, 1}, {6, 1}, {8, 1}, {10, 1}, {12, 1}};

const ZoomRatio kBestFitList[kBestFitSize] = {{1, 1}, {1, 2},  {1, 3},  {1, 4}, {1, 5},
                                              {1, 6}, {1, 8}, {1, 10}, {1, 12}};

float ZoomValue(ZoomRatio ratio) { return float(double(ratio.num) / double(ratio.den)); }

// Index of the ladder value the zoom stands for, or -1.
static int LadderIndex(float zoom) {
  for (int i = 0; i < kZoomLadderSize; ++i) {
    const double v = double(kZoomLadder[i].num) / double(kZoomLadder[i].den);
    if (std::fabs(double(zoom) - v) <= v * 1e-5) return i;
  }
  return -1;
}

ZoomRatio RatioOfZoom(float zoom) {
  if (!(zoom > 0.0f)) return {1, 1};
  const int index = LadderIndex(zoom);
  if (index >= 0) return kZoomLadder[index];
  // Off the ladder: limit to a range the 64-bit products below cannot leave.
  double z = zoom;
  if (z < 1.0 / 4096) z = 1.0 / 4096;
  if (z > 4096) z = 4096;
  return {int64_t(std::llround(z * 65536.0)), 65536};
}

float ZoomIn(float zoom) {
  for (int i = 0; i < kZoomLadderSize; ++i) {
    const float v = ZoomValue(kZoomLadder[i]);
    if (v > zoom && LadderIndex(zoom) != i) return v;
  }
  return zoom;
}

float ZoomOut(float zoom) {
  for (int i = kZoomLadderSize - 1; i >= 0; --i) {
    const float v = ZoomValue(kZoomLadder[i]);
    if (v < zoom && LadderIndex(zoom) != i) return v;
  }
  return zoom;
}

static int64_t FloorDiv(int64_t a, int64_t b) {
  const int64_t q = a / b;
  return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

int64_t ScaleToClient(int64_t value, ZoomRatio zoom) { return FloorDiv(value * zoom.num, zoom.den); }

int64_t ScaleToImage(int64_t value, ZoomRatio zoom) { return FloorDiv(value * zoom.den, zoom.num); }

static bool Fits(int width, int height, int clientWidth, int clientHeight, ZoomRatio z) {
  return ScaleToClient(width, z) <= clientWidth && ScaleToClient(height, z) <= clientHeight;
}

float BestFitZoom(int width, int height, int clientWidth, int clientHeight, bool frameMinimized) {
  if (frameMinimized) return 1.0f;
  for (const ZoomRatio& z : kBestFitList)
    if (Fits(width, height, clientWidth, clientHeight, z)) return ZoomValue(z);
  return kMinZoom;
}

float ZoomForRectangle(int rectWidth, int rectHeight, int clientWidth, int clientHeight) {
  for (int i = kZoomLadderSize - 1; i >= 0; --i)
    if (Fits(rectWidth, rectHeight, clientWidth, clientHeight, kZoomLadder[i]))
      return ZoomValue(kZoomLadder[i]);
  return kMinZoom;
}

}  // namespace quillo
