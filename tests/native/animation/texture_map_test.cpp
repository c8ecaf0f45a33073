// Table-driven frames: the first frame is the texture through the map, a
// shifted frame moves by exactly the offset, rows fill upward or downward,
// coordinates wrap into the texture as the map builders store them, and the
// four-byte copies match the plain loop on odd sizes and tight buffers.
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

// The plain loop: each output pixel takes its three bytes from the texel at
// the entry's coordinates plus the offset, reduced into the texture (entries
// outside it included).
std::vector<uint8_t> PlainFrame(const std::vector<uint8_t>& texture, int w, int h, int64_t stride,
                                const std::vector<MapEntry>& map, int64_t ox, int64_t oy,
                                MapRows order, std::vector<uint8_t> out) {
  for (int n = 0; n < w * h; ++n) {
    const int memoryRow = order == MapRows::kUpward ? n / w : h - 1 - n / w;
    const int column = ReduceInto(ReduceInto(map[size_t(n)].column, w) + ox, w);
    const int row = ReduceInto(ReduceInto(map[size_t(n)].row, h) + oy, h);
    for (int c = 0; c < 3; ++c)
      out[size_t(memoryRow * stride + 3 * (n % w) + c)] =
          texture[size_t(row * stride + 3 * column + c)];
  }
  return out;
}

TEST(MappedFrame, MatchesThePlainLoopOnOddSizesAndTightBuffers) {
  // Buffers are exactly stride x height, so a read past the texture's last
  // pixel or a write past the output's shows under the sanitizers; the
  // entries pointing at the last texel and entries outside the texture are
  // the ones that would go wrong.
  struct Geometry {
    int w, h, padding;
  };
  uint32_t state = 5;
  auto draw = [&state] { return (state = state * 1664525u + 1013904223u) >> 8; };
  // A coordinate outside the texture, the last one, or any one inside.
  auto coordinate = [&draw](uint32_t kind, int size) {
    return int16_t(kind == 0 ? int(draw() % 65536) - 32768
                   : kind == 1 ? size - 1
                               : int(draw() % uint32_t(size)));
  };
  for (const Geometry g :
       {Geometry{1, 1, 0}, {2, 3, 0}, {3, 2, 3}, {5, 7, 1}, {6, 1, 0}, {13, 4, 7}})
    for (const MapRows order : {MapRows::kUpward, MapRows::kDownward}) {
      const int64_t stride = int64_t(g.w) * 3 + g.padding;
      std::vector<uint8_t> texture(size_t(stride * g.h));
      for (uint8_t& b : texture) b = uint8_t(draw());
      std::vector<MapEntry> map(size_t(g.w * g.h));
      for (MapEntry& e : map) {
        const uint32_t kind = draw() % 5;
        e.column = coordinate(kind, g.w);
        e.row = coordinate(kind, g.h);
      }
      for (const auto& [ox, oy] :
           {std::pair<int64_t, int64_t>{0, 0}, {1, 2}, {-7, 9}, {-1000000009, 3}}) {
        std::vector<uint8_t> out(texture.size(), 0xEE);
        const auto want = PlainFrame(texture, g.w, g.h, stride, map, ox, oy, order, out);
        DrawMappedFrame(texture.data(), out.data(), g.w, g.h, stride, map.data(), ox, oy, order);
        ASSERT_EQ(out, want) << g.w << "x" << g.h << " +" << g.padding << " offset " << ox << ","
                             << oy;
      }
    }
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
