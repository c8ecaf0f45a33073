#include "example_table.h"

#include <algorithm>

namespace quillo::examples {

namespace {

using render::CursorPoint;
using render::MouseButton;
using render::MouseDrop;

// A cursor up and to the left of the screen's centre: the map-driven
// effects then drift by several pixels a frame on both axes.
constexpr CursorPoint kDriftingCursor{1024, 768, 300, 250};

using Settings = std::vector<std::pair<const char*, const char*>>;
using Drops = std::vector<std::pair<int, MouseDrop>>;

ExampleRun Play(const char* effect, Settings settings, int frames = 1, CursorPoint cursor = {}, Drops drops = {}) {
  return ExampleRun{effect, std::move(settings), frames, cursor, std::move(drops)};
}

const ExampleRow kRows[] = {
    {"BXCOMM1.PL1", "ProcessBalance", "Balance.jpg",
     Play("balance", {{"blue", "-40"}, {"green", "10"}, {"red", "60"}})},  // warmer: less blue, more red
    {"BXCOMM1.PL1", "ProcessModulate", "MODULATE.jpg",
     Play("modulate", {{"hue", "-40"}, {"saturation", "40"}})},  // red and brown towards violet
    {"BXCOMM1.PL1", "ProcessGamma", "Gamma2.jpg", Play("gamma", {{"master", "200"}})},  // exponent 2
    {"Qlo12.PL1", "ProcessWorm", "Wormhole.jpg", Play("worm", {}, 12, kDriftingCursor)},
    // Rain rings, the surfer's wake and two presses of the mouse.
    {"Qlo12.PL1", "ProcessWater", "Water.jpg",
     Play("water", {}, 30, {},
          {{4, MouseDrop{MouseButton::kLeft, 80, 60}}, {16, MouseDrop{MouseButton::kRight, 40, 35}}})},
    {"Qlo12.PL1", "ProcessTunnel", "Tunnel.jpg", Play("tunnel", {{"mode", "0"}}, 12, kDriftingCursor)},
    {"Qlo12.PL1", "ProcessTunnel", "Phered.jpg", Play("tunnel", {{"mode", "1"}}, 12, kDriftingCursor)},
    {"Qlo12.PL1", "ProcessTunnel", "InfPlane.jpg", Play("tunnel", {{"mode", "2"}}, 12, kDriftingCursor)},
    {"Qlo12.PL1", "ProcessBlob", "Blob.jpg", Play("blob", {{"radius", "40"}}, 20)},
    // The rings swing widest some 90 frames into the cycle.
    {"Qlo12.PL1", "ProcessWarp", "AWarp.jpg", Play("warp", {}, 90)},
    {"Qlo12.PL1", "ProcessKale", "Kale2.jpg", Play("kale", {}, 6, kDriftingCursor)},
    {"Qlo12.PL1", "ProcessIllusion", "ILLUSION.jpg", Play("illusion", {}, 6, kDriftingCursor)},
    // The twirling lens shows more than the inverted ball at this size.
    {"Qlo12.PL1", "ProcessDistort", "Distort.jpg", Play("distort", {{"ball", "off"}}, 12)},
    // Cool sparks: hot ones soon melt into one white blaze.
    {"Qlo12.PL1", "ProcessDawa", "Dawa.jpg", Play("dawa", {{"heat", "10"}}, 30)},
    // Some 60 frames in, the caustic bands lie across the cup and the table.
    {"Qlo13.PL1", "ProcessPool", "Pool2.jpg", Play("pool", {}, 60)},
    {"Qlo13.PL1", "ProcessMagic", "Magic.jpg", Play("magic", {{"pattern", "2"}}, 12, kDriftingCursor)},
    {"Qlo13.PL1", "ProcessWavy", "FWavy.jpg", Play("wavy", {}, 20)},
    // Bright beams early on, while the spot is still near the middle.
    {"Qlo13.PL1", "ProcessDisco", "Disco.jpg", Play("disco", {{"brightness", "160"}}, 2)},
    // The sunset gradient at two thirds over the picture, a quarter turn on.
    {"Qlo13.PL1", "ProcessGradient", "XGrad.jpg",
     Play("gradient", {{"gradient", "1"}, {"strength", "70"}, {"speed", "6"}}, 15)},
    // Small cells poked twice near the cup: the jelly still wobbles.
    {"Qlo14.PL1", "ProcessGloop", "Gloop.jpg",
     Play("gloop", {{"cell", "50"}}, 14, {},
          {{3, MouseDrop{MouseButton::kLeft, 70, 50}}, {8, MouseDrop{MouseButton::kLeft, 100, 70}}})},
    // Half way through a ripple of 15 frames.
    {"Qlo14.PL1", "ProcessLake", "Lakej.jpg", Play("lake", {}, 8)},
    // The fractal window drifting, the stars under way, the fountain full of
    // sparks, the whole torus (its 72 triangles appear one a frame), and the
    // light a little up and to the right of the middle.
    {"Qlo11.PL1", "ProcessFTrace", "FTrace2.jpg", Play("ftrace", {}, 6, kDriftingCursor)},
    {"Qlo11.PL1", "ProcessStar", "StarBack.jpg", Play("star", {{"stars", "60"}}, 30)},
    {"Qlo11.PL1", "ProcessFlash", "Flash.jpg", Play("flash", {}, 60)},
    {"Qlo11.PL1", "ProcessEnvmap", "Envmap.jpg", Play("envmap", {}, 90)},
    {"Qlo11.PL1", "ProcessBump", "Bump.jpg", Play("bump", {}, 20)},
    // Enough frames for the flakes to cover the whole height.
    {"Qlo15.PL1", "ProcessSnow", "SNowJ.jpg", Play("snow", {{"flakes", "3000"}}, 150)},
    // The first drop adds one more every 20 frames: by frame 420 all 20
    // have landed, their ripples at all ages.
    {"Qlo15.PL1", "ProcessRain", "RAIN.jpg", Play("rain", {{"drops", "20"}}, 420)},
    {"Qlo15.PL1", "ProcessCloud", "Cloudj.jpg", Play("cloud", {}, 10)},
    // Rockets launch every 30 frames here; by frame 160 several have burst.
    {"Qlo15.PL1", "ProcessFireWork", "FireWK.jpg", Play("firework", {{"rockets", "16"}, {"sparks", "30"}}, 160)},
    // On these small pictures: a short, gentle pulse four frames after its
    // start, the picture drawn in toward the centre; the blocks a few rows
    // into their fall, streaking; spots small enough to show all three.
    {"Qlo15.PL1", "ProcessAquarium", "Aquarium.jpg",
     Play("aquarium", {{"wavelength", "10"}, {"amplitude", "30"}}, 4)},
    {"Qlo15.PL1", "ProcessQuake", "QUAKE.jpg", Play("quake", {}, 5)},
    {"Qlo15.PL1", "ProcessLight", "LightJ.jpg", Play("light", {{"spot", "70"}, {"intensity", "50"}}, 21)},
    // Both puzzles name one example: boards with a few pieces out of place.
    // The sliding puzzle's, with its black empty cell, is written last and
    // is the one that stays.
    {"Qlo15.PL1", "ProcessPuzzle1", "Puzzle.jpg", Play("puzzle1", {{"side", "4"}, {"swaps", "3"}})},
    {"Qlo15.PL1", "ProcessPuzzle", "Puzzle.jpg", Play("puzzle", {{"side", "3"}, {"moves", "4"}})},
    // Rays from the wandering points; the box turned to show three faces;
    // flames risen over the lower half of the picture.
    {"Qlo16.PL1", "ProcessFlares", "Flares.jpg", Play("flares", {}, 10)},
    {"Qlo16.PL1", "ProcessTex", "TexMap.jpg", Play("tex", {}, 41)},
    {"Qlo16.PL1", "ProcessFlamme", "Flamme.jpg", Play("flamme", {}, 20)},
    // The storm some frames in, turning off its axis with trails behind the
    // sprites; the stars at every stage of their twinkle.
    {"Qlo17.PL1", "ProcessStorm", "Storm.jpg", Play("storm", {}, 12, kDriftingCursor)},
    {"Qlo17.PL1", "ProcessStar", "Star.jpg", Play("star17", {{"stars", "150"}}, 30)},
    // The glowing cross of an offset-0 preset a few frames into its swirl
    // (the table's other presets draw beyond the picture), and the rocks
    // once the first have come near.
    {"Qlo18.PL1", "ProcessMagic", "Infinit8.jpg",
     Play("feedback", {{"preset", "4"}, {"lines", "2"}, {"glow", "250"}}, 7)},
    {"Qlo18.PL1", "ProcessRock", "FunRock.jpg", Play("rock", {{"rocks", "600"}}, 80)},
    {"BXCOMM1.PL1", "ProcessUnsharp", "Unsharp.jpg", Play("unsharp", {{"radius", "3"}, {"amount", "2.5"}})},
    {"BXCOMM1.PL1", "ProcessGaussrle", "Blur.jpg", Play("blur", {{"radius", "3"}})},
    {"BXCOMM1.PL1", "ProcessBleed", "Bleed.jpg", Play("bleed", {{"factor", "0.8"}})},  // nearly grey
    {"BXCOMM1.PL1", "ProcessEdge", "Edge.jpg", Play("edge", {{"divisor", "3"}})},
    {"BXCOMM1.PL1", "ProcessDespeckle2", "Despeck2.jpg", Play("despeckle", {})},
    {"BXCOMM1.PL1", "ProcessSharpen", "Sharpen.jpg", Play("sharpen", {{"strength", "80"}})},
    {"BXCOMM1.PL1", "ProcessClrPack", "ClrPack.jpg", Play("colour-pack", {{"preset", "Chrome"}})},
    // A quarter of the size, shown at the browser's size again: the samples show.
    {"BXCOMM1.PL1", "ProcessZoom", "Zoom.jpg", Play("zoom", {{"width", "40"}, {"height", "30"}})},
    // The middle of the cup blown up by six presses of the grow brush.
    {"BXCOMM1.PL1", "ProcessWarp", "Warp1.jpg",
     Play("warp-brush", {{"radius", "45"}, {"strength", "1"}, {"dabs", "6"}})},
    // The cup's rim pulled towards the lower right.
    {"BXCOMM2.PL1", "ProcessALWarp", "ALWARP.jpg",
     Play("drag-warp", {{"from-x", "70"}, {"from-y", "45"}, {"to-x", "88"}, {"to-y", "62"}})},
    {"BXCOMM2.PL1", "ProcessShear", "Shear.jpg",
     Play("shear", {{"horizontal", "25"}, {"vertical", "10"}, {"red", "40"}, {"green", "40"}, {"blue", "48"}})},
    {"BXCOMM2.PL1", "ProcessRotate", "Rotate.jpg",
     Play("rotate", {{"angle", "30"}, {"red", "40"}, {"green", "40"}, {"blue", "48"}})},
    {"BXCOMM2.PL1", "ProcessTileable", "Tileable.jpg", Play("tileable", {})},
};

}  // namespace

std::span<const ExampleRow> ExampleTable() { return kRows; }

bool RenderExample(const ExampleRun& run, const Picture& sample, Picture& out, std::string& error) {
  const render::EffectRow* row = render::FindEffect(run.effect);
  if (!row) {
    error = std::string("no effect \"") + run.effect + "\"";
    return false;
  }
  render::OptionValues options(row->options);
  for (const auto& [name, value] : run.options)
    if (!options.Set(name, value, error)) return false;
  render::EffectPlayer player;
  if (!player.Start(*row, options, sample, 1, error)) return false;
  for (int frame = 1; frame <= run.frames; ++frame) {
    MouseDrop drop;
    for (const auto& [at, d] : run.drops)
      if (at == frame) drop = d;
    player.Step(run.cursor, drop);
  }
  return FitExample(player.Image(), sample.width, sample.height, out, error);
}

bool FitExample(const Picture& result, int width, int height, Picture& out, std::string& error) {
  if (result.width == width && result.height == height) {
    out = result;
    return true;
  }
  // The largest size of the result's shape that fits, at least a pixel.
  const int64_t byWidth = int64_t(result.height) * width / result.width;
  const int fitWidth = byWidth <= height ? width : std::max(1, int(int64_t(result.width) * height / result.height));
  const int fitHeight = byWidth <= height ? std::max<int>(1, int(byWidth)) : height;
  Picture fitted;
  if (!render::ResamplePicture(result, fitWidth, fitHeight, fitted) || !render::MakePicture(width, height, out)) {
    error = "the example cannot be scaled to the sample's size";
    return false;
  }
  // What the fitted picture leaves free takes its corner's colour, which is
  // the background of a turned or sheared picture.
  const uint8_t* corner = fitted.Row(0);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) std::copy(corner, corner + 3, out.Row(y) + 3 * x);
  const int left = (width - fitWidth) / 2, bottom = (height - fitHeight) / 2;
  for (int y = 0; y < fitHeight; ++y)
    std::copy(fitted.Row(y), fitted.Row(y) + 3 * fitWidth, out.Row(bottom + y) + 3 * left);
  return true;
}

}  // namespace quillo::examples
