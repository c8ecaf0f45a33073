#include "capture_rules.h"

#include <algorithm>
#include <cstdio>
#include <limits>

namespace quillo {

namespace {

int ClampScale(int position) { return std::clamp(position, kCaptureScaleMin, kCaptureScaleMax); }

// size * factor(v), truncated: for v >= 100 the factor is (v - 90) / 10,
// below it v / 100.
int64_t Scaled(int size, int position) {
  const int64_t v = ClampScale(position);
  return v >= kCaptureScaleNeutral ? int64_t(size) * (v - 90) / 10 : int64_t(size) * v / 100;
}

int ClampSize64(int64_t size) {
  return int(std::clamp<int64_t>(size, kCaptureMinSize, kCaptureMaxSize));
}

constexpr int64_t kLongMax = std::numeric_limits<int32_t>::max();

}  // namespace

double CaptureScaleFactor(int position) {
  const int v = ClampScale(position);
  return v >= kCaptureScaleNeutral ? 1.0 + (v - kCaptureScaleNeutral) * 0.1 : v * 0.01;
}

CaptureSize ScaledCaptureSize(int sourceWidth, int sourceHeight, int position) {
  return {ClampSize64(Scaled(sourceWidth, position)), ClampSize64(Scaled(sourceHeight, position))};
}

int ClampCaptureSize(int size) { return ClampSize64(size); }

int CaptureStepOnOpen(int step) {
  return step >= kCaptureMinStep && step <= kCaptureMaxStep ? step : kCaptureMinStep;
}

std::optional<int32_t> CaptureRowStride(int width) {
  if (width < 1) return std::nullopt;
  const int64_t stride = (int64_t(width) * 24 + 31) / 32 * 4;
  if (stride > kLongMax) return std::nullopt;
  return int32_t(stride);
}

std::optional<int32_t> CaptureFrameBytes(int width, int height) {
  const std::optional<int32_t> stride = CaptureRowStride(width);
  if (!stride || height < 1) return std::nullopt;
  const int64_t bytes = int64_t(*stride) * height;
  if (bytes > kLongMax) return std::nullopt;
  return int32_t(bytes);
}

std::optional<int32_t> CaptureTimeline::TakeSample(int step) {
  if (!recording_) return std::nullopt;
  if (position_ > kLongMax) return std::nullopt;
  const int32_t sample = int32_t(position_);
  position_ += std::clamp(step, kCaptureMinStep, kCaptureMaxStep);
  return sample;
}

std::string FormatCaptureNumber(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", value);
  return text;
}

std::string FormatCaptureFactor(double factor) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", factor);
  return text;
}

}  // namespace quillo
