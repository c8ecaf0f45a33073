// Saved-parameter blocks: the exact layout, refusal of anything whose magic,
// size or length is wrong, and clamping of what a foreign block holds.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "plugins/animation/kernels/param_blob.h"

namespace {

using quillo::animation::BlobField;
using quillo::animation::BlobFieldKind;
using quillo::animation::ParamBlobSize;
using quillo::animation::ReadParamBlob;
using quillo::animation::WriteParamBlob;

constexpr uint32_t kMagic = 0x117577EA;
// An int, two doubles and an int: 32 bytes, the doubles unaligned.
const BlobField kFields[] = {{BlobFieldKind::kInt32, 2, 12, 5},
                             {BlobFieldKind::kDouble, 0, 1000, 320},
                             {BlobFieldKind::kDouble, 0, 1000, 240},
                             {BlobFieldKind::kInt32, 0, 1, 1}};

TEST(ParamBlob, LayoutIsPackedLittleEndian) {
  EXPECT_EQ(ParamBlobSize(kFields, 4), 32u);
  const double values[] = {7, 12.5, 3.25, 1};
  const std::vector<uint8_t> block = WriteParamBlob(kMagic, kFields, 4, values);
  ASSERT_EQ(block.size(), 32u);
  const uint8_t head[] = {0xEA, 0x77, 0x75, 0x11, 32, 0, 0, 0, 7, 0, 0, 0};
  EXPECT_EQ(std::memcmp(block.data(), head, sizeof head), 0);
  double cx;
  std::memcpy(&cx, block.data() + 12, 8);
  EXPECT_EQ(cx, 12.5);
  double read[4] = {};
  ASSERT_TRUE(ReadParamBlob(block.data(), block.size(), kMagic, kFields, 4, read));
  for (int i = 0; i < 4; ++i) EXPECT_EQ(read[i], values[i]) << i;
}

TEST(ParamBlob, ForeignBlocksAreRefusedOrClamped) {
  const double values[] = {7, 12.5, 3.25, 1};
  const std::vector<uint8_t> good = WriteParamBlob(kMagic, kFields, 4, values);
  double read[4] = {-1, -1, -1, -1};
  std::vector<uint8_t> bad = good;
  bad[0] ^= 1;  // magic
  EXPECT_FALSE(ReadParamBlob(bad.data(), bad.size(), kMagic, kFields, 4, read));
  bad = good;
  bad[4] = 36;  // stated size
  EXPECT_FALSE(ReadParamBlob(bad.data(), bad.size(), kMagic, kFields, 4, read));
  EXPECT_FALSE(ReadParamBlob(good.data(), 31, kMagic, kFields, 4, read));  // cut short
  EXPECT_FALSE(ReadParamBlob(good.data(), 7, kMagic, kFields, 4, read));
  EXPECT_FALSE(ReadParamBlob(nullptr, 32, kMagic, kFields, 4, read));
  EXPECT_EQ(read[0], -1);  // untouched on refusal

  // Out-of-range integers, an infinite and a NaN double, a huge double.
  std::vector<uint8_t> wild = good;
  const int32_t n = -2000000000;
  std::memcpy(wild.data() + 8, &n, 4);
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  std::memcpy(wild.data() + 12, &inf, 8);
  std::memcpy(wild.data() + 20, &nan, 8);
  const int32_t flag = 77;
  std::memcpy(wild.data() + 28, &flag, 4);
  ASSERT_TRUE(ReadParamBlob(wild.data(), wild.size() + 0, kMagic, kFields, 4, read));
  EXPECT_EQ(read[0], 2);
  EXPECT_EQ(read[1], 320);  // the fallback, already in range
  EXPECT_EQ(read[2], 240);
  EXPECT_EQ(read[3], 1);
  const double huge = 1e300;
  std::memcpy(wild.data() + 12, &huge, 8);
  ASSERT_TRUE(ReadParamBlob(wild.data(), wild.size(), kMagic, kFields, 4, read));
  EXPECT_EQ(read[1], 1000);
  // Writing clamps too, so a block never carries what reading would refuse.
  const double outside[] = {99, -5, nan, 3};
  const std::vector<uint8_t> clamped = WriteParamBlob(kMagic, kFields, 4, outside);
  ASSERT_TRUE(ReadParamBlob(clamped.data(), clamped.size(), kMagic, kFields, 4, read));
  EXPECT_EQ(read[0], 12);
  EXPECT_EQ(read[1], 0);
  EXPECT_EQ(read[2], 240);
  EXPECT_EQ(read[3], 1);
}

}  // namespace
