#include "colour_pack.h"

#include <algorithm>

#include "pass_rows.h"

namespace quillo {

PresetSliders::PresetSliders(std::initializer_list<int> values) {
  int slider = 1;
  for (int v : values) Set(slider++, v);
}

PresetSliders::PresetSliders(const std::array<int32_t, kPresetSliderCount>& values) {
  for (int i = 0; i < kPresetSliderCount; ++i) Set(i + 1, values[size_t(i)]);
}

void PresetSliders::Set(int slider, int value) {
  if (slider >= 1 && slider <= kPresetSliderCount)
    v_[size_t(slider - 1)] = std::clamp(value, 0, 255);
}

void ApplyColourPresetPerPixel(const ColourPreset& preset, const PresetSliders& sliders,
                               const PixelPass& pass, int rowBegin, int rowEnd) {
  const PresetRowFn rowOp = preset.rowOp;
  if (rowOp == nullptr) return;
  ForEachPassRow(pass, rowBegin, rowEnd, [&](const uint8_t* src, uint8_t* dst, int count) {
    rowOp(src, dst, count, sliders);
  });
}

void ColourPackKernel::Prepare(const ColourPreset& preset, const PresetSliders& sliders) {
  preset_ = preset;
  sliders_ = sliders;
  usesTables_ = preset.channelOp != nullptr;
  if (!usesTables_) return;
  ChannelTables tables;
  for (int k = 0; k < 3; ++k)
    for (int v = 0; v < 256; ++v)
      tables.byChannel[size_t(k)][size_t(v)] = preset.channelOp(v, k, sliders);
  tables_.Prepare(tables);
}

void ColourPackKernel::Run(const PixelPass& pass, int rowBegin, int rowEnd) const {
  if (usesTables_) {
    tables_.Run(pass, rowBegin, rowEnd);
  } else {
    ApplyColourPresetPerPixel(preset_, sliders_, pass, rowBegin, rowEnd);
  }
}

}  // namespace quillo
