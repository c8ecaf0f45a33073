#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "plugins/qlo13/kernels/cosine_table.h"

namespace {

using namespace quillo::qlo13;

TEST(Qlo13Cosine, HitsTheAnchorsAndStaysCloseToTheCosine) {
  const int32_t* t = CosineTable();
  EXPECT_EQ(t[0], 512);
  EXPECT_EQ(t[255], 3);
  EXPECT_EQ(t[256], -4);
  EXPECT_EQ(t[512], -512);
  EXPECT_EQ(t[768], -4);
  EXPECT_EQ(t[769], 3);
  EXPECT_EQ(t[1023], 512);
  for (int k = 0; k < kCosineSize; ++k) {
    SCOPED_TRACE(k);
    EXPECT_GE(t[k], -512);
    EXPECT_LE(t[k], 512);
    EXPECT_EQ(t[k], t[(kCosineSize - k) % kCosineSize]);
    EXPECT_LE(std::abs(t[k] - 512 * std::cos(k * 6.283185307179586 / kCosineSize)), 4.5);
  }
}

TEST(Qlo13Cosine, LookupsTakeTheMagnitudeAndItsLowTenBits) {
  const int32_t* t = CosineTable();
  EXPECT_EQ(CosineAt(t, 255), 3);
  EXPECT_EQ(CosineAt(t, -256), -4);
  EXPECT_EQ(CosineAt(t, 1024 + 256), -4);
  EXPECT_EQ(CosineAt(t, -(3 * 1024 + 255)), 3);
  EXPECT_EQ(CosineAt(t, INT32_MIN), t[0]);  // 2^31 keeps no low bits
  EXPECT_EQ(CosineAt(t, INT32_MAX), t[1023]);
}

}  // namespace
