// Water's tables and height fields: table values, drops cut at the border,
// the damped wave dying fast or hardly at all, and the refraction and
// lighting of known fields against the values water_reference.py works out
// from the effects' description. Tiny fields are used at their exact sizes, so the
// sanitizers see any step outside them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <utility>
#include <vector>

#include "tests/native/qlo12/field_checks.h"
#include "plugins/qlo12/kernels/water_field.h"
#include "plugins/qlo12/kernels/water_tables.h"

namespace {

using quillo::RuntimeRandom;
using quillo::qlo12::test::FrameIsZero;
using quillo::qlo12::BlobHeights;
using quillo::qlo12::ConeDrop;
using quillo::qlo12::DiscDrop;
using quillo::qlo12::GetWaterTables;
using quillo::qlo12::HeightField;
using quillo::qlo12::PropagateField;
using quillo::qlo12::RenderField;
using quillo::qlo12::SettleDropCentre;
using quillo::qlo12::SmoothDrop;
using quillo::qlo12::WaterHeights;
using quillo::qlo12::WaterTables;

int64_t StrideOf(int width) { return (int64_t(width) * 24 + 31) / 32 * 4; }

template <typename Field>
Field Make(int width, int height) {
  Field field;
  EXPECT_TRUE(field.Allocate(width, height));
  return field;
}

template <typename Field>
int64_t Peak(const Field& f) {
  int64_t peak = 0;
  for (int y = 0; y < f.height(); ++y)
    for (int x = 0; x < f.width(); ++x)
      peak = std::max<int64_t>(peak, std::abs(int64_t(f.At(x, y))));
  return peak;
}

template <typename Field>
int CountNonZero(const Field& f) {
  int n = 0;
  for (int y = 0; y < f.height(); ++y)
    for (int x = 0; x < f.width(); ++x) n += f.At(x, y) != 0;
  return n;
}

TEST(WaterTables, HoldTruncatedSinesAndCosines) {
  const WaterTables& t = GetWaterTables();
  struct Entry {
    int k, sine, cosine;
  };
  // trunc(sin / cos(k x 2pi / 2048) x 65536), worked out with python3.
  const Entry entries[] = {{0, 0, 65536},     {1, 201, 65535},   {2, 402, 65534},
                           {256, 46340, 46340}, {511, 65535, 201}, {512, 65536, 0},
                           {513, 65535, -201}, {1024, 0, -65536}, {1536, -65536, 0},
                           {1537, -65535, 201}, {2047, -201, 65535}};
  for (const Entry& e : entries) {
    EXPECT_EQ(t.sine[e.k], e.sine) << e.k;
    EXPECT_EQ(t.cosine[e.k], e.cosine) << e.k;
  }
  // Lookups take the index modulo 2048, negative ones too.
  EXPECT_EQ(t.Sine(-1), -201);
  EXPECT_EQ(t.Sine(2048 + 256), 46340);
  EXPECT_EQ(t.Cosine(-1024), -65536);
  EXPECT_EQ(t.Cosine(3 * 2048 + 513), -201);
  // A second fill gives the same tables.
  static WaterTables again;
  quillo::qlo12::FillWaterTables(again);
  for (int k = 0; k < quillo::qlo12::kWaterTableSize; ++k) {
    ASSERT_EQ(again.sine[k], t.sine[k]) << k;
    ASSERT_EQ(again.cosine[k], t.cosine[k]) << k;
  }
}

TEST(HeightField, AllocatesZeroCellsOrNothing) {
  WaterHeights f;
  EXPECT_TRUE(f.empty());
  ASSERT_TRUE(f.Allocate(7, 5));
  EXPECT_EQ(f.width(), 7);
  EXPECT_EQ(f.height(), 5);
  EXPECT_EQ(CountNonZero(f), 0);
  f.At(3, 2) = 9;
  f.Clear();
  EXPECT_EQ(CountNonZero(f), 0);
  EXPECT_FALSE(f.Allocate(0, 5));
  EXPECT_TRUE(f.empty());
  EXPECT_EQ(f.width(), 0);
  BlobHeights b;
  EXPECT_FALSE(b.Allocate(-3, 4));
  EXPECT_FALSE(b.Allocate(4, 0));
  EXPECT_TRUE(b.empty());
}

TEST(WaterDrops, DiscCoversTheCellsInsideTheCircle) {
  // Radius 3: i^2 + j^2 < 9 holds for the 5 x 5 square around the centre
  // (corners 8) but not for (0, +-3) and (+-3, 0).
  WaterHeights f = Make<WaterHeights>(20, 20);
  RuntimeRandom random(1);
  DiscDrop(f, 10, 10, 3, 7, random);
  EXPECT_EQ(CountNonZero(f), 25);
  EXPECT_EQ(f.At(12, 12), 7);
  EXPECT_EQ(f.At(8, 8), 7);
  EXPECT_EQ(f.At(13, 10), 0);
  EXPECT_EQ(f.At(10, 7), 0);
  EXPECT_EQ(random.state(), 1u) << "a fixed centre draws nothing";
  // Sums wrap at the cell's width.
  DiscDrop(f, 10, 10, 1, 30000, random);
  DiscDrop(f, 10, 10, 1, 30000, random);
  EXPECT_EQ(f.At(10, 10), int16_t(60007 - 65536));
  BlobHeights b = Make<BlobHeights>(20, 20);
  DiscDrop(b, 10, 10, 1, 30000, random);
  DiscDrop(b, 10, 10, 1, 30000, random);
  EXPECT_EQ(b.At(10, 10), 60000);
  // A radius below 1 changes nothing.
  DiscDrop(b, 5, 5, 0, 99, random);
  DiscDrop(b, 5, 5, -4, 99, random);
  EXPECT_EQ(CountNonZero(b), 1);
}

TEST(WaterDrops, SmoothAndConeShapes) {
  WaterHeights f = Make<WaterHeights>(40, 40);
  RuntimeRandom random(1);
  // Centre: (h x (K[0] + 65535)) >> 19 = (-2000 x 131071) >> 19 = -500.
  SmoothDrop(f, 20, 20, 4, -2000, random);
  EXPECT_EQ(f.At(20, 20), -500);
  // (1, 0) at radius 4: k = trunc(sqrt(65536 x 1)) = 256, K[256] = 46340:
  // (-2000 x 111875) >> 19 = -427 (rounded toward minus infinity).
  EXPECT_EQ(f.At(21, 20), -427);
  EXPECT_EQ(f.At(20, 19), -427);
  // (3, 2): 13 < 16, k = trunc(sqrt(65536 x 13)) = 923, K[923] = -62414:
  // (-2000 x 3121) >> 19 = -12.
  EXPECT_EQ(f.At(23, 22), -12);
  EXPECT_EQ(f.At(24, 20), 0);  // 16 is not below 16
  // Cone of height 400 and radius 30: (400 / 64) = 6 per cell of distance.
  f.Clear();
  ConeDrop(f, 20, 20, 30, 400, random);
  EXPECT_EQ(f.At(20, 20), 180);
  EXPECT_EQ(f.At(23, 24), 150);  // distance 5
  EXPECT_EQ(f.At(21, 21), 171);  // trunc(6 x (30 - 1.414...)) = 171
  ConeDrop(f, 20, 20, 30, -63, random);  // -63 / 64 is 0: no change
  EXPECT_EQ(f.At(20, 20), 180);
}

TEST(WaterDrops, RandomCentresKeepOffTheEdges) {
  RuntimeRandom random(4321), copy(4321);
  int x = -1, y = 5;
  SettleDropCentre(100, 80, 10, x, y, random);
  EXPECT_EQ(x, copy.Next() % (100 - 20 - 1) + 11);
  EXPECT_EQ(y, 5);  // kept, no draw
  x = 3;
  y = -7;
  SettleDropCentre(100, 80, 10, x, y, random);
  EXPECT_EQ(y, copy.Next() % (80 - 20 - 1) + 11);
  EXPECT_EQ(x, 3);
  // Too large a radius for the picture: the modulus is 1, so the centre is
  // c + 1 (the draw is still taken).
  x = y = -1;
  SettleDropCentre(30, 20, 40, x, y, random);
  copy.Next();
  copy.Next();
  EXPECT_EQ(x, 41);
  EXPECT_EQ(y, 41);
  EXPECT_EQ(random.state(), copy.state());
}

template <typename Field>
void CheckDropsCutAtTheBorder() {
  const int w = 23, h = 17;
  const int centres[][2] = {{0, 0},   {w - 1, h - 1}, {w / 2, 0}, {0, h / 2},   {w - 1, 1},
                            {1, h - 2}, {w + 3, h / 2}, {w / 2, h + 40}, {-1, -1}, {w / 2, h / 2}};
  for (const auto& centre : centres)
    for (int radius : {1, 2, 5, 30, 300}) {
      for (int shape = 0; shape < 3; ++shape) {
        Field f = Make<Field>(w, h);
        RuntimeRandom random(99);
        const int x = centre[0], y = centre[1];
        if (shape == 0) SmoothDrop(f, x, y, radius, -3000, random);
        if (shape == 1) ConeDrop(f, x, y, radius, 3000, random);
        if (shape == 2) DiscDrop(f, x, y, radius, 77, random);
        ASSERT_TRUE(FrameIsZero(f)) << "shape " << shape << " at " << x << "," << y << " radius "
                                    << radius;
        // A wide disc reaches the cells just inside the frame.
        if (shape == 2 && radius == 300 && x >= 0) {
          EXPECT_EQ(f.At(1, 1), 77);
          EXPECT_EQ(f.At(w - 2, h - 2), 77);
          EXPECT_EQ(CountNonZero(f), (w - 2) * (h - 2));
        }
      }
    }
}

TEST(WaterDrops, DropsCrossingTheBorderLeaveTheOuterRowsAndColumns) {
  CheckDropsCutAtTheBorder<WaterHeights>();
  CheckDropsCutAtTheBorder<BlobHeights>();
}

TEST(WaterPropagation, FollowsTheWaveRuleOnHandWorkedCells) {
  // One interior cell: its eight neighbours in `current` are 1 ... 8 (sum
  // 36, >> 2 = 9); its old value 4 gives d = 5; shift 1: 5 - 2 = 3.
  for (int pass = 0; pass < 2; ++pass) {
    BlobHeights current = Make<BlobHeights>(3, 3), next = Make<BlobHeights>(3, 3);
    int v = pass == 0 ? 1 : -1;
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 3; ++x)
        if (x != 1 || y != 1) current.At(x, y) = v, v += pass == 0 ? 1 : -1;
    next.At(1, 1) = pass == 0 ? 4 : 1;
    PropagateField(current, next, pass == 0 ? 1 : 2);
    // Second pass: sum -36 >> 2 = -9, old 1: d = -10, shift 2: -10 - (-3) = -7.
    EXPECT_EQ(next.At(1, 1), pass == 0 ? 3 : -7);
    next.At(1, 1) = 0;
    EXPECT_EQ(CountNonZero(next), 0) << "only the interior cell is computed";
  }
}

