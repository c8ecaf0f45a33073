#include "text_bend.h"

#include <algorithm>

namespace quillo::imaging {

namespace {

bool GuideIndex(int count, double u, int* index) {
  const double at = (count - 1) * u;
  if (!(at > -1.0 && at < double(count))) return false;  // also refuses NaN
  *index = int(at);
  return *index >= 0 && *index < count;
}

bool ToCoordinate(double value, int32_t* out) {
  if (!(value > -2147483649.0 && value < 2147483648.0)) return false;
  *out = int32_t(value);
  return true;
}

}  // namespace

bool BendTextPoints(const GuidePoint* points, size_t count, int32_t extentWidth,
                    int32_t extentHeight, const GuidePoint* top, int topCount,
                    const GuidePoint* bottom, int bottomCount, GuidePoint* out) {
  if (!points || count == 0 || !out || !top || !bottom || topCount < 1 || bottomCount < 1)
    return false;
  int32_t boxWidth = extentWidth, boxHeight = extentHeight;
  for (size_t i = 0; i < count; ++i) {
    boxWidth = std::max(boxWidth, points[i].x);
    boxHeight = std::max(boxHeight, points[i].y);
  }
  if (boxWidth <= 0 || boxHeight <= 0) return false;
  for (size_t i = 0; i < count; ++i) {
    const double u = double(points[i].x) / boxWidth;
    const double v = double(points[i].y) / boxHeight;
    int t = 0, b = 0;
    if (!GuideIndex(topCount, u, &t) || !GuideIndex(bottomCount, u, &b)) return false;
    const GuidePoint& T = top[t];
    const GuidePoint& B = bottom[b];
    if (!ToCoordinate((1.0 - v) * T.x + v * B.x, &out[i].x) ||
        !ToCoordinate((1.0 - v) * T.y + v * B.y, &out[i].y))
      return false;
  }
  return true;
}

}  // namespace quillo::imaging
