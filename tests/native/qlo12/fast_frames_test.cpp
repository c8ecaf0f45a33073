// The kaleidoscope's and the illusion's frames and the damped wave against
// their plain per-pixel loops, written out here as the effects describe
// them. Sizes straddle the kernels' blocks and runs (odd sizes, widths not a
// multiple of 4, one more or less than a block), pictures are exactly their
// stride x height (no slack for a stray read) or have padded rows, maps hold
// entries outside the picture, and offsets are any value: a byte that
// differs anywhere fails.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "plugins/qlo12/kernels/illusion.h"
#include "plugins/qlo12/kernels/kale_map.h"
#include "plugins/qlo12/kernels/water_field.h"

namespace {

using namespace quillo::qlo12;

int Mod(int64_t v, int m) { return int((v % m + m) % m); }

struct Geometry {
  int width, height;
  int64_t padding;  // bytes after each row's pixels
};

// Sizes at and around the edge cases of the blocked loops (blocks of 64
// pixels, wave runs of 16 cells) and of the four-byte reads (no padding).
const Geometry kGeometries[] = {{1, 1, 0}, {2, 3, 0}, {3, 2, 2},  {5, 7, 1},   {7, 5, 0},
                                {16, 3, 0}, {63, 2, 3}, {64, 3, 0}, {65, 4, 9}, {131, 3, 0},
                                {18, 19, 2}};

// Picture bytes from a simple generator, padding included.
std::vector<uint8_t> Noise(size_t size, uint32_t seed) {
  std::vector<uint8_t> bytes(size);
  for (uint8_t& b : bytes) b = uint8_t((seed = seed * 1103515245u + 12345u) >> 23);
  return bytes;
}

uint32_t Draw(uint32_t& state) { return (state = state * 1664525u + 1013904223u) >> 8; }

std::vector<uint8_t> PlainKale(const std::vector<uint8_t>& t, int w, int h, int64_t stride,
                               const std::vector<KaleEntry>& map, int64_t ox, int64_t oy,
                               std::vector<uint8_t> out) {
  for (int i = 0; i < h; ++i)
    for (int j = 0; j < w; ++j) {
      const KaleEntry e = map[size_t(i) * size_t(w) + size_t(j)];
      const int x = Mod(int64_t(e.column >> 10) + ox, w), y = Mod(int64_t(e.row >> 10) + oy, h);
      const int x1 = x + 1 < w ? x + 1 : x, y1 = y + 1 < h ? y + 1 : y;
      const int fx = e.column & 1023, fy = e.row & 1023;
      for (int c = 0; c < 3; ++c) {
        auto at = [&](int col, int row) { return int(t[size_t(row * stride + 3 * col + c)]); };
        const int top = (fx * at(x1, y) + (1024 - fx) * at(x, y)) >> 10;
        const int bottom = (fx * at(x1, y1) + (1024 - fx) * at(x, y1)) >> 10;
        out[size_t(i * stride + 3 * j + c)] = uint8_t((top * (1024 - fy) + fy * bottom) >> 10);
      }
    }
  return out;
}

std::vector<uint8_t> PlainIllusion(const std::vector<uint8_t>& t, int w, int h, int64_t stride,
                                   const std::vector<IllusionEntry>& map, int64_t ox, int64_t oy,
                                   std::vector<uint8_t> out) {
  for (int i = 0; i < h; ++i)
    for (int j = 0; j < w; ++j) {
      const IllusionEntry e = map[size_t(i) * size_t(w) + size_t(j)];
      const int weight = e.weight < 0 ? 0 : e.weight > 1024 ? 1024 : e.weight;
      const int64_t there = Mod(Mod(e.row, h) + oy, h) * stride + 3 * Mod(Mod(e.column, w) + ox, w);
      for (int c = 0; c < 3; ++c) {
        const int64_t here = i * stride + 3 * j + c;
        out[size_t(here)] =
            uint8_t((t[size_t(here)] * (1024 - weight) + weight * t[size_t(there + c)]) >> 10);
      }
    }
  return out;
}

const int64_t kOffsets[][2] = {{0, 0}, {1, 1}, {-3, 5}, {1000000007, -999999999}, {64, 65}};

TEST(FastFrames, KaleMatchesThePlainLoop) {
  uint32_t state = 7;
  for (const Geometry& g : kGeometries) {
    const int64_t stride = int64_t(g.width) * 3 + g.padding;
    const std::vector<uint8_t> texture = Noise(size_t(stride * g.height), 11);
    // Mostly entries inside the picture, some far outside, some at the last
    // column and row (whose neighbours repeat them).
    std::vector<KaleEntry> map(size_t(g.width) * size_t(g.height));
    for (KaleEntry& e : map) {
      const uint32_t kind = Draw(state) % 8;
      e.column = kind == 0 ? int32_t(Draw(state)) - (1 << 23)
                 : kind == 1 ? ((g.width - 1) << 10) | int32_t(Draw(state) % 1024)
                             : int32_t(Draw(state) % (uint32_t(g.width) << 10));
      e.row = kind == 2 ? -int32_t(Draw(state) % 100000)
              : kind == 3 ? ((g.height - 1) << 10) | int32_t(Draw(state) % 1024)
                          : int32_t(Draw(state) % (uint32_t(g.height) << 10));
    }
    for (const auto& offset : kOffsets) {
      std::vector<uint8_t> out(texture.size(), 0xA5);
      const auto want =
          PlainKale(texture, g.width, g.height, stride, map, offset[0], offset[1], out);
      DrawKaleFrame(texture.data(), out.data(), g.width, g.height, stride, map.data(), offset[0],
                    offset[1]);
      ASSERT_EQ(out, want) << g.width << "x" << g.height << " +" << g.padding << " offset "
                           << offset[0] << "," << offset[1];
    }
  }
}

TEST(FastFrames, IllusionMatchesThePlainLoop) {
  uint32_t state = 3;
  for (const Geometry& g : kGeometries) {
    const int64_t stride = int64_t(g.width) * 3 + g.padding;
    const std::vector<uint8_t> texture = Noise(size_t(stride * g.height), 5);
    std::vector<IllusionEntry> map(size_t(g.width) * size_t(g.height));
    for (IllusionEntry& e : map) {
      const bool outside = Draw(state) % 6 == 0;
      auto coordinate = [&](int size) {
        const uint32_t v = Draw(state);
        return int16_t(outside ? int(v % 65536) - 32768 : int(v % uint32_t(size)));
      };
      e.column = coordinate(g.width);
      e.row = coordinate(g.height);
      e.weight = int16_t(int(Draw(state) % 1300) - 100);  // some beyond 0 .. 1024
    }
    for (const auto& offset : kOffsets) {
      std::vector<uint8_t> out(texture.size(), 0x5A);
      const auto want =
          PlainIllusion(texture, g.width, g.height, stride, map, offset[0], offset[1], out);
      DrawIllusionFrame(texture.data(), out.data(), g.width, g.height, stride, map.data(),
                        offset[0], offset[1]);
      ASSERT_EQ(out, want) << g.width << "x" << g.height << " +" << g.padding << " offset "
                           << offset[0] << "," << offset[1];
    }
  }
}

template <typename Field>
void ExpectWaveMatchesThePlainLoop(int64_t low, int64_t high) {
  using Cell = typename Field::CellType;
  uint32_t state = 19;
  for (const Geometry& g : kGeometries)
    for (const int shift : {0, 1, 5, 31}) {
      Field current, next;
      ASSERT_TRUE(current.Allocate(g.width, g.height) && next.Allocate(g.width, g.height));
      for (int y = 0; y < g.height; ++y)
        for (int x = 0; x < g.width; ++x) {
          current.At(x, y) = Cell(low + int64_t(Draw(state)) * 977 % (high - low));
          next.At(x, y) = Cell(low + int64_t(Draw(state)) * 613 % (high - low));
        }
      std::vector<Cell> want(size_t(g.width) * size_t(g.height));
      for (int y = 0; y < g.height; ++y)
        for (int x = 0; x < g.width; ++x) {
          int64_t v = next.At(x, y);
          if (x > 0 && y > 0 && x < g.width - 1 && y < g.height - 1) {
            int64_t sum = 0;
            for (int dy = -1; dy <= 1; ++dy)
              for (int dx = -1; dx <= 1; ++dx)
                if (dx || dy) sum += current.At(x + dx, y + dy);
            const int64_t d = (sum >> 2) - v;
            v = d - (d >> shift);
          }
          want[size_t(y) * size_t(g.width) + size_t(x)] = Cell(v);
        }
      PropagateField(current, next, shift);
      for (int y = 0; y < g.height; ++y)
        for (int x = 0; x < g.width; ++x)
          ASSERT_EQ(next.At(x, y), want[size_t(y) * size_t(g.width) + size_t(x)])
              << g.width << "x" << g.height << " cell " << x << "," << y << " shift " << shift;
    }
}

TEST(FastFrames, WaveRunsMatchThePlainLoop) {
  ExpectWaveMatchesThePlainLoop<WaterHeights>(-32768, 32768);
  ExpectWaveMatchesThePlainLoop<BlobHeights>(-2147483647LL - 1, 2147483648LL);
}

}  // namespace
