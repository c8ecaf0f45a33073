// The geometry plug-in's effects as still effects: rotation, shear,
// resampling with any of its kernels, the seamless tile and the drag warp,
// each applied once with the settings given through the plug-in's kernels.
#include <memory>

#include "imaging/zoom.h"
#include "plugins/animation/kernels/seamless.h"
#include "plugins/bxcomm2/kernels/drag_warp.h"
#include "plugins/bxcomm2/kernels/resample_kernels.h"
#include "plugins/bxcomm2/kernels/shear_rotate.h"
#include "tools/render/effects/effect_rows.h"

namespace quillo::render {

namespace {

// The picture is made by the set-up; frames leave it as it is.
class DoneRun : public EffectRun {
 public:
  void Frame(const FrameInput&, Picture&) override {}
};

bxcomm2::Picture ToKernel(const Picture& p) {
  bxcomm2::Picture k;
  k.width = p.width, k.height = p.height, k.stride = p.stride;
  k.pixels = p.pixels;
  return k;
}

// The kernel's picture as the tool's, when its size is one the tool takes.
bool FromKernel(const bxcomm2::Picture& k, Picture& out, std::string& error) {
  Picture made;
  if (!MakePicture(k.width, k.height, made)) {
    error = "the new picture is too large";
    return false;
  }
  for (int y = 0; y < k.height; ++y) std::copy(k.Row(y), k.Row(y) + int64_t(k.width) * 3, made.Row(y));
  out = std::move(made);
  return true;
}

#define BACKGROUND_OPTIONS                                                    \
  {"red", OptionKind::kInteger, 0, 255, 255, "background red"},               \
      {"green", OptionKind::kInteger, 0, 255, 255, "background green"},       \
      {"blue", OptionKind::kInteger, 0, 255, 255, "background blue"}

bxcomm2::Background BackgroundOf(const OptionValues& o) {
  return {uint8_t(o.Integer("blue")), uint8_t(o.Integer("green")), uint8_t(o.Integer("red"))};
}

std::unique_ptr<EffectRun> Finish(const std::optional<bxcomm2::Picture>& made, Picture& picture,
                                  std::string& error) {
  if (!made) {
    error = "the canvas would be too large";
    return nullptr;
  }
  if (!FromKernel(*made, picture, error)) return nullptr;
  return std::make_unique<DoneRun>();
}

const OptionInfo kRotateOptions[] = {
    {"angle", OptionKind::kInteger, -360, 360, 45, "degrees, counter-clockwise"},
    BACKGROUND_OPTIONS,
};
std::unique_ptr<EffectRun> StartRotate(const EffectSetup& setup, std::string& error) {
  const OptionValues& o = setup.options;
  return Finish(bxcomm2::RotatePicture(ToKernel(setup.picture), o.Integer("angle"), BackgroundOf(o)),
                setup.picture, error);
}

const OptionInfo kShearOptions[] = {
    {"horizontal", OptionKind::kInteger, -179, 179, 45, "horizontal shear angle in degrees"},
    {"vertical", OptionKind::kInteger, -179, 179, 45, "vertical shear angle in degrees"},
    BACKGROUND_OPTIONS,
};
std::unique_ptr<EffectRun> StartShear(const EffectSetup& setup, std::string& error) {
  const OptionValues& o = setup.options;
  return Finish(bxcomm2::ShearPicture(ToKernel(setup.picture), o.Integer("horizontal"), o.Integer("vertical"),
                                      BackgroundOf(o)),
                setup.picture, error);
}

const OptionInfo kResampleOptions[] = {
    {"width", OptionKind::kInteger, 1, 16383, std::nullopt, "new width (the picture's own when left out)"},
    {"height", OptionKind::kInteger, 1, 16383, std::nullopt, "new height"},
    {"kernel", OptionKind::kInteger, 1, 14, 1,
     "1 box, 2 triangle, 3 Hermite, 4 Hanning, 5 Hamming, 6 Blackman, 7 Gaussian, 8 quadratic, "
     "9 B-spline, 10 Catmull-Rom, 11 Mitchell, 12 Lanczos, 13 Bessel, 14 sinc"},
};
std::unique_ptr<EffectRun> StartResample(const EffectSetup& setup, std::string& error) {
  Picture& picture = setup.picture;
  const OptionValues& o = setup.options;
  const int w = o.Integer("width", picture.width), h = o.Integer("height", picture.height);
  Picture resized;
  if (!MakePicture(w, h, resized)) {
    error = "the new size is too large";
    return nullptr;
  }
  const auto filter = bxcomm2::ResampleFilterFor(bxcomm2::kFirstResampleButton - 1 + o.Integer("kernel"));
  if (imaging::ResampleBgr24({picture.pixels.data(), picture.width, picture.height, picture.stride},
                             {resized.pixels.data(), w, h, resized.stride}, filter) != imaging::ZoomStatus::kDone) {
    error = "no memory for the resampler";
    return nullptr;
  }
  picture = std::move(resized);
  return std::make_unique<DoneRun>();
}

std::unique_ptr<EffectRun> StartTileable(const EffectSetup& setup, std::string&) {
  Picture& picture = setup.picture;
  const Picture source = picture;
  animation::MakeSeamless(source.pixels.data(), picture.pixels.data(), picture.width, picture.height,
                          picture.stride);
  return std::make_unique<DoneRun>();
}

const OptionInfo kDragWarpOptions[] = {
    {"from-x", OptionKind::kInteger, 0, 16383, std::nullopt, "where the drag starts (the middle when left out)"},
    {"from-y", OptionKind::kInteger, 0, 16383, std::nullopt, "its row from the top"},
    {"to-x", OptionKind::kInteger, 0, 16383, std::nullopt, "where the drag ends (a quarter further right when left out)"},
    {"to-y", OptionKind::kInteger, 0, 16383, std::nullopt, "its row from the top"},
};
std::unique_ptr<EffectRun> StartDragWarp(const EffectSetup& setup, std::string& error) {
  Picture& picture = setup.picture;
  const OptionValues& o = setup.options;
  const int fromX = o.Integer("from-x", picture.width / 2), fromY = o.Integer("from-y", picture.height / 2);
  const int toX = o.Integer("to-x", fromX + picture.width / 4), toY = o.Integer("to-y", fromY);
  if (fromX >= picture.width || toX >= picture.width || fromY >= picture.height || toY >= picture.height) {
    error = "the drag must start and end on the picture";
    return nullptr;
  }
  const Picture source = picture;
  // Rows from the top become memory rows, which run bottom-up.
  bxcomm2::DragWarp({source.pixels.data(), picture.pixels.data(), picture.width, picture.height, picture.stride},
                    {fromX, picture.height - 1 - fromY}, {toX, picture.height - 1 - toY});
  return std::make_unique<DoneRun>();
}

}  // namespace

const EffectRow kRotateRow{"rotate", "rotation on a background", EffectKind::kStill, kRotateOptions, StartRotate};
const EffectRow kShearRow{"shear", "horizontal and vertical shear", EffectKind::kStill, kShearOptions, StartShear};
const EffectRow kResampleRow{"resample", "resize with a chosen resampling kernel", EffectKind::kStill,
                             kResampleOptions, StartResample};
const EffectRow kTileableRow{"tileable", "seamless tile", EffectKind::kStill, {}, StartTileable};
const EffectRow kDragWarpRow{"drag-warp", "one drag of the drag warp", EffectKind::kStill, kDragWarpOptions,
                             StartDragWarp};

}  // namespace quillo::render
