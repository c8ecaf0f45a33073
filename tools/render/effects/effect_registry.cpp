#include "effect_registry.h"

#include "tools/render/effects/effect_rows.h"

namespace quillo::render {

namespace {

const EffectRow* const kTable[] = {
    &kTunnelRow, &kSphereRow, &kPlaneRow, &kWormRow,   &kWaterRow,   &kBlobRow,
    &kWarpRow,   &kKaleRow,   &kIllusionRow, &kDistortRow, &kDawaRow,
    &kPoolRow,   &kWavyRow,   &kDiscoRow,   &kMagicRow,  &kGradientRow,
    &kGloopRow,  &kLakeRow,
    &kBumpRow,   &kFlashRow,  &kEnvmapRow,  &kStarRow,   &kFTraceRow,
    &kSnowRow,   &kRainRow,   &kCloudRow,   &kFireworkRow,
    &kAquariumRow, &kQuakeRow, &kLightRow,
    &kPuzzleRow, &kPuzzle1Row,
    &kFlammeRow, &kFlaresRow, &kTexRow,
    &kTwinkleRow, &kStormRow,
    &kRockRow, &kFeedbackRow,
    &kBalanceRow, &kBrightnessRow, &kModulateRow, &kGammaRow,
    &kUnsharpRow, &kBlurRow, &kBleedRow, &kEdgeRow, &kDespeckleRow, &kSharpenRow,
    &kStretchRow, &kColourPackRow, &kZoomRow, &kWarpBrushRow,
    &kRotateRow, &kShearRow, &kResampleRow, &kTileableRow, &kDragWarpRow,
};

}  // namespace

std::span<const EffectRow* const> EffectTable() { return kTable; }

const EffectRow* FindEffect(std::string_view name) {
  for (const EffectRow* row : kTable)
    if (name == row->name) return row;
  return nullptr;
}

bool EffectPlayer::Start(const EffectRow& row, const OptionValues& options, const Picture& input,
                         uint32_t seed, std::string& error) {
  run_.reset();
  frames_ = 0;
  random_.Seed(seed);
  Picture picture = input;
  const EffectSetup setup{options, picture, random_};
  run_ = row.start(setup, error);
  if (!run_) return false;
  image_ = std::move(picture);
  return true;
}

void EffectPlayer::Step(const CursorPoint& cursor, const MouseDrop& drop) {
  if (!run_) return;
  FrameInput input;
  input.index = frames_;
  input.cursor = cursor;
  input.drop = drop;
  input.random = &random_;
  run_->Frame(input, image_);
  ++frames_;
}

}  // namespace quillo::render
