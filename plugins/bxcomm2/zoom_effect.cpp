// Zoom: the picture resized to the width and height of the two sliders (or
// a preset's multiple of the current size) by the two-pass resampler with
// the kernel of the checked button 461 .. 474; the mask is resampled alike.
// Each apply makes a new picture, which the caller sees at once; OK keeps
// the last one, Cancel brings back the picture passed in.
#include "dialog_controls.h"
#include "effect_run.h"
#include "imaging/zoom.h"
#include "kernels/resample_kernels.h"
#include "resize_session.h"

namespace quillo::bxcomm2 {
namespace {

class ZoomEffect : public ResizeSession {
 protected:
  int SmallestSide() const override { return 1; }

  bool ResizePicture(const uint8_t* source, const ResizeTarget& t, bool withProgress, bool& outOfMemory) override {
    // The resampler runs in one piece: the bar shows its start only.
    if (withProgress && !Checkpoint(0)) return false;
    const imaging::Bgr24Picture from{const_cast<uint8_t*>(source), width, height, stride, 3};
    outOfMemory = imaging::ResampleBgr24(from, {t.pixels, t.width, t.height, t.stride, 3}, Filter()) !=
                  imaging::ZoomStatus::kDone;
    return !outOfMemory;
  }

  bool ResizeMask(const uint8_t* source, const ResizeTarget& t) override {
    const imaging::Bgr24Picture from{const_cast<uint8_t*>(source), width, height, width, 1};
    return imaging::ResampleBgr24(from, {t.pixels, t.width, t.height, t.width, 1}, Filter()) ==
           imaging::ZoomStatus::kDone;
  }

 private:
  imaging::ResampleFilter Filter() const {
    for (int id = kFirstResampleButton; id <= kLastResampleButton; ++id)
      if (Checked(dialogWindow, id)) return ResampleFilterFor(id);
    return ResampleFilterFor(kFirstResampleButton);
  }
};

}  // namespace
}  // namespace quillo::bxcomm2

QUILLO_EFFECT_EXPORT(ProcessZoom, quillo::bxcomm2::ZoomEffect)
