// Bump, Flash, Envmap, Star and FTrace: a light over the picture's relief,
// a spark fountain, a spinning mirrored torus, a star field and the
// picture folded through a fractal map.
#include <algorithm>
#include <array>
#include <memory>
#include <vector>

#include "plugins/animation/kernels/seamless.h"
#include "plugins/qlo11/kernels/bump.h"
#include "plugins/qlo11/kernels/envmap.h"
#include "plugins/qlo11/kernels/flash.h"
#include "plugins/qlo11/kernels/ftrace.h"
#include "plugins/qlo11/kernels/star.h"
#include "tools/render/effects/effect_rows.h"
#include "tools/render/effects/texture_drift.h"

// The sprites the plug-in's resource module holds, drawn by the same script.
#include "star_sprite_data.inc"

namespace quillo::render {

namespace {

using namespace qlo11;

constexpr uint32_t kFrameMs = 10;  // the clock Bump's mouse timing sees: one frame every 10 ms

const OptionInfo kStarOptions[] = {
    {"stars", OptionKind::kInteger, kStarMinCount, kStarMaxCount, kStarDefaultCount, "stars in the field"},
};
const OptionInfo kFTraceOptions[] = {
    {"width", OptionKind::kInteger, kFTraceMinSpan, kFTraceMaxSpan, kFTraceDefaultSpan,
     "half-width of the window, in tenths"},
    {"height", OptionKind::kInteger, kFTraceMinSpan, kFTraceMaxSpan, kFTraceDefaultSpan,
     "half-height of the window, in tenths"},
    {"steps", OptionKind::kInteger, kFTraceMinSteps, kFTraceMaxSteps, kFTraceDefaultSteps,
     "iterations of z^2 + c"},
    {"seamless", OptionKind::kSwitch, 0, 1, 1, "fold the picture so the texture tiles without seams"},
};

// A mouse press over the picture moves Bump's light there, as a move would.
class BumpRun : public EffectRun {
 public:
  explicit BumpRun(const Picture& picture) : backup_(picture) {
    StartBump(bump_, picture.width, picture.height, 0);
  }
  void Frame(const FrameInput& input, Picture& image) override {
    const uint32_t now = uint32_t(input.index) * kFrameMs;
    if (input.drop.button != MouseButton::kNone)
      BumpMouse(bump_, image.width, image.height, input.drop.x, input.drop.y, now);
    BumpFrame(bump_, backup_.pixels.data(), image.pixels.data(), image.width, image.height, image.stride,
              now);
  }

 private:
  Picture backup_;
  BumpState bump_;
};

class FlashRun : public EffectRun {
 public:
  explicit FlashRun(const Picture& picture) : backup_(picture), flash_(std::make_unique<FlashState>()) {}
  void Frame(const FrameInput& input, Picture& image) override {
    FlashFrame(*flash_, backup_.pixels.data(), image.pixels.data(), image.width, image.height, image.stride,
               *input.random);
  }

 private:
  Picture backup_;
  std::unique_ptr<FlashState> flash_;
};

class EnvmapRun : public EffectRun {
 public:
  explicit EnvmapRun(Picture texture) : texture_(std::move(texture)) { StartEnvmap(torus_); }
  void Frame(const FrameInput&, Picture& image) override {
    EnvmapFrame(torus_, texture_.pixels.data(), image.pixels.data(), image.width, image.height, image.stride);
  }

 private:
  Picture texture_;
  EnvmapState torus_;
};

class StarRun : public EffectRun {
 public:
  StarRun(const Picture& picture, const StarSprites& sprites, int count, RuntimeRandom& random)
      : backup_(picture), sprites_(sprites) {
    SetStarCount(field_, count);
    StartStars(field_, picture.width, picture.height, random);
  }
  void Frame(const FrameInput& input, Picture& image) override {
    StarFrame(field_, sprites_, backup_.pixels.data(), image.pixels.data(), image.width, image.height,
              image.stride, *input.random);
  }

 private:
  Picture backup_;
  StarSprites sprites_;
  StarState field_;
};

class FTraceRun : public EffectRun {
 public:
  FTraceRun(const Picture& picture, bool seamless, std::vector<animation::MapEntry> map)
      : texture_(picture), map_(std::move(map)) {
    if (seamless)
      animation::MakeSeamless(picture.pixels.data(), texture_.pixels.data(), picture.width, picture.height,
                              picture.stride);
  }
  void Frame(const FrameInput& input, Picture& image) override {
    const int w = image.width, h = image.height;
    drift_.Advance(w, h);
    DrawTracedFrame(texture_.pixels.data(), image.pixels.data(), w, h, image.stride, map_.data(), drift_.x,
                    drift_.y);
    drift_.ReadCursor(input.cursor, w, h, 10);
  }

