// Water's saved-parameter block: damping shift, drop strength, drop radius,
// the surfer's two phases, the flags and the light, each kept inside what
// the dialog's controls can set (strength may be negative: the splash
// preset stores a falling splash as -1400).
#pragma once
#include <cstdint>

#include "plugins/animation/kernels/param_blob.h"

namespace quillo::qlo12 {

constexpr uint32_t kWaterBlobMagic = 0xA4F7312B;

enum WaterBlobField { kWaterDamping, kWaterStrength, kWaterRadius, kWaterPhase1, kWaterPhase2,
                      kWaterFlags, kWaterLight, kWaterFieldCount };

using animation::BlobField;
using animation::BlobFieldKind;
inline constexpr BlobField kWaterBlobFields[kWaterFieldCount] = {
    {BlobFieldKind::kInt32, 1, 100, 5},               // damping shift
    {BlobFieldKind::kInt32, -3010, 3010, 400},        // drop strength
    {BlobFieldKind::kInt32, 1, 255, 30},              // drop radius
    {BlobFieldKind::kInt32, 0, 2147483647.0, 0},      // surfer phase 1
    {BlobFieldKind::kInt32, 0, 2147483647.0, 0},      // surfer phase 2
    {BlobFieldKind::kInt32, 0, 0x7FFF, 0x4003},       // flags
    {BlobFieldKind::kInt32, 1, 8, 3},                 // light
};

}  // namespace quillo::qlo12
