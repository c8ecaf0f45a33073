// What rotation and shear share: angles on sliders, a background colour
// chosen with the colour dialog (button 1001) and shown in swatch 711, and
// an apply that turns the picture passed in into a new picture of another
// size, mask and all, which the caller sees at once. A picture that cannot
// be made beeps and keeps the picture as it was.
#pragma once
#include <optional>

#include "effect_session.h"
#include "kernels/shear_rotate.h"

namespace quillo::bxcomm2 {

class CanvasEffect : public EffectSession {
 public:
  bool HasPreview() const override { return false; }
  bool SharesRectangle() const override { return true; }
  bool ChangesSize() const override { return true; }
  bool ResetsViewTool() const override { return true; }

  void InitControls(HWND dialog) override;
  void ParameterChanged() override {}
  void OtherCommand(HWND dialog, int id, int code, LPARAM lParam) override;
  bool RunPass(const PixelPass& pass, bool withProgress) override;

 protected:
  // The new picture made from `in`, or none when it cannot be made.
  virtual std::optional<Picture> Transform(const Picture& in, Background background,
                                           const Progress& progress) = 0;

 private:
  COLORREF background_ = RGB(255, 255, 255);
};

}  // namespace quillo::bxcomm2
