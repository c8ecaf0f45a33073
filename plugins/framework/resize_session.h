// The resizing dialog both zoom effects share: two sliders for the new
// width and height, a combo box of presets (1101), apply making a picture
// of the new size that the caller sees at once, OK enabled only once such a
// picture exists, and the mask resized along. An effect says how small its
// sliders go and how the pixels are resampled.
#pragma once
#include "effect_session.h"

namespace quillo {

// Where a resize writes: a 24-bit picture (rows bottom-up) or, with
// channels 1, a mask of width x height bytes.
struct ResizeTarget {
  uint8_t* pixels = nullptr;
  int width = 0, height = 0;
  int64_t stride = 0;
};

class ResizeSession : public EffectSession {
 public:
  const char* TemplateName() const override { return "Zoom"; }
  bool HasPreview() const override { return false; }
  bool BeepsOnStop() const override { return true; }
  bool SharesRectangle() const override { return true; }
  bool ChangesSize() const override { return true; }
  bool ResetsViewTool() const override { return true; }

  void InitControls(HWND dialog) override;
  void SliderChanged(int id, int position, char* label, size_t size) override;
  void ParameterChanged() override {}
  void OtherCommand(HWND dialog, int id, int code, LPARAM lParam) override;
  bool RunPass(const PixelPass& pass, bool withProgress) override;

 protected:
  // The smallest width and height the sliders offer.
  virtual int SmallestSide() const = 0;
  // Resamples the picture (`source`, of the session's size) into `target`;
  // Checkpoint between steps when `withProgress`. False when stopped or out
  // of memory (with `outOfMemory` set).
  virtual bool ResizePicture(const uint8_t* source, const ResizeTarget& target, bool withProgress,
                             bool& outOfMemory) = 0;
  // The mask (width x height bytes, rows top-down) into `target`. False
  // when out of memory.
  virtual bool ResizeMask(const uint8_t* source, const ResizeTarget& target) = 0;

  int newWidth = 0, newHeight = 0;

 private:
  void ShowSize(HWND dialog);
};

}  // namespace quillo
