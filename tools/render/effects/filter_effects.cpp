// The neighbourhood filters, the contrast stretch, the zoom and the warp
// brush as still effects: each applies once with the settings given,
// through the same kernels as the plug-in's dialogs.
#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include "plugins/bxcomm1/kernels/bilinear_zoom.h"
#include "plugins/bxcomm1/kernels/bleed.h"
#include "plugins/bxcomm1/kernels/contrast_stretch.h"
#include "plugins/bxcomm1/kernels/hulling.h"
#include "plugins/bxcomm1/kernels/edge_filter.h"
#include "plugins/bxcomm1/kernels/gauss_blur.h"
#include "plugins/bxcomm1/kernels/sharpen.h"
#include "plugins/bxcomm1/kernels/unsharp.h"
#include "plugins/bxcomm1/kernels/warp_brush.h"
#include "tools/render/effects/effect_rows.h"

namespace quillo::render {

namespace {

// Applies `apply` (a whole pass from the picture as it came in) once a frame.
class PassRun : public EffectRun {
 public:
  PassRun(const Picture& picture, std::function<void(const PixelPass&)> apply)
      : source_(picture), apply_(std::move(apply)) {}
  void Frame(const FrameInput&, Picture& image) override { apply_(image.PassFrom(source_)); }

 private:
  Picture source_;
  std::function<void(const PixelPass&)> apply_;
};

// The picture is made by the set-up; frames leave it as it is.
class DoneRun : public EffectRun {
 public:
  void Frame(const FrameInput&, Picture&) override {}
};

std::unique_ptr<EffectRun> Pass(const EffectSetup& setup, std::function<void(const PixelPass&)> apply) {
  return std::make_unique<PassRun>(setup.picture, std::move(apply));
}

const OptionInfo kUnsharpOptions[] = {
    {"radius", OptionKind::kNumber, 0.1, 50, 5.0, "blur radius in pixels"},
    {"amount", OptionKind::kNumber, 0, 100, 0.5, "how far each pixel is pushed from its blur"},
    {"threshold", OptionKind::kInteger, 0, 100, 0, "differences smaller than half this are kept"},
};
std::unique_ptr<EffectRun> StartUnsharp(const EffectSetup& setup, std::string&) {
  const double radius = setup.options.Number("radius"), amount = setup.options.Number("amount");
  const int threshold = setup.options.Integer("threshold");
  return Pass(setup, [=](const PixelPass& p) {
    const UnsharpKernel kernel(radius);
    kernel.BlurRows(p, 0, p.height);
    kernel.BlurColumns(p, 0, p.width);
    UnsharpKernel::Combine(p, amount, threshold, 0, p.height);
  });
}

const OptionInfo kBlurOptions[] = {
    {"radius", OptionKind::kNumber, 0.1, 100, 6.0, "standard deviation in pixels"},
    {"rows", OptionKind::kSwitch, 0, 1, 1, "blur along rows"},
    {"columns", OptionKind::kSwitch, 0, 1, 1, "blur along columns"},
};
std::unique_ptr<EffectRun> StartBlur(const EffectSetup& setup, std::string&) {
  const double radius = setup.options.Number("radius");
  const bool rows = setup.options.Switch("rows"), columns = setup.options.Switch("columns");
  return Pass(setup, [=](const PixelPass& p) {
    const GaussCurve curve(radius);
    CopyPassSource(p);
    if (columns) BlurAreaColumns(p, curve, 0, p.width);
    if (rows) BlurAreaRows(p, curve, 0, p.height);
  });
}

const OptionInfo kBleedOptions[] = {
    {"factor", OptionKind::kNumber, -100, 1, 0.5, "1 grey, 0 unchanged, below 0 more colour"},
    {"red", OptionKind::kSwitch, 0, 1, 1, "change the red channel"},
    {"green", OptionKind::kSwitch, 0, 1, 1, "change the green channel"},
    {"blue", OptionKind::kSwitch, 0, 1, 1, "change the blue channel"},
};
std::unique_ptr<EffectRun> StartBleed(const EffectSetup& setup, std::string&) {
  const OptionValues& o = setup.options;
  const BleedSettings s{o.Number("factor"), o.Switch("red"), o.Switch("green"), o.Switch("blue")};
  return Pass(setup, [=](const PixelPass& p) { RunBleed(p, s, 0, p.height); });
}

const OptionInfo kEdgeOptions[] = {
    {"divisor", OptionKind::kInteger, 1, 50, 6, "larger values give fainter edges"},
};
std::unique_ptr<EffectRun> StartEdge(const EffectSetup& setup, std::string&) {
  const int d = setup.options.Integer("divisor");
  return Pass(setup, [=](const PixelPass& p) { RunEdge(p, d, 0, p.height); });
}

std::unique_ptr<EffectRun> StartDespeckle(const EffectSetup& setup, std::string& error) {
  return Pass(setup, [](const PixelPass& p) {
    DespeckleGrids grids;
    if (!grids.Load(p)) return;
    for (int c = 0; c < 3; ++c) grids.Run(c);
    grids.Store(p);
  });
}

const OptionInfo kSharpenOptions[] = {
    {"strength", OptionKind::kInteger, 1, 100, 50, "strength of the kernel"},
};
std::unique_ptr<EffectRun> StartSharpen(const EffectSetup& setup, std::string&) {
  const int s = setup.options.Integer("strength");
  return Pass(setup, [=](const PixelPass& p) { RunSharpen(p, s, 0, p.height); });
}

const OptionInfo kStretchOptions[] = {
    {"method", OptionKind::kInteger, 1, 3, 1, "1 saturation and brightness, 2 each channel, 3 complementary colours"},
};
std::unique_ptr<EffectRun> StartStretch(const EffectSetup& setup, std::string&) {
  const auto method = StretchMethod(800 + setup.options.Integer("method"));
  return Pass(setup, [=](const PixelPass& p) {
    ContrastStretch stretch(method);
    stretch.Measure(p);
    stretch.Write(p);
  });
}

const OptionInfo kZoomOptions[] = {
    {"width", OptionKind::kInteger, 2, 16383, std::nullopt, "new width (the picture's own when left out)"},
    {"height", OptionKind::kInteger, 2, 16383, std::nullopt, "new height"},
};
std::unique_ptr<EffectRun> StartZoom(const EffectSetup& setup, std::string& error) {
  Picture& picture = setup.picture;
  const int w = setup.options.Integer("width", picture.width), h = setup.options.Integer("height", picture.height);
  Picture zoomed;
  if (!MakePicture(w, h, zoomed)) {
    error = "the new size is too large";
    return nullptr;
  }
  BilinearZoomRows({picture.pixels.data(), picture.width, picture.height, picture.stride, 3},
                   {zoomed.pixels.data(), w, h, zoomed.stride}, 0, h);
  picture = std::move(zoomed);
  return std::make_unique<DoneRun>();
}

const OptionInfo kWarpOptions[] = {
    {"mode", OptionKind::kInteger, 1, 6, 1, "1 grow, 2 shrink, 3 move, 4 restore, 5 and 6 twirl"},
    {"radius", OptionKind::kInteger, 1, 100, 40, "brush radius"},
    {"strength", OptionKind::kNumber, 0.01, 1, 0.5, "brush strength"},
    {"x", OptionKind::kInteger, -16384, 16384, std::nullopt, "brush column (the middle when left out)"},
    {"y", OptionKind::kInteger, -16384, 16384, std::nullopt, "brush row from the top"},
    {"dabs", OptionKind::kInteger, 1, 100, 1, "how many times the brush is pressed there"},
    {"to-x", OptionKind::kInteger, -16384, 16384, std::nullopt, "where a move ends (column)"},
    {"to-y", OptionKind::kInteger, -16384, 16384, std::nullopt, "where a move ends (row)"},
};
std::unique_ptr<EffectRun> StartWarp(const EffectSetup& setup, std::string& error) {
  const OptionValues& o = setup.options;
  Picture& picture = setup.picture;
  const Picture source = picture;
  WarpBrush brush;
  if (!brush.Start(picture.width, picture.height)) {
    error = "no memory for the warp map";
    return nullptr;
  }
  const int x = o.Integer("x", picture.width / 2), y = o.Integer("y", picture.height / 2);
  const WarpPicture target{source.pixels.data(), picture.pixels.data(), picture.width, picture.height,
                           picture.stride, nullptr, nullptr};
  const auto mode = WarpMode(800 + o.Integer("mode"));
  for (int i = 0; i < o.Integer("dabs"); ++i)
    brush.Stroke(mode, o.Integer("radius"), o.Number("strength"), x, y, o.Integer("to-x", x),
                 o.Integer("to-y", y), target);
  return std::make_unique<DoneRun>();
}

}  // namespace

const EffectRow kUnsharpRow{"unsharp", "unsharp mask", EffectKind::kStill, kUnsharpOptions, StartUnsharp};
const EffectRow kBlurRow{"blur", "Gaussian blur", EffectKind::kStill, kBlurOptions, StartBlur};
const EffectRow kBleedRow{"bleed", "colours toward grey or away", EffectKind::kStill, kBleedOptions, StartBleed};
const EffectRow kEdgeRow{"edge", "edge detection", EffectKind::kStill, kEdgeOptions, StartEdge};
const EffectRow kDespeckleRow{"despeckle", "speckle removal", EffectKind::kStill, {}, StartDespeckle};
const EffectRow kSharpenRow{"sharpen", "sharpening", EffectKind::kStill, kSharpenOptions, StartSharpen};
const EffectRow kStretchRow{"stretch", "contrast stretch", EffectKind::kStill, kStretchOptions, StartStretch};
const EffectRow kZoomRow{"zoom", "resize by bilinear sampling", EffectKind::kStill, kZoomOptions, StartZoom};
const EffectRow kWarpBrushRow{"warp-brush", "warp brush pressed once or more", EffectKind::kStill, kWarpOptions,
                              StartWarp};

}  // namespace quillo::render
