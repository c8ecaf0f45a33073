// The effect table against the kernels: the tunnel's frames are the texture
// looked up through the map at the offsets the cursor drives, picture
// changes of the set-ups (Worm's 640 x 480, Water's widening), drops at
// the right place, and every row safe on tiny and odd pictures.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "plugins/animation/kernels/cursor_speed.h"
#include "plugins/animation/kernels/seamless.h"
#include "plugins/animation/kernels/texture_map.h"
#include "plugins/qlo12/kernels/tunnel_map.h"
#include "tools/render/effects/effect_registry.h"

namespace {

using namespace quillo::render;
using quillo::animation::MapEntry;

Picture Pattern(int width, int height) {
  Picture p;
  MakePicture(width, height, p);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      for (int c = 0; c < 3; ++c) p.Row(y)[3 * x + c] = uint8_t(37 * x + 91 * y + 53 * c + 7 * x * y + 11);
  return p;
}

EffectPlayer Started(const char* effect, const Picture& picture,
                     std::vector<std::pair<const char*, const char*>> settings = {}) {
  const EffectRow* row = FindEffect(effect);
  EXPECT_NE(row, nullptr) << effect;
  OptionValues options(row->options);
  std::string error;
  for (const auto& [name, value] : settings) EXPECT_TRUE(options.Set(name, value, error)) << error;
  EffectPlayer player;
  EXPECT_TRUE(player.Start(*row, options, picture, 1, error)) << effect << ": " << error;
  return player;
}

TEST(EffectTable, TunnelFramesAreTheTextureThroughTheMapAtTheCursorsOffsets) {
  const int w = 45, h = 31;
  const Picture picture = Pattern(w, h);
  const CursorPoint cursor{800, 600, 100, 500};  // left and low: both speeds away from 0
  for (const char* mode : {"0", "1", "2"}) {
    for (const char* seamless : {"on", "off"}) {
      EffectPlayer player = Started("tunnel", picture, {{"mode", mode}, {"seamless", seamless}});
      Picture texture = picture;
      if (std::string(seamless) == "on")
        quillo::animation::MakeSeamless(picture.pixels.data(), texture.pixels.data(), w, h, picture.stride);
      std::vector<MapEntry> map(size_t(w) * h);
      quillo::qlo12::BuildTunnelMap(w, h, std::atoi(mode), map.data());
      const quillo::animation::Speed speed =
          quillo::animation::SpeedFromCursor(800, 600, 100, 500, w, h, 20);
      ASSERT_FALSE(speed.x == 2 && speed.y == 2);
      // Frame 1 is drawn before any speed is read; each later frame has
      // moved on by the speed.
      int64_t x = 0, y = 0;
      for (int frame = 1; frame <= 3; ++frame) {
        player.Step(cursor);
        Picture expected = picture;
        quillo::animation::DrawMappedFrame(texture.pixels.data(), expected.pixels.data(), w, h, expected.stride,
                                           map.data(), x, y, quillo::animation::MapRows::kUpward);
        ASSERT_EQ(player.Image().pixels, expected.pixels) << "mode " << mode << " seamless " << seamless
                                                          << " frame " << frame;
        x += speed.x;
        y += speed.y;
      }
    }
  }
}

TEST(EffectTable, SetUpsThatChangeThePictureSize) {
  // Worm plays at 640 x 480, a tall picture turned a quarter turn first.
  EffectPlayer worm = Started("worm", Pattern(30, 50));
  worm.Step({});
  EXPECT_EQ(worm.Image().width, 640);
  EXPECT_EQ(worm.Image().height, 480);
  // Water and Blob widen to a multiple of 4; other sizes stay.
  for (const auto& [effect, width] : {std::pair{"water", 32}, std::pair{"blob", 32}, std::pair{"kale", 29}}) {
    EffectPlayer player = Started(effect, Pattern(29, 20));
    player.Step({});
    EXPECT_EQ(player.Image().width, width) << effect;
    EXPECT_EQ(player.Image().height, 20) << effect;
  }
}

TEST(EffectTable, WaterDropsLandWhereThePictureWasPressed) {
  // Picture rows count from the top, memory rows from the bottom.
  const Picture picture = Pattern(40, 40);
  for (const MouseButton button : {MouseButton::kLeft, MouseButton::kRight}) {
    EffectPlayer player =
        Started("water", picture, {{"surfer", "off"}, {"rain", "off"}, {"flat-drops", "off"}, {"radius", "6"}});
    player.Step({}, MouseDrop{button, 10, 5});
    player.Step({});
    const Picture& image = player.Image();
    int changed = 0;
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 40; ++x)
        for (int c = 0; c < 3; ++c)
          if (image.Row(y)[3 * x + c] != picture.Row(y)[3 * x + c]) {
            ++changed;
            EXPECT_LE(std::abs(x - 10), 8) << x << "," << y;
            EXPECT_LE(std::abs(y - 34), 8) << x << "," << y;
          }
    EXPECT_GT(changed, 0);
  }
}

TEST(EffectTable, EveryRowRefusesOrPlaysTinyAndOddPictures) {
  const std::pair<int, int> sizes[] = {{1, 1}, {2, 2}, {3, 3}, {2, 9}, {7, 5}, {61, 60}, {64, 3}};
  for (const EffectRow* row : EffectTable()) {
    for (const auto& [w, h] : sizes) {
      const Picture picture = Pattern(w, h);
      EffectPlayer player;
      std::string error;
      if (!player.Start(*row, OptionValues(row->options), picture, 5, error)) {
        EXPECT_FALSE(error.empty()) << row->name << " " << w << "x" << h;
        continue;
      }
      const int width = player.Image().width, height = player.Image().height;
      for (int frame = 0; frame < 4; ++frame) player.Step({1024, 768, 0, 767}, {MouseButton::kLeft, w, h});
      EXPECT_EQ(player.Image().width, width) << row->name;
      EXPECT_EQ(player.Image().height, height) << row->name;
      EXPECT_EQ(player.FramesDrawn(), 4);
    }
  }
}

TEST(EffectTable, KaleCentreIsCountedFromTheTop) {
  // One mirrored segment without a turn reflects the half below the
  // centre's row onto the half above it. Picture row 4 of 21 is memory row
  // 16: memory rows 16 + d stay, rows 16 - d show row 16 + d (up to the
  // 1/1024 rounding of the map).
  const Picture picture = Pattern(33, 21);
  EffectPlayer kale = Started("kale", picture, {{"segments", "1"}, {"mirror", "on"}, {"angle1", "0"},
                                                {"angle2", "0"}, {"centre-x", "16"}, {"centre-y", "4"}});
  kale.Step({});
  const Picture& image = kale.Image();
  for (int d = 1; d <= 4; ++d)
    for (int x = 0; x < 33; ++x)
      for (int c = 0; c < 3; ++c) {
        EXPECT_NEAR(image.Row(16 + d)[3 * x + c], picture.Row(16 + d)[3 * x + c], 2) << x << " +" << d;
        EXPECT_NEAR(image.Row(16 - d)[3 * x + c], picture.Row(16 + d)[3 * x + c], 2) << x << " -" << d;
      }
}

}  // namespace
