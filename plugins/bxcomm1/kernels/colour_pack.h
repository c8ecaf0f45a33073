// Colour pack: 112 named colour filters sharing six sliders.
//
// Each preset is a pure function of one source pixel (bytes b0 blue, b1
// green, b2 red) and the six slider values P1..P6 (0..255), giving the
// target pixel. Presets whose bytes each depend on that byte alone also
// carry a per-byte function, which lets the kernel precompute one 256-entry
// table per channel instead of evaluating the formula per pixel.
#pragma once
#include <array>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>

#include "channel_tables.h"
#include "imaging/basics/pixel_pass.h"

namespace quillo {

inline constexpr int kColourPresetCount = 112;
inline constexpr int kPresetSliderCount = 6;
inline constexpr int kPresetLabelMaxChars =
    19;  // a caption field holds 20 chars with its terminator
inline constexpr int kPresetNameMaxChars = 29;  // a name field holds 30 chars with its terminator

// One 24-bit pixel in memory order.
struct Bgr {
  uint8_t b0 = 0;  // blue
  uint8_t b1 = 0;  // green
  uint8_t b2 = 0;  // red

  friend bool operator==(const Bgr&, const Bgr&) = default;
};

// The slider values P1..P6 a preset reads. Every value is held to 0..255 on
// the way in, so no preset formula ever meets a value that could divide by
// zero or overflow.
class PresetSliders {
 public:
  PresetSliders() = default;
  // P1 first; missing values are 0.
  PresetSliders(std::initializer_list<int> values);
  explicit PresetSliders(const std::array<int32_t, kPresetSliderCount>& values);

  // slider 1..6; other slider numbers are ignored.
  void Set(int slider, int value);
  // slider 1..6; other slider numbers read 0.
  int P(int slider) const {
    return slider >= 1 && slider <= kPresetSliderCount ? v_[slider - 1] : 0;
  }
  int P1() const { return v_[0]; }
  int P2() const { return v_[1]; }
  int P3() const { return v_[2]; }
  int P4() const { return v_[3]; }
  int P5() const { return v_[4]; }
  int P6() const { return v_[5]; }

 private:
  std::array<int, kPresetSliderCount> v_{};
};

using PresetPixelFn = Bgr (*)(Bgr source, const PresetSliders& sliders);
// value 0..255 of byte `channel` (0 blue, 1 green, 2 red) to its new value.
using PresetChannelFn = uint8_t (*)(int value, int channel, const PresetSliders& sliders);
// The pixel function over a run of `count` pixels, with the formula inlined
// (a call per pixel through a pointer costs more than most formulas).
// Safe when source == target.
using PresetRowFn = void (*)(const uint8_t* source, uint8_t* target, int count,
                             const PresetSliders& sliders);

struct ColourPreset {
  std::array<int32_t, kPresetSliderCount> defaults{};  // initial slider values
  int32_t paramCount = 0;                              // sliders the preset uses (0..6)
  std::array<const char*, kPresetSliderCount> labels{"", "", "",
                                                     "", "", ""};  // captions, never null
  const char* name = "";                                           // shown in the list
  PresetPixelFn pixelOp = nullptr;
  PresetRowFn rowOp = nullptr;          // pixelOp over a row
  PresetChannelFn channelOp = nullptr;  // set when each byte depends on that byte alone
};

// The presets in list order.
std::span<const ColourPreset> ColourPresets();

// The preset of that exact name (trailing blanks count), or null.
const ColourPreset* FindColourPreset(std::string_view name);

// Every pixel of the pass rows [rowBegin, rowEnd) through the preset's
// formula (its rowOp). Safe when source == target.
void ApplyColourPresetPerPixel(const ColourPreset& preset, const PresetSliders& sliders,
                               const PixelPass& pass, int rowBegin, int rowEnd);

// The apply pass of the colour pack: Prepare once per preset or slider
// change, then Run over row ranges. Gives exactly the bytes of
// ApplyColourPresetPerPixel, through channel tables where the preset allows.
class ColourPackKernel {
 public:
  void Prepare(const ColourPreset& preset, const PresetSliders& sliders);
  // Does nothing before Prepare. Safe when source == target.
  void Run(const PixelPass& pass, int rowBegin, int rowEnd) const;

  bool UsesTables() const { return usesTables_; }

 private:
  ColourPreset preset_;
  PresetSliders sliders_;
  bool usesTables_ = false;
  ChannelTableRunner tables_;
};

}  // namespace quillo
