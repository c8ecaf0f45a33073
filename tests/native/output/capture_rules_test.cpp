#include <gtest/gtest.h>

#include "app/output/capture_rules.h"

namespace quillo {
namespace {

TEST(CaptureScale, FactorTextsAndSizesAtTheEndsAndTheMiddle) {
  struct Case {
    int position;
    const char* factor;
    int width, height;  // from a 640 x 480 source
  } cases[] = {
      {1, "0.01", 10, 10},          // 6 x 4 would be too small
      {50, "0.50", 320, 240},
      {99, "0.99", 633, 475},       // truncated, not rounded
      {100, "1.00", 640, 480},
      {101, "1.10", 704, 528},
      {200, "11.00", 7040, 5280},
      {0, "0.01", 10, 10},          // out of the slider's range: clamped
      {500, "11.00", 7040, 5280},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.position);
    EXPECT_EQ(FormatCaptureFactor(CaptureScaleFactor(c.position)), c.factor);
    const CaptureSize size = ScaledCaptureSize(640, 480, c.position);
    EXPECT_EQ(size.width, c.width);
    EXPECT_EQ(size.height, c.height);
  }
}

TEST(CaptureScale, SizesTruncateExactlyAndStayInsideTheStreamLimits) {
  // 0.29, 0.57 and 1.3 are not exact in binary; the pixel count still is.
  for (int v = 1; v <= 200; ++v) {
    SCOPED_TRACE(v);
    const int expected = v >= 100 ? 1000 * (v - 90) / 10 : 1000 * v / 100;
    EXPECT_EQ(ScaledCaptureSize(1000, 1000, v).width, std::max(expected, 10));
  }
  const CaptureSize large = ScaledCaptureSize(4000, 3000, 200);
  EXPECT_EQ(large.width, 32767);
  EXPECT_EQ(large.height, 32767);
  const CaptureSize huge = ScaledCaptureSize(2147483647, 0, 200);  // no overflow on the way
  EXPECT_EQ(huge.width, 32767);
  EXPECT_EQ(huge.height, 10);
  EXPECT_EQ(ClampCaptureSize(9), 10);
  EXPECT_EQ(ClampCaptureSize(40000), 32767);
  EXPECT_EQ(ClampCaptureSize(333), 333);
}

TEST(CaptureStep, OutOfRangeStepsBecomeOne) {
  EXPECT_EQ(CaptureStepOnOpen(1), 1);
  EXPECT_EQ(CaptureStepOnOpen(10), 10);
  EXPECT_EQ(CaptureStepOnOpen(0), 1);
  EXPECT_EQ(CaptureStepOnOpen(11), 1);
  EXPECT_EQ(CaptureStepOnOpen(-3), 1);
}

TEST(CaptureBuffer, StrideAndFrameBytesOfOddWidths) {
  struct Case { int width, height, stride, bytes; } cases[] = {
      {1, 1, 4, 4}, {10, 10, 32, 320}, {11, 7, 36, 252}, {13, 3, 40, 120}, {640, 480, 1920, 921600},
      {32767, 10, 98304, 983040},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.width);
    EXPECT_EQ(CaptureRowStride(c.width), c.stride);
    EXPECT_EQ(CaptureFrameBytes(c.width, c.height), c.bytes);
  }
}

TEST(CaptureBuffer, FramesTooLargeForTheStreamAreRefused) {
  // 32767 x 32767 x 3 bytes is about 3 GB: more than a 32-bit product holds.
  EXPECT_FALSE(CaptureFrameBytes(32767, 32767));
  EXPECT_EQ(CaptureFrameBytes(32767, 21845), int32_t(98304) * 21845);
  EXPECT_FALSE(CaptureFrameBytes(32767, 21846));
  EXPECT_FALSE(CaptureRowStride(0));
  EXPECT_FALSE(CaptureRowStride(-5));
  EXPECT_FALSE(CaptureRowStride(2147483647));
  EXPECT_FALSE(CaptureFrameBytes(10, 0));
}

TEST(CaptureTimelineTest, StopAndRecordContinueWithoutAGap) {
  CaptureTimeline timeline;
  EXPECT_FALSE(timeline.TakeSample(1)) << "frames before record are not written";
  timeline.Record();
  for (int32_t expected : {0, 1, 2}) {
    EXPECT_EQ(timeline.TakeSample(1), expected);
    timeline.CountWritten();
  }
  timeline.Stop();
  EXPECT_FALSE(timeline.TakeSample(1));
  EXPECT_FALSE(timeline.TakeSample(3));
  EXPECT_EQ(timeline.position(), 3) << "frames while stopped take no positions";
  timeline.Record();
  for (int32_t expected : {3, 6, 9}) {
    EXPECT_EQ(timeline.TakeSample(3), expected);
    timeline.CountWritten();
  }
  EXPECT_EQ(timeline.position(), 12);
  EXPECT_EQ(timeline.framesWritten(), 6);
  // A failed write takes its position but is not counted.
  EXPECT_EQ(timeline.TakeSample(0), 12) << "a step below 1 still advances";
  EXPECT_EQ(timeline.TakeSample(99), 13);
  EXPECT_EQ(timeline.position(), 23);
  EXPECT_EQ(timeline.framesWritten(), 6);
  timeline.Reset();
  EXPECT_FALSE(timeline.recording());
  EXPECT_EQ(timeline.position(), 0);
  EXPECT_EQ(timeline.framesWritten(), 0);
}

TEST(CaptureTimelineTest, PositionsStopAtTheStreamRange) {
  CaptureTimeline timeline;
  timeline.Record();
  int32_t last = -1;
  // 2^31 / 10 steps of 10 reach the end of the range.
  for (int i = 0; i < 214748365; ++i) {
    const auto sample = timeline.TakeSample(10);
    ASSERT_TRUE(sample) << i;
    last = *sample;
  }
  EXPECT_EQ(last, 2147483640);
  EXPECT_FALSE(timeline.TakeSample(10));
}

TEST(CaptureTexts, NumbersAsTheDialogShowsThem) {
  EXPECT_EQ(FormatCaptureNumber(0), "0");
  EXPECT_EQ(FormatCaptureNumber(32767), "32767");
  EXPECT_EQ(FormatCaptureNumber(-1), "-1");
  EXPECT_EQ(FormatCaptureFactor(1.0 + 3 * 0.1), "1.30");
}

}  // namespace
}  // namespace quillo
