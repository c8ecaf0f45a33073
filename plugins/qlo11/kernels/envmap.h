// Envmap: a spinning torus that mirrors the picture. The torus is a coarse
// mesh of 6 x 6 vertices; each frame every vertex is turned by three
// growing angles, projected, and each triangle facing the viewer is filled
// with the part of the texture its vertex normals point at (an environment
// map: the normal's x and y are the texture coordinates). The triangles
// appear one a frame until all 72 are drawn.
#pragma once
#include <array>
#include <cstdint>

namespace quillo::qlo11 {

constexpr int kEnvmapWidth = 640, kEnvmapHeight = 480;  // the picture the torus is drawn into
constexpr int kEnvmapTextureWidth = 1024, kEnvmapTextureHeight = 512;
constexpr int64_t kEnvmapTextureStride = int64_t(kEnvmapTextureWidth) * 3;
constexpr int kEnvmapRings = 6, kEnvmapVertices = 36, kEnvmapTriangles = 72;

struct EnvmapVector {
  double x = 0, y = 0, z = 0;
};

// (x, y) <- (cos g x + sin g y, sin g x - cos g y); then (x, z) <- (sin b z +
// cos b x, sin b x - cos b z); then (z, y) <- (cos a z + sin a y, sin a z -
// cos a y).
EnvmapVector RotateEnvmap(EnvmapVector v, double alpha, double beta, double gamma);

struct EnvmapVertex {
  int32_t x = 0, y = 0, z = 0;     // position
  int32_t nx = 0, ny = 0, nz = 0;  // normal
};

struct EnvmapState {
  std::array<EnvmapVertex, kEnvmapVertices> mesh{};  // ring i (angle 60 i), vertex j (60 j): i x 6 + j
  std::array<std::array<uint8_t, 3>, kEnvmapTriangles> triangles{};
  double alpha = 0, beta = 0, gamma = 0;
  int drawn = 0;  // triangles drawn this frame; grows by one a frame up to 72
};

// The mesh, its triangles, angles 0 and no triangle drawn yet.
void StartEnvmap(EnvmapState& state);

// A projected vertex: screen column and row, texture coordinates.
struct EnvmapCorner {
  int x, y, u, v;
};

// Fills the triangle abc of `out` (24-bit, width x height, rows of `stride`
// bytes; y is the memory row) scan line by scan line: rows from the top
// vertex's included to the bottom one's excluded, columns likewise from the
// left edge to the right; the texture coordinates step in 16.16 fixed point
// along the edges and the span, and the texel is at row v & 511, column
// (u x 2) & 1023 of the 1024 x 512 texture. Clipped to the picture.
void FillEnvmapTriangle(const EnvmapCorner& a, const EnvmapCorner& b, const EnvmapCorner& c,
                        const uint8_t* texture, uint8_t* out, int width, int height, int64_t stride);

// One frame: `out` cleared to black, the first `drawn` triangles turned,
// projected and those with a vertex normal facing the viewer filled from
// `texture` (1024 x 512, rows of 3072 bytes); then the angles advance.
void EnvmapFrame(EnvmapState& state, const uint8_t* texture, uint8_t* out, int width, int height,
                 int64_t stride);

}  // namespace quillo::qlo11
