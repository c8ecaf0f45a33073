// The effects the render tool and the example maker can run, one table row
// per effect: its name, its options, and the set-up that prepares the
// picture and returns the run whose frame step draws each frame. Animated
// effects draw a sequence; still effects (the colour adjustments) apply
// once with their settings. A new effect adds one row.
#pragma once
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "imaging/basics/runtime_random.h"
#include "tools/render/effects/effect_options.h"
#include "tools/render/effects/picture.h"

namespace quillo::render {

// Where the mouse cursor lies on a screen, in screen pixels: the animated
// effects take their drift speed from it.
struct CursorPoint {
  int screenWidth = 1024, screenHeight = 768;
  int x = 512, y = 384;
};

// A mouse press over the picture before a frame (Water makes a drop there).
enum class MouseButton { kNone, kLeft, kRight };
struct MouseDrop {
  MouseButton button = MouseButton::kNone;
  int x = 0, y = 0;  // picture column and row counted from the top
};

// What a frame step is handed besides its own state.
struct FrameInput {
  int index = 0;  // 0 for the first frame
  CursorPoint cursor;
  MouseDrop drop;
  RuntimeRandom* random = nullptr;
};

// A running effect: the state its set-up built and the frame step.
class EffectRun {
 public:
  virtual ~EffectRun() = default;
  // Draws the next frame into `image`, which holds the previous frame (at
  // first the prepared picture): effects that redraw only part of the
  // picture leave the rest as it was.
  virtual void Frame(const FrameInput& input, Picture& image) = 0;
};

// What a set-up receives: the checked option values, the picture (which it
// may replace: Worm scales it to 640 x 480, Water and Blob widen it to a
// multiple of 4) and the generator the run draws from.
struct EffectSetup {
  const OptionValues& options;
  Picture& picture;
  RuntimeRandom& random;
};

enum class EffectKind { kAnimated, kStill };

struct EffectRow {
  const char* name;
  const char* summary;
  EffectKind kind;
  std::span<const OptionInfo> options;
  // Null with `error` set when the effect cannot run on the picture.
  std::unique_ptr<EffectRun> (*start)(const EffectSetup& setup, std::string& error);
};

// Every row, in the order the tool lists them.
std::span<const EffectRow* const> EffectTable();
// The row called `name`, or null.
const EffectRow* FindEffect(std::string_view name);

// Plays one row over a picture: set-up once, then one frame per Step.
class EffectPlayer {
 public:
  // Prepares `row` with `options` over a copy of `input`, the generator
  // seeded with `seed`. False with `error` set when the effect refuses the
  // picture.
  bool Start(const EffectRow& row, const OptionValues& options, const Picture& input, uint32_t seed,
             std::string& error);
  // Draws the next frame (the index counts from 0).
  void Step(const CursorPoint& cursor, const MouseDrop& drop = {});
  // The latest frame (before the first Step, the prepared picture).
  const Picture& Image() const { return image_; }
  int FramesDrawn() const { return frames_; }

 private:
  RuntimeRandom random_;
  std::unique_ptr<EffectRun> run_;
  Picture image_;
  int frames_ = 0;
};

}  // namespace quillo::render
