// Cloud: fractal clouds drifting over the picture. Three 256 x 256 height
// maps, grown by midpoint displacement from a corner fixed at 0, are tiled
// over the picture; two of them scroll at different speeds, and the mean v
// of the three lightens each pixel: c becomes min(255, v + c L[v] / 1024)
// with L[v] = max(0, trunc((255 - 2v) 1024 / 255)). With the sky flag the
// clouds sit on a plain blue sky instead of the picture.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "imaging/basics/runtime_random.h"
#include "plugins/animation/kernels/param_blob.h"

namespace quillo::qlo15 {

constexpr int kCloudMinBase = 1, kCloudMaxBase = 50, kCloudDefaultBase = 4;
constexpr int kCloudMinRoughness = 1, kCloudMaxRoughness = 10, kCloudDefaultRoughness = 2;
constexpr int kCloudMapSize = 256;

// The stored block: magic, size 20, base noise, roughness, sky flag.
constexpr uint32_t kCloudBlobMagic = 0x3940AB34;
inline constexpr animation::BlobField kCloudBlobFields[] = {
    {animation::BlobFieldKind::kInt32, kCloudMinBase, kCloudMaxBase, kCloudDefaultBase},
    {animation::BlobFieldKind::kInt32, kCloudMinRoughness, kCloudMaxRoughness, kCloudDefaultRoughness},
    {animation::BlobFieldKind::kInt32, 0, 1, 0}};
constexpr std::size_t kCloudFieldCount = 3;

using CloudMap = std::vector<int32_t>;  // 256 x 256, row-major, values 0 ... 255

struct CloudState {
  int base = kCloudDefaultBase;
  int roughness = kCloudDefaultRoughness;
  bool sky = false;
  bool regenerate = true;  // the maps are grown anew on the next frame
  int s0 = 0, s1 = 0;      // scroll offsets, kept below 256
  std::array<CloudMap, 3> maps{CloudMap(kCloudMapSize * kCloudMapSize),
                               CloudMap(kCloudMapSize * kCloudMapSize),
                               CloudMap(kCloudMapSize * kCloudMapSize)};
};

// The lightening table L.
const std::array<int32_t, 256>& CloudLightTable();

// Base noise and roughness clamped into their sliders' ranges; the maps are
// grown anew on the next frame.
void SetCloudShape(CloudState& state, int base, int roughness);

// Grows `map` by midpoint displacement: at step d (256, 128, ..., 2) the
// jitter is rand mod n - n / 2 with n = base + roughness d. `map` must hold
// 256 x 256 values; its [0][0] is left as it is.
void GrowCloudMap(CloudMap& map, int roughness, int base, RuntimeRandom& random);

// One frame: grows the maps first when asked, then lays the clouds over
// `source` into `out` (24-bit, width x height, rows of `stride` bytes) and
// scrolls.
void CloudFrame(CloudState& state, const uint8_t* source, uint8_t* out, int width, int height,
                int64_t stride, RuntimeRandom& random);

}  // namespace quillo::qlo15