template <typename Field>
std::vector<int64_t> PeaksAfterADrop(int shift, int frames) {
  Field a = Make<Field>(64, 48), b = Make<Field>(64, 48);
  RuntimeRandom random(1);
  SmoothDrop(a, 32, 24, 10, -2000, random);
  std::vector<int64_t> peaks{Peak(a)};
  for (int n = 0; n < frames; ++n) {
    PropagateField(a, b, shift);
    std::swap(a, b);
    peaks.push_back(Peak(a));
    EXPECT_TRUE(FrameIsZero(a));
  }
  return peaks;
}

template <typename Field>
void CheckDamping() {
  // Shift 1 takes half of every new value: the ripples are gone in a few
  // frames.
  const std::vector<int64_t> fast = PeaksAfterADrop<Field>(1, 16);
  EXPECT_EQ(fast[0], 500);
  EXPECT_LT(fast[8], 50);
  EXPECT_LE(fast[16], 2);
  // Shift 31 hardly damps: after 30 frames the ripple still stands taller
  // than the drop that made it.
  const std::vector<int64_t> slow = PeaksAfterADrop<Field>(31, 30);
  EXPECT_GT(slow[30], 500);
  // Shifts of 32 and more act as 31.
  EXPECT_EQ(PeaksAfterADrop<Field>(100, 30), slow);
  EXPECT_EQ(PeaksAfterADrop<Field>(32, 30), slow);
}

