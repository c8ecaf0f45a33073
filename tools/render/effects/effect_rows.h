// The rows of the effect table, each defined beside its set-up and frame
// step.
#pragma once
#include "tools/render/effects/effect_registry.h"

namespace quillo::render {

extern const EffectRow kTunnelRow, kSphereRow, kPlaneRow, kWormRow;
extern const EffectRow kWaterRow, kBlobRow;
extern const EffectRow kKaleRow, kIllusionRow;
extern const EffectRow kDawaRow, kWarpRow;
extern const EffectRow kDistortRow;
extern const EffectRow kPoolRow, kWavyRow, kDiscoRow, kMagicRow, kGradientRow;
extern const EffectRow kGloopRow, kLakeRow;
extern const EffectRow kBumpRow, kFlashRow, kEnvmapRow, kStarRow, kFTraceRow;
extern const EffectRow kSnowRow, kRainRow, kCloudRow, kFireworkRow;
extern const EffectRow kAquariumRow, kQuakeRow, kLightRow;
extern const EffectRow kPuzzleRow, kPuzzle1Row;
extern const EffectRow kFlammeRow, kFlaresRow, kTexRow;
extern const EffectRow kTwinkleRow, kStormRow;
extern const EffectRow kRockRow, kFeedbackRow;
extern const EffectRow kBalanceRow, kBrightnessRow, kModulateRow, kGammaRow, kColourPackRow;
extern const EffectRow kUnsharpRow, kBlurRow, kBleedRow, kEdgeRow, kDespeckleRow, kSharpenRow;
extern const EffectRow kStretchRow, kZoomRow, kWarpBrushRow;
extern const EffectRow kRotateRow, kShearRow, kResampleRow, kTileableRow, kDragWarpRow;

}  // namespace quillo::render