 private:
  Picture texture_;
  std::vector<animation::MapEntry> map_;
  TextureDrift drift_;
};

std::unique_ptr<EffectRun> StartBumpRun(const EffectSetup& setup, std::string&) {
  return std::make_unique<BumpRun>(setup.picture);
}

std::unique_ptr<EffectRun> StartFlashRun(const EffectSetup& setup, std::string&) {
  return std::make_unique<FlashRun>(setup.picture);
}

// The torus plays on a black 640 x 480 picture; the texture is the picture
// (turned a quarter turn when taller than wide) at 1024 x 512.
std::unique_ptr<EffectRun> StartEnvmapRun(const EffectSetup& setup, std::string& error) {
  Picture& picture = setup.picture;
  if (picture.height > picture.width && !QuarterTurnPicture(picture, picture)) {
    error = "cannot turn the picture";
    return nullptr;
  }
  Picture texture;
  if (!ResamplePicture(picture, kEnvmapTextureWidth, kEnvmapTextureHeight, texture) ||
      !MakePicture(kEnvmapWidth, kEnvmapHeight, picture)) {
    error = "out of memory for the torus";
    return nullptr;
  }
  return std::make_unique<EnvmapRun>(std::move(texture));
}

std::unique_ptr<EffectRun> StartStarRun(const EffectSetup& setup, std::string& error) {
  static const uint8_t* const kData[kStarSpriteKinds] = {kStar3Sprite, kStar2Sprite, kBeeSprite,
                                                         kQueenSprite};
  static const size_t kBytes[kStarSpriteKinds] = {sizeof kStar3Sprite, sizeof kStar2Sprite, sizeof kBeeSprite,
                                                  sizeof kQueenSprite};
  std::array<std::vector<uint8_t>, kStarSpriteKinds> stored;
  StarSprites sprites;
  for (int k = 0; k < kStarSpriteKinds; ++k)
    if (!ReadPackedSprite(kData[k], kBytes[k], kStarSpriteSizes[k], stored[size_t(k)])) {
      error = "a star sprite is damaged";
      return nullptr;
    }
  PrepareStarSprites(stored, sprites);
  return std::make_unique<StarRun>(setup.picture, sprites, setup.options.Integer("stars"), setup.random);
}

std::unique_ptr<EffectRun> StartFTraceRun(const EffectSetup& setup, std::string& error) {
  const Picture& p = setup.picture;
  if (p.width > kFTraceMaxSide || p.height > kFTraceMaxSide) {
    error = "the picture is too large for the fractal map";
    return nullptr;
  }
  std::vector<animation::MapEntry> map(size_t(p.width) * size_t(p.height));
  BuildFTraceMap(p.width, p.height, setup.options.Integer("width") * 0.1,
                 setup.options.Integer("height") * 0.1, setup.options.Integer("steps"), map.data());
  auto run = std::make_unique<FTraceRun>(p, setup.options.Switch("seamless"), std::move(map));
  // The dialog opens on a black picture.
  setup.picture.pixels.assign(setup.picture.pixels.size(), 0);
  return run;
}

}  // namespace

const EffectRow kBumpRow{
    "bump", "a wandering light over the picture's relief", EffectKind::kAnimated, {}, StartBumpRun};
const EffectRow kFlashRow{"flash",
                          "a fountain of coloured sparks wrapping round the picture",
                          EffectKind::kAnimated,
                          {},
                          StartFlashRun};
const EffectRow kEnvmapRow{"envmap",
                           "a spinning torus mirroring the picture (plays at 640 x 480)",
                           EffectKind::kAnimated,
                           {},
                           StartEnvmapRun};
const EffectRow kStarRow{"star", "a star field rushing toward the viewer", EffectKind::kAnimated,
                         kStarOptions, StartStarRun};
const EffectRow kFTraceRow{"ftrace", "the picture folded through a fractal map and scrolled",
                           EffectKind::kAnimated, kFTraceOptions, StartFTraceRun};

}  // namespace quillo::render
