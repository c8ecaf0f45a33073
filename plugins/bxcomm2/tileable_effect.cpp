// Tileable: the picture folded onto itself so that it tiles without visible
// seams. The slider is shown only; the pass runs row by row with progress
// and cannot be stopped.
#include <cstring>

#include "dialog_controls.h"
#include "effect_run.h"
#include "plugins/animation/kernels/seamless.h"

namespace quillo::bxcomm2 {
namespace {

class TileableEffect : public EffectSession {
 public:
  const char* TemplateName() const override { return "NoParam"; }
  bool HasPreview() const override { return false; }

  void InitControls(HWND dialog) override {
    SetSlider(dialog, 501, 1, 500, 10);
    SetLabelInt(dialog, 701, 10);
  }

  void SliderChanged(int id, int position, char* label, size_t size) override {
    if (id == 501) FormatInt(label, size, position);
  }

  void ParameterChanged() override {}

  bool RunPass(const PixelPass& pass, bool withProgress) override {
    std::memset(pass.target, 0, size_t(pass.stride) * size_t(pass.height));
    for (int row = 0; row < pass.height; ++row) {
      if (withProgress) Checkpoint(int(int64_t(row) * 100 / pass.height));
      animation::MakeSeamlessRows(pass.source, pass.target, pass.width, pass.height, pass.stride, row, row + 1);
    }
    return true;
  }
};

}  // namespace
}  // namespace quillo::bxcomm2

QUILLO_EFFECT_EXPORT(ProcessTileable, quillo::bxcomm2::TileableEffect)