TEST(WaterPropagation, ShiftOneDiesFastALargeShiftHardlyDamps) {
  CheckDamping<WaterHeights>();
  CheckDamping<BlobHeights>();
}

TEST(WaterPropagation, SixteenBitCellsSeeEveryShiftFromSeventeenAlike) {
  // d stays below 2^17 in size for 16-bit cells, so d >> s is its sign for
  // every s from 17 up: the clamp at 31 changes nothing there.
  WaterHeights a = Make<WaterHeights>(9, 9), b17 = Make<WaterHeights>(9, 9),
               b31 = Make<WaterHeights>(9, 9);
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 9; ++x) {
      a.At(x, y) = int16_t((x * 7919 + y * 104729) % 65536 - 32768);
      b17.At(x, y) = b31.At(x, y) = int16_t(x * 8000 - y * 7000);
    }
  PropagateField(a, b17, 17);
  PropagateField(a, b31, 100);
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 9; ++x) ASSERT_EQ(b17.At(x, y), b31.At(x, y)) << x << "," << y;
}

// A 24-bit picture with distinct bytes, padding included.
std::vector<uint8_t> Picture(int width, int height, uint8_t salt) {
  std::vector<uint8_t> p(size_t(StrideOf(width) * height));
  for (size_t n = 0; n < p.size(); ++n) p[n] = uint8_t(n * 7 + salt);
  return p;
}

