// The kaleidoscope and the illusion: per-pixel maps built once, and the
// texture sliding under them at the cursor's speed.
#include <algorithm>
#include <memory>
#include <vector>

#include "plugins/qlo12/kernels/illusion.h"
#include "plugins/qlo12/kernels/kale_map.h"
#include "tools/render/effects/effect_rows.h"
#include "tools/render/effects/texture_drift.h"

namespace quillo::render {

namespace {

using namespace qlo12;

const OptionInfo kKaleOptions[] = {
    {"segments", OptionKind::kInteger, kKaleMinSegments, kKaleMaxSegments, kKaleDefaultSegments,
     "mirror segments"},
    {"mirror", OptionKind::kSwitch, 0, 1, 1, "every other segment is a mirror image"},
    {"centre-x", OptionKind::kNumber, 0, kMaxPictureSide, std::nullopt,
     "centre column (default the middle)"},
    {"centre-y", OptionKind::kNumber, 0, kMaxPictureSide, std::nullopt,
     "centre row from the top (default the middle)"},
    {"angle1", OptionKind::kNumber, -1000, 1000, kKaleDefaultAngle, "first rotation, radians"},
    {"angle2", OptionKind::kNumber, -1000, 1000, kKaleDefaultAngle, "second rotation, radians"},
};

const OptionInfo kIllusionOptions[] = {
    {"sectors", OptionKind::kInteger, kIllusionMinSectors, kIllusionMaxSectors, kIllusionDefaultSectors,
     "sectors the displaced copy is cut into"},
};

class KaleRun : public EffectRun {
 public:
  KaleRun(const Picture& picture, std::vector<KaleEntry> map) : texture_(picture), map_(std::move(map)) {}

  void Frame(const FrameInput& input, Picture& image) override {
    const int w = image.width, h = image.height;
    drift_.Advance(w, h);
    DrawKaleFrame(texture_.pixels.data(), image.pixels.data(), w, h, image.stride, map_.data(), drift_.x,
                  drift_.y);
    drift_.ReadCursor(input.cursor, w, h, kKaleSpeedFactor);
  }

 private:
  Picture texture_;
  std::vector<KaleEntry> map_;
  TextureDrift drift_;
};

std::unique_ptr<EffectRun> StartKale(const EffectSetup& setup, std::string& error) {
  const Picture& p = setup.picture;
  if (!KaleSizeWorkable(p.width, p.height)) {
    error = "the picture is too large for the kaleidoscope";
    return nullptr;
  }
  const OptionValues& o = setup.options;
  KaleParameters k = DefaultKaleParameters(p.width, p.height);
  k.segments = o.Integer("segments");
  k.mirror = o.Switch("mirror") ? 1 : 0;
  k.angle1 = o.Number("angle1");
  k.angle2 = o.Number("angle2");
  // The centre is given from the top of the picture, the map counts memory
  // rows from the bottom; both are kept on the picture.
  k.centreX = std::min(o.Number("centre-x", k.centreX), double(p.width - 1));
  const double fromTop = std::min(o.Number("centre-y", p.height - 1 - k.centreY), double(p.height - 1));
  k.centreY = p.height - 1 - fromTop;
  std::vector<KaleEntry> map(size_t(p.width) * size_t(p.height));
  if (!BuildKaleMap(p.width, p.height, k, map.data())) {
    error = "the kaleidoscope map cannot be built";
    return nullptr;
  }
  return std::make_unique<KaleRun>(p, std::move(map));
}

class IllusionRun : public EffectRun {
 public:
  IllusionRun(const Picture& picture, std::vector<IllusionEntry> map)
      : texture_(picture), map_(std::move(map)) {}

  void Frame(const FrameInput& input, Picture& image) override {
    const int w = image.width, h = image.height;
    drift_.Advance(w, h);
    DrawIllusionFrame(texture_.pixels.data(), image.pixels.data(), w, h, image.stride, map_.data(), drift_.x,
                      drift_.y);
    drift_.ReadCursor(input.cursor, w, h, kIllusionSpeedFactor);
  }

 private:
  Picture texture_;
  std::vector<IllusionEntry> map_;
  TextureDrift drift_;
};

std::unique_ptr<EffectRun> StartIllusion(const EffectSetup& setup, std::string& error) {
  const Picture& p = setup.picture;
  std::vector<IllusionEntry> map(size_t(p.width) * size_t(p.height));
  if (!BuildIllusionMap(p.width, p.height, setup.options.Integer("sectors"), map.data())) {
    error = "the picture is too large for the illusion";
    return nullptr;
  }
  return std::make_unique<IllusionRun>(p, std::move(map));
}

}  // namespace

const EffectRow kKaleRow{"kale", "a kaleidoscope whose mirror segments slide over the picture",
                         EffectKind::kAnimated, kKaleOptions, StartKale};
const EffectRow kIllusionRow{"illusion", "the picture blended with a copy displaced sector by sector",
                             EffectKind::kAnimated, kIllusionOptions, StartIllusion};

}  // namespace quillo::render
