// Table-driven frames: the first frame is the texture through the map, a
// shifted frame moves by exactly the offset, rows fill upward or downward,
// and coordinates wrap into the texture as the map builders store them.
#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "plugins/animation/kernels/texture_map.h"

namespace {

using quillo::animation::DrawMappedFrame;
using quillo::animation::MapCoordinate;
using quillo::animation::MapEntry;
using quillo::animation::MapRows;
using quillo::animation::ReduceInto;

constexpr int kW = 5, kH = 3;
constexpr int64_t kStride = 16;

// Texture pixel (column c, memory row r) holds bytes (c, r, 7), padding 0xEE.
std::vector<uint8_t> Texture() {
  std::vector<uint8_t> t(size_t(kStride * kH), 0xEE);
  for (int r = 0; r < kH; ++r)
    for (int c = 0; c < kW; ++c) {
      t[size_t(r * kStride + 3 * c)] = uint8_t(c);
      t[size_t(r * kStride + 3 * c + 1)] = uint8_t(r);
      t[size_t(r * kStride + 3 * c + 2)] = 7;
    }
  return t;
}

TEST(MappedFrame, ShowsTheTextureThroughTheMapShiftedByTheOffset) {
  const std::vector<uint8_t> texture = Texture();
  std::vector<MapEntry> map(kW * kH);
  for (int n = 0; n < kW * kH; ++n) map[size_t(n)] = MapEntry{int16_t((n * 3) % kW), int16_t((n * 2) % kH)};
  for (const MapRows order : {MapRows::kUpward, MapRows::kDownward})
    for (const auto& [ox, oy] : {std::pair<int64_t, int64_t>{0, 0}, {3, 1}, {-1, -4}, {1000000007, 5}}) {
      std::vector<uint8_t> out(texture.size(), 0xEE);
      DrawMappedFrame(texture.data(), out.data(), kW, kH, kStride, map.data(), ox, oy, order);
      for (int n = 0; n < kW * kH; ++n) {
        const int memoryRow = order == MapRows::kUpward ? n / kW : kH - 1 - n / kW;
        const uint8_t* px = &out[size_t(memoryRow * kStride + 3 * (n % kW))];
        EXPECT_EQ(px[0], ReduceInto(map[size_t(n)].column + ox, kW)) << n;
        EXPECT_EQ(px[1], ReduceInto(map[size_t(n)].row + oy, kH)) << n;
        EXPECT_EQ(px[2], 7);
      }
      for (int r = 0; r < kH; ++r) EXPECT_EQ(out[size_t(r * kStride + 15)], 0xEE);  // padding untouched
    }
}

TEST(MappedFrame, CoordinatesWrapLikeSixteenBitValues) {
  EXPECT_EQ(ReduceInto(-1, 5), 4);
  EXPECT_EQ(ReduceInto(-10, 5), 0);
  EXPECT_EQ(ReduceInto(12, 0), 0);
  EXPECT_EQ(MapCoordinate(7, 5), 2);
  EXPECT_EQ(MapCoordinate(-3, 5), 2);
  // 40000 is -25536 as 16 bits: -25536 mod 640 = 64.
  EXPECT_EQ(MapCoordinate(40000, 640), 64);
  EXPECT_EQ(MapCoordinate(65536 + 3, 10), 3);
  // Pictures wider than 32767 still get in-range coordinates.
  EXPECT_EQ(MapCoordinate(40000, 50000), 40000 - 65536 + 50000);
}

TEST(MappedFrame, UnusableGeometryDrawsNothing) {
  const std::vector<uint8_t> texture = Texture();
  std::vector<MapEntry> map(kW * kH);
  std::vector<uint8_t> out(texture.size(), 0xEE);
  DrawMappedFrame(texture.data(), out.data(), kW, kH, 14, map.data(), 0, 0, MapRows::kUpward);
  DrawMappedFrame(texture.data(), out.data(), 0, kH, kStride, map.data(), 0, 0, MapRows::kUpward);
  DrawMappedFrame(texture.data(), out.data(), kW, kH, kStride, nullptr, 0, 0, MapRows::kUpward);
  EXPECT_EQ(out, std::vector<uint8_t>(texture.size(), 0xEE));
}

}  // namespace