template <typename Field>
void CheckFlatFieldsCopy(int64_t level) {
  for (const auto& [w, h] : {std::pair{1, 1}, std::pair{2, 2}, std::pair{3, 3}, std::pair{8, 5},
                             std::pair{13, 7}}) {
    Field f = Make<Field>(w, h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) f.At(x, y) = typename Field::CellType(level);
    const std::vector<uint8_t> backup = Picture(w, h, 3);
    for (int light : {0, 1, 3, 8}) {
      std::vector<uint8_t> image = Picture(w, h, 200);
      const std::vector<uint8_t> before = image;
      RenderField(f, backup.data(), image.data(), StrideOf(w), light);
      for (int y = 0; y < h; ++y)
        for (int64_t n = 0; n < StrideOf(w); ++n) {
          const int64_t x = n / 3;
          const bool interior = x >= 1 && x < w - 1 && y >= 1 && y < h - 1;
          const size_t at = size_t(y * StrideOf(w) + n);
          ASSERT_EQ(image[at], interior ? backup[at] : before[at])
              << w << "x" << h << " light " << light << " row " << y << " byte " << n;
        }
    }
  }
}

TEST(WaterRender, AFlatFieldCopiesTheBackupInsideTheFrame) {
  CheckFlatFieldsCopy<WaterHeights>(0);
  CheckFlatFieldsCopy<WaterHeights>(-1234);
  CheckFlatFieldsCopy<BlobHeights>(0);
  CheckFlatFieldsCopy<BlobHeights>(2000000000);
}

