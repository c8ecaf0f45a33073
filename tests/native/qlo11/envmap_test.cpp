// Envmap: the torus mesh and its triangles, the turn of a vector, the
// texture addressing of the filled spans (negative coordinates wrap into
// the 1024 x 512 texture), the triangles appearing one a frame, culling,
// and frames clipped to tiny pictures.
#include "plugins/qlo11/kernels/envmap.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <vector>

#include "../qlo14/noise_picture.h"

namespace {

using namespace quillo::qlo11;

constexpr double kDeg = 3.14159265358979323846 / 180;

std::vector<uint8_t> Texture() {
  std::vector<uint8_t> t(size_t(kEnvmapTextureStride) * kEnvmapTextureHeight);
  for (int r = 0; r < kEnvmapTextureHeight; ++r)
    for (int c = 0; c < kEnvmapTextureWidth; ++c) {
      uint8_t* p = &t[size_t(r * kEnvmapTextureStride + c * 3)];
      p[0] = uint8_t(c);
      p[1] = uint8_t(c >> 8 | 0x80);
      p[2] = uint8_t(r | 1);  // never black
    }
  return t;
}

TEST(Qlo11Envmap, MeshRingsAndTrianglesCoverTheTorus) {
  EnvmapState s;
  StartEnvmap(s);
  // theta = 0, phi = 0: the point (0, 60, 0) and normal (0, 30, 0) turned
  // by (0, 0, 0) keep their place (the turn reflects twice).
  const EnvmapVertex& v0 = s.mesh[0];
  EXPECT_EQ(v0.x, 0);
  EXPECT_EQ(v0.y, 180);
  EXPECT_EQ(v0.z, 0);
  EXPECT_EQ(v0.ny, 450);
  // theta = 60: x = sin 60 x y0, y = cos 60 x y0 (truncated after scaling).
  const EnvmapVertex& v6 = s.mesh[6];
  EXPECT_EQ(v6.x, int32_t(std::sin(60 * kDeg) * 60 * 3));
  EXPECT_EQ(v6.y, int32_t(std::cos(60 * kDeg) * 60 * 3));
  // phi = 90 is not a mesh angle; phi = 120: z = -30 sin 120.
  EXPECT_EQ(s.mesh[2].z, int32_t(-30 * std::sin(120 * kDeg) * 3));
  std::map<int, int> uses;
  for (const auto& t : s.triangles)
    for (uint8_t k : t) ++uses[k];
  EXPECT_EQ(uses.size(), 36u);
  for (const auto& [vertex, n] : uses) EXPECT_EQ(n, 6) << vertex;
  EXPECT_EQ(s.drawn, 0);
}

TEST(Qlo11Envmap, RotationAppliesTheThreeTurnsInOrder) {
  const EnvmapVector v = RotateEnvmap({1, 2, 3}, 0.3, 0.2, 0.1);
  const double x1 = std::cos(0.1) + std::sin(0.1) * 2, y1 = std::sin(0.1) - std::cos(0.1) * 2;
  const double x2 = std::sin(0.2) * 3 + std::cos(0.2) * x1, z2 = std::sin(0.2) * x1 - std::cos(0.2) * 3;
  EXPECT_DOUBLE_EQ(v.x, x2);
  EXPECT_DOUBLE_EQ(v.z, std::cos(0.3) * z2 + std::sin(0.3) * y1);
  EXPECT_DOUBLE_EQ(v.y, std::sin(0.3) * z2 - std::cos(0.3) * y1);
}

TEST(Qlo11Envmap, SpansReadRowVAnd511ColumnTwiceUAnd1023) {
  const std::vector<uint8_t> texture = Texture();
  for (const auto& [u, v] : {std::pair{0, 0}, {-3, -10}, {700, 600}, {-450, 440}}) {
    NoisePicture out(20, 12, -1, 1);
    std::vector<uint8_t> before = out.Rows();
    // One texture point at every corner: the whole triangle shows it.
    FillEnvmapTriangle({2, 1, u, v}, {18, 1, u, v}, {2, 11, u, v}, texture.data(), out.Pixels(), 20, 12,
                       out.stride);
    const uint8_t* texel = &texture[size_t((v & 511) * kEnvmapTextureStride + ((u * 2) & 1023) * 3)];
    int filled = 0;
    for (int y = 0; y < 12; ++y)
      for (int x = 0; x < 20; ++x) {
        const uint8_t* p = out.At(x, y);
        const bool changed = !std::equal(p, p + 3, before.data() + y * out.stride + x * 3);
        if (!changed) continue;
        ++filled;
        EXPECT_TRUE(std::equal(p, p + 3, texel)) << x << "," << y;
        EXPECT_TRUE(y >= 1 && y < 11 && x >= 2 && x < 18) << x << "," << y;
      }
    EXPECT_GT(filled, 70);  // about half the 16 x 10 box
    EXPECT_TRUE(out.GuardsIntact());
  }
}

TEST(Qlo11Envmap, TrianglesAppearOneAFrameFacingOnesOnlyClippedToThePicture) {
  const std::vector<uint8_t> texture = Texture();
  EnvmapState s;
  StartEnvmap(s);
  NoisePicture out(kEnvmapWidth, kEnvmapHeight);
  EnvmapFrame(s, texture.data(), out.Pixels(), kEnvmapWidth, kEnvmapHeight, out.stride);
  EXPECT_EQ(out.Rows(), std::vector<uint8_t>(size_t(out.stride) * kEnvmapHeight, 0)) << "first frame: none";
  EXPECT_EQ(s.drawn, 1);
  EXPECT_DOUBLE_EQ(s.alpha, 0.03);
  std::vector<int> lit;
  for (int k = 0; k < 100; ++k) {
    EnvmapFrame(s, texture.data(), out.Pixels(), kEnvmapWidth, kEnvmapHeight, out.stride);
    int n = 0;
    for (int64_t b = 0; b < out.stride * kEnvmapHeight; b += 3) n += out.Pixels()[b + 2] != 0;
    lit.push_back(n);
  }
  EXPECT_EQ(s.drawn, kEnvmapTriangles);
  EXPECT_GT(lit.back(), 20000) << "the whole torus covers a good part of the frame";
  EXPECT_LT(lit.back(), kEnvmapWidth * kEnvmapHeight / 2);
  // A torus at 3 x 2 or 1 x 1 pixels: everything is clipped.
  for (const auto& [w, h] : {std::pair{3, 2}, {1, 1}}) {
    EnvmapState tiny;
    StartEnvmap(tiny);
    NoisePicture small(w, h);
    for (int k = 0; k < 80; ++k) EnvmapFrame(tiny, texture.data(), small.Pixels(), w, h, small.stride);
    EXPECT_TRUE(small.GuardsIntact());
  }
}

}  // namespace
