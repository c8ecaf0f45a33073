// The zoom ladder of an image view, best fit, and the exact scale arithmetic
// every view calculation goes through.
#pragma once
#include <cstdint>

namespace quillo {

// A zoom factor as an exact fraction num / den (both positive).
struct ZoomRatio {
  int64_t num = 1;
  int64_t den = 1;
};

// The only zoom values used, smallest first: 1/12 ... 1 ... 12.
constexpr int kZoomLadderSize = 17;
extern const ZoomRatio kZoomLadder[kZoomLadderSize];

// Best-fit candidates, largest first: 1, 1/2, 1/3, 1/4, 1/5, 1/6, 1/8, 1/10, 1/12.
constexpr int kBestFitSize = 9;
extern const ZoomRatio kBestFitList[kBestFitSize];

constexpr float kMinZoom = 1.0f / 12.0f;
constexpr float kMaxZoom = 12.0f;

float ZoomValue(ZoomRatio ratio);

// The record keeps the zoom as a 32-bit float. A float within a hair of a
// ladder value is that exact fraction, so 1/3 never turns 3 pixels into 2.
// Any other positive value is taken to 1/65536; zero, negative or NaN
// counts as 1 (the view resets such a zoom to 1.0).
ZoomRatio RatioOfZoom(float zoom);

// Next ladder value above / below the zoom; at 12 (in) or 1/12 (out), or
// beyond, the zoom is returned unchanged.
float ZoomIn(float zoom);
float ZoomOut(float zoom);

// floor(value * zoom) and floor(value / zoom), exact, true floor for
// negative values.
int64_t ScaleToClient(int64_t value, ZoomRatio zoom);
int64_t ScaleToImage(int64_t value, ZoomRatio zoom);

// Zoom for a newly shown width x height image in a clientWidth x
// clientHeight view: 1 when the frame is minimized, else the first best-fit
// value at which floor(W z) <= clientWidth and floor(H z) <= clientHeight,
// else 1/12.
float BestFitZoom(int width, int height, int clientWidth, int clientHeight, bool frameMinimized);

// Zoom-to-rectangle: the largest ladder value (up to 12) at which a
// rectWidth x rectHeight image area still fits in the client area; 1/12
// when none does.
float ZoomForRectangle(int rectWidth, int rectHeight, int clientWidth, int clientHeight);

}  // namespace quillo