// The 6 x 5 case of water_reference.py: backup byte (x, y, b) = x x 40 +
// y x 7 + b x 3 + 11; the expected bytes are the 3 x 4 interior pixels, row
// by row from memory row 1. By hand for pixel (1, 1) of the 16-bit field:
// h0 = 16, h1 = -9, h2 = 300, so dx = 25 >> 3 = 3 and dy = -284 >> 3 = -36:
// the source is (4, 0), bytes 171, 174, 177; light 2 takes 25 >> 1 = 12 off
// each (159, 162, 165), light 1 all 25 (146, 149, 152).
template <typename Field>
std::vector<int> RenderKnownField(const int64_t (&rows)[5][6], int light) {
  const int w = 6, h = 5;
  Field f = Make<Field>(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) f.At(x, y) = typename Field::CellType(rows[y][x]);
  std::vector<uint8_t> backup(size_t(StrideOf(w) * h), 0);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      for (int b = 0; b < 3; ++b)
        backup[size_t(y * StrideOf(w) + x * 3 + b)] = uint8_t(x * 40 + y * 7 + b * 3 + 11);
  std::vector<uint8_t> image(backup.size(), 0xEE);
  RenderField(f, backup.data(), image.data(), StrideOf(w), light);
  std::vector<int> out;
  for (int y = 0; y < h; ++y)
    for (int n = 0; n < StrideOf(w); ++n) {
      const int x = n / 3;
      const uint8_t v = image[size_t(y * StrideOf(w) + n)];
      if (x >= 1 && x < w - 1 && y >= 1 && y < h - 1)
        out.push_back(v);
      else
        EXPECT_EQ(v, 0xEE) << "frame or padding at row " << y << " byte " << n;
    }
  return out;
}

TEST(WaterRender, RefractsAndLightsAKnownField) {
  const int64_t cells16[5][6] = {{0, 0, 0, 0, 0, 0},
                                 {0, 16, -9, 40, -200, 0},
                                 {0, 300, 8, -8, 7, 0},
                                 {0, -17, 1, -300, 0, 0},
                                 {0, 0, 0, 0, 0, 0}};
  // Slopes of 32-bit cells beyond what 16 bits hold, the extremes included.
  const int64_t cells32[5][6] = {{0, 0, 0, 0, 0, 0},
                                 {0, 5000000, -9, 70000, -70000, 0},
                                 {0, -3000000, 8, 2147483647, -2147483648LL, 0},
                                 {0, 640, 1, -100, 0, 0},
                                 {0, 0, 0, 0, 0, 0}};
  struct Case {
    int bits, light;
    std::vector<int> bytes;
  };
  const Case cases[] = {
      {16, 0, {171, 174, 177, 11, 14, 17, 239, 242, 245, 11, 14, 17, 239, 242, 245, 185, 188, 191,
               79, 82, 85, 185, 188, 191, 11, 14, 17, 232, 235, 238, 11, 14, 17, 192, 195, 198}},
      {16, 1, {146, 149, 152, 60, 63, 66, 0, 2, 5, 211, 214, 217, 0, 0, 0, 169, 172, 175,
               94, 97, 100, 178, 181, 184, 29, 32, 35, 0, 0, 0, 255, 255, 255, 192, 195, 198}},
      {16, 2, {159, 162, 165, 36, 39, 42, 119, 122, 125, 111, 114, 117, 93, 96, 99, 177, 180, 183,
               87, 90, 93, 182, 185, 188, 20, 23, 26, 82, 85, 88, 161, 164, 167, 192, 195, 198}},
      {16, 8, {171, 174, 177, 12, 15, 18, 238, 241, 244, 13, 16, 19, 237, 240, 243, 185, 188, 191,
               80, 83, 86, 185, 188, 191, 12, 15, 18, 230, 233, 236, 14, 17, 20, 192, 195, 198}},
      {32, 0, {239, 242, 245, 11, 14, 17, 211, 214, 217, 39, 42, 45, 11, 14, 17, 25, 28, 31,
               239, 242, 245, 11, 14, 17, 239, 242, 245, 232, 235, 238, 11, 14, 17, 192, 195, 198}},
      {32, 1, {0, 0, 0, 255, 255, 255, 0, 0, 0, 255, 255, 255, 255, 255, 255, 255, 255, 255,
               0, 0, 0, 255, 255, 255, 0, 0, 0, 131, 134, 137, 111, 114, 117, 192, 195, 198}},
      {32, 2, {0, 0, 0, 255, 255, 255, 0, 0, 0, 255, 255, 255, 255, 255, 255, 255, 255, 255,
               0, 0, 0, 255, 255, 255, 0, 0, 0, 182, 185, 188, 61, 64, 67, 192, 195, 198}},
      {32, 8, {0, 0, 0, 255, 255, 255, 0, 0, 0, 255, 255, 255, 255, 255, 255, 255, 255, 255,
               0, 0, 0, 255, 255, 255, 235, 238, 241, 232, 235, 238, 12, 15, 18, 192, 195, 198}},
  };
  for (const Case& c : cases) {
    const std::vector<int> got = c.bits == 16 ? RenderKnownField<WaterHeights>(cells16, c.light)
                                              : RenderKnownField<BlobHeights>(cells32, c.light);
    EXPECT_EQ(got, c.bytes) << c.bits << "-bit cells, light " << c.light;
  }
  // A negative light is no lighting.
  EXPECT_EQ(RenderKnownField<WaterHeights>(cells16, -3), cases[0].bytes);
}

