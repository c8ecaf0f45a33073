// Twinkling stars and the sprite storm: cross-shaped stars shrinking and
// showing up elsewhere, and a cloud of glowing sprites turned by the
// cursor's place on the screen, leaving fading trails.
#include <memory>

#include "plugins/qlo17/kernels/storm.h"
#include "plugins/qlo17/kernels/twinkle.h"
#include "tools/render/effects/effect_rows.h"

// The sprites the plug-in module carries, drawn by the same script.
#include "storm_sprite_data.inc"

namespace quillo::render {

namespace {

using namespace qlo17;

const OptionInfo kTwinkleOptions[] = {
    {"stars", OptionKind::kInteger, kTwinkleMinCount, kTwinkleMaxCount, kTwinkleDefaultCount, "stars twinkling"},
};
const OptionInfo kStormOptions[] = {
    {"sprites", OptionKind::kInteger, kStormMinCount, kStormMaxCount, kStormDefaultCount, "sprites in the cloud"},
};

class TwinkleRun : public EffectRun {
 public:
  TwinkleRun(const Picture& picture, int count, RuntimeRandom& random)
      : backup_(picture), stars_(std::make_unique<TwinkleState>()) {
    SetTwinkleCount(*stars_, count);
    StartTwinkle(*stars_, random);
  }
  void Frame(const FrameInput& input, Picture& image) override {
    TwinkleFrame(*stars_, backup_.pixels.data(), image.pixels.data(), image.width, image.height, image.stride,
                 *input.random);
  }

 private:
  Picture backup_;
  std::unique_ptr<TwinkleState> stars_;
};

class StormRun : public EffectRun {
 public:
  StormRun(const Picture& picture, StormSprites sprites, std::unique_ptr<StormState> storm)
      : backup_(picture), sprites_(std::move(sprites)), storm_(std::move(storm)) {}
  void Frame(const FrameInput& input, Picture& image) override {
    const StormCursor cursor{input.cursor.screenWidth, input.cursor.screenHeight, input.cursor.x, input.cursor.y};
    StormFrame(*storm_, sprites_, backup_.pixels.data(), image.pixels.data(), image.stride, cursor, *input.random);
  }

 private:
  Picture backup_;
  StormSprites sprites_;
  std::unique_ptr<StormState> storm_;
};

std::unique_ptr<EffectRun> StartTwinkleRun(const EffectSetup& setup, std::string&) {
  return std::make_unique<TwinkleRun>(setup.picture, setup.options.Integer("stars"), setup.random);
}

// The picture is kept as the backup; playing starts on a cleared one.
std::unique_ptr<EffectRun> StartStormRun(const EffectSetup& setup, std::string& error) {
  static const uint8_t* const kData[kStormSpriteKinds] = {kBlobStormSprite, kEllipseStormSprite,
                                                          kFlareStormSprite, kLensStormSprite, kSNovaStormSprite};
  static const size_t kBytes[kStormSpriteKinds] = {sizeof kBlobStormSprite, sizeof kEllipseStormSprite,
                                                   sizeof kFlareStormSprite, sizeof kLensStormSprite,
                                                   sizeof kSNovaStormSprite};
  StormSprites sprites;
  for (int k = 0; k < kStormSpriteKinds; ++k)
    if (!ReadStormSprite(kData[k], kBytes[k], sprites[size_t(k)])) {
      error = "a storm sprite is damaged";
      return nullptr;
    }
  Picture& picture = setup.picture;
  auto storm = std::make_unique<StormState>();
  if (!AllocateStormGlow(*storm, picture.width, picture.height)) {
    error = "out of memory for the glow";
    return nullptr;
  }
  SetStormCount(*storm, setup.options.Integer("sprites"));
  const Picture backup = picture;
  StartStorm(*storm, picture.pixels.data(), picture.stride, setup.random);
  return std::make_unique<StormRun>(backup, std::move(sprites), std::move(storm));
}

}  // namespace

const EffectRow kTwinkleRow{"star17", "twinkling cross-shaped stars scattered over the picture",
                            EffectKind::kAnimated, kTwinkleOptions, StartTwinkleRun};
const EffectRow kStormRow{"storm", "a cloud of glowing sprites turned by the cursor, leaving fading trails",
                          EffectKind::kAnimated, kStormOptions, StartStormRun};

}  // namespace quillo::render
