// Zoom: the picture resized to the width and height of the two sliders (or
// a preset's multiple of the current size) by bilinear sampling. Each apply
// makes a new picture, which the caller sees at once; OK keeps the last
// one, Cancel brings back the picture passed in.
#include "effect_run.h"
#include "kernels/bilinear_zoom.h"
#include "resize_session.h"

namespace quillo {
namespace {

class ZoomEffect : public ResizeSession {
 protected:
  int SmallestSide() const override { return 2; }

  bool ResizePicture(const uint8_t* source, const ResizeTarget& t, bool withProgress, bool&) override {
    const ByteImage from{source, width, height, stride, 3};
    const ByteTarget to{t.pixels, t.width, t.height, t.stride};
    for (int row = 0; row < t.height; row += 16) {
      if (withProgress && !Checkpoint(int(int64_t(row) * 100 / t.height))) return false;
      BilinearZoomRows(from, to, row, row + 16);
    }
    return true;
  }

  bool ResizeMask(const uint8_t* source, const ResizeTarget& t) override {
    BilinearZoomRows({source, width, height, width, 1}, {t.pixels, t.width, t.height, t.stride}, 0, t.height);
    return true;
  }
};

}  // namespace
}  // namespace quillo

QUILLO_EFFECT_EXPORT(ProcessZoom, quillo::ZoomEffect)