TEST(WaterRender, RefusesShortRowsAndMissingPictures) {
  WaterHeights f = Make<WaterHeights>(4, 4);
  f.At(1, 1) = 500;
  std::vector<uint8_t> backup = Picture(4, 4, 1), image(backup.size(), 0xEE);
  RenderField(f, backup.data(), image.data(), 11, 0);  // rows need 12 bytes
  RenderField(f, nullptr, image.data(), 12, 0);
  RenderField(f, backup.data(), nullptr, 12, 0);
  for (uint8_t v : image) ASSERT_EQ(v, 0xEE);
  WaterHeights empty;
  RenderField(empty, backup.data(), image.data(), 12, 3);
  for (uint8_t v : image) ASSERT_EQ(v, 0xEE);
}

template <typename Field>
void CheckTinyFields() {
  for (const auto& [w, h] : {std::pair{1, 1}, std::pair{2, 2}, std::pair{3, 3}, std::pair{1, 6},
                             std::pair{6, 1}, std::pair{2, 5}, std::pair{3, 9}}) {
    Field a = Make<Field>(w, h), b = Make<Field>(w, h);
    RuntimeRandom random(7);
    for (int radius : {0, 1, 2, 3, 40})
      for (int x : {-1, 0, 1, 2, w, 1000}) {
        SmoothDrop(a, x, x, radius, -9000, random);
        ConeDrop(a, x, 1, radius, 9000, random);
        DiscDrop(a, 1, x, radius, 50, random);
      }
    PropagateField(a, b, 1);
    PropagateField(b, a, 200);
    PropagateField(a, b, -5);
    EXPECT_TRUE(FrameIsZero(a)) << w << "x" << h;
    EXPECT_TRUE(FrameIsZero(b)) << w << "x" << h;
    std::vector<uint8_t> backup = Picture(w, h, 9), image = Picture(w, h, 90);
    for (int light : {0, 1, 8, 40}) RenderField(a, backup.data(), image.data(), StrideOf(w), light);
    // Mismatched fields are left alone.
    Field other = Make<Field>(w + 1, h);
    other.At(0, 0) = 5;
    PropagateField(a, other, 3);
    EXPECT_EQ(other.At(0, 0), 5);
  }
}

TEST(WaterField, TinyFieldsStayInsideTheirCells) {
  CheckTinyFields<WaterHeights>();
  CheckTinyFields<BlobHeights>();
}

}  // namespace
