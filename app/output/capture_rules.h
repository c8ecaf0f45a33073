// Portable rules of AVI capture: the size and scale choices of the capture
// dialog, the 24-bit frame buffer sizes of the video stream, and the stream
// positions the recorded frames take.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace quillo {

constexpr int kCaptureMinSize = 10;      // output width and height, pixels
constexpr int kCaptureMaxSize = 32767;
constexpr int kCaptureMinStep = 1;       // stream samples per frame
constexpr int kCaptureMaxStep = 10;
constexpr int kCaptureScaleMin = 1;      // scale slider
constexpr int kCaptureScaleMax = 200;
constexpr int kCaptureScaleNeutral = 100;
constexpr int kCaptureRate = 5;          // samples per second (rate 5, scale 1)

struct CaptureSize {
  int width = 0;
  int height = 0;
};

// The factor of scale slider position v (clamped to 1..200):
// 1.0 + (v - 100) * 0.1 for v >= 100, else v * 0.01; so 0.01 .. 0.99 below
// the middle and 1.0 .. 11.0 from it.
double CaptureScaleFactor(int position);

// Source size times the factor of `position`, truncated and clamped to
// 10..32767 each way. Worked in integers (size * (v - 90) / 10 and
// size * v / 100), so a factor such as 0.29 never loses a pixel to rounding.
CaptureSize ScaledCaptureSize(int sourceWidth, int sourceHeight, int position);

// A width or height clamped to 10..32767.
int ClampCaptureSize(int size);

// The remembered step when a capture opens: 1..10 stays, anything else is 1.
int CaptureStepOnOpen(int step);

// Bytes of one row of a 24-bit DIB, ((width * 24 + 31) / 32) * 4, and of a
// whole frame (row stride * height), worked in 64 bits. Empty for a size
// below 1 or a result the stream's 32-bit signed buffer size cannot hold.
std::optional<int32_t> CaptureRowStride(int width);
std::optional<int32_t> CaptureFrameBytes(int width, int height);

// Recording state of one capture: whether record is on, the stream position
// the next frame takes and the frames written. Stop keeps the position, so a
// later record continues the same stream without a gap.
class CaptureTimeline {
 public:
  void Reset() { *this = CaptureTimeline(); }
  void Record() { recording_ = true; }
  void Stop() { recording_ = false; }
  bool recording() const { return recording_; }
  int64_t position() const { return position_; }
  int framesWritten() const { return framesWritten_; }

  // The position for a frame arriving now with `step` (clamped to 1..10),
  // and the position advanced by the step; empty while not recording or when
  // the position would pass the stream's 32-bit signed range.
  std::optional<int32_t> TakeSample(int step);
  // Counts a frame whose write succeeded.
  void CountWritten() { ++framesWritten_; }

 private:
  bool recording_ = false;
  int64_t position_ = 0;
  int framesWritten_ = 0;
};

// The dialog's texts: counts, sizes and steps with "%d", the factor "%.2f".
std::string FormatCaptureNumber(int value);
std::string FormatCaptureFactor(double factor);

}  // namespace quillo
