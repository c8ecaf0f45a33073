// The colour pack's presets in list order: name, slider count, defaults,
// slider captions and pixel function. The formulas sit beside the functions
// in the family headers (channels, curves, greys, looks).
#include <algorithm>
#include <initializer_list>
#include <iterator>
#include <string_view>

#include "colour_pack_channels.h"
#include "colour_pack_curves.h"
#include "colour_pack_greys.h"
#include "colour_pack_looks.h"

namespace quillo {
namespace {

using namespace colour_pack;
using Defaults = std::array<int32_t, kPresetSliderCount>;

constexpr std::array<const char*, kPresetSliderCount> Captions(
    std::initializer_list<const char*> texts) {
  std::array<const char*, kPresetSliderCount> out{"", "", "", "", "", ""};
  size_t i = 0;
  for (const char* t : texts)
    if (i < out.size()) out[i++] = t;
  return out;
}

// F over a run of pixels; F is a template argument, so its body is inlined.
template <PresetPixelFn F>
void RowOf(const uint8_t* src, uint8_t* dst, int count, const PresetSliders& sliders) {
  for (int i = 0; i < count; ++i, src += 3, dst += 3) {
    const Bgr out = F(Bgr{src[0], src[1], src[2]}, sliders);
    dst[0] = out.b0, dst[1] = out.b1, dst[2] = out.b2;
  }
}

// A preset computed per pixel.
template <PresetPixelFn F>
constexpr ColourPreset Px(const char* name, int count, Defaults defaults,
                          std::initializer_list<const char*> labels) {
  return {defaults, count, Captions(labels), name, F, RowOf<F>, nullptr};
}

// A preset whose every byte depends on that byte alone.
template <PresetChannelFn F>
constexpr ColourPreset Ch(const char* name, int count, Defaults defaults,
                          std::initializer_list<const char*> labels) {
  return {defaults, count, Captions(labels), name, ByChannel<F>, RowOf<ByChannel<F>>, F};
}

constexpr std::initializer_list<const char*> kRgb = {"Red", "Green", "Blue"};

constexpr ColourPreset kPresets[] = {
    Px<Gradient>("Gradient", 6, {80, 120, 85, 175, 125, 50},
                 {"Red 1", "Green 1", "Blue 1", "Red 2", "Green 2", "Blue 2"}),
    Px<RedChannel>("Red Channel", 0, {}, {}),
    Px<Darken2>("Darken - 2", 1, {100}, {"Threshold"}),
    Px<Darken>("Darken", 1, {128}, {}),
    Ch<Degray>("Degray", 1, {128}, {"Level"}),
    Ch<Saturation>("Saturation", 4, {128, 80, 80, 80}, {"Saturation", "Red", "Green", "Blue"}),
    Ch<Comic>("Comic", 2, {100, 200}, {"Bias", "Gain"}),
    Ch<Purify>("Purify", 3, {100, 128, 160}, kRgb),
    Ch<Tone>("Tone", 3, {15, 45, 225}, kRgb),
    Ch<GammaBend>("Gamma", 4, {180, 180, 60, 255}, {"Red", "Green", "Blue", "Control"}),
    Px<Neon>("Neon", 3, {200, 120, 60}, kRgb),
    Px<Remove>("Remove", 4, {200, 80, 60, 70}, {"Red", "Green", "Blue", "Tolerance"}),
    Ch<Shift>("Shift", 3, {64, 128, 192}, kRgb),
    Ch<RgbShift>("RGB Shift", 3, {160, 128, 96}, kRgb),
    Px<MaxRgb>("Max RGB", 0, {}, {}),
    Px<RgbDifference>("RGB Difference", 0, {}, {}),
    Px<MinRgb>("Min RGB", 0, {}, {}),
    Ch<ColorWave>("Color Wave", 3, {32, 0, 85}, {"Frequency", "Phase", "Channel Spread"}),
    Px<GreenChannel>("Green Channel", 0, {}, {}),
    Px<BlueChannel>("Blue Channel", 0, {}, {}),
    Px<ColorRaise>("Color Raise", 1, {64}, {"Raise"}),
    Px<AddColor>("Add Color", 3, {90, 40, 0}, kRgb),
    Px<GreenBlast>("Green Blast", 1, {80}, {"Amount"}),
    Px<Cartoon>("Cartoon", 1, {64}, {"Bands"}),
    Ch<Difference>("Difference", 3, {128, 64, 200}, kRgb),
    Ch<Fade>("Fade", 1, {100}, {"Fade"}),
    Ch<Fade2>("Fade - 2", 1, {100}, {"Fade"}),
    Px<ColorGray>("Color Gray", 3, {200, 150, 100}, kRgb),
    Ch<TwoLevelContrast>("Two Level Contrast", 2, {64, 32}, {"Low", "High"}),
    Px<GrayWidthContrast>("Gray Width contrast", 2, {128, 128}, {"Gray Center", "Gray Width"}),
    Px<Chrome2>("Chrome - 2", 3, {128, 160, 200}, kRgb),
    Ch<Cyclic>("Cyclic", 1, {64}, {"Cycles"}),
    Px<Chrome>("Chrome", 1, {128}, {"Shine"}),
    Ch<Limit>("Limit", 3, {50, 140, 40}, {"Low Range", "Hight Range", "Values Offset"}),
    Px<Monotonic>("Monotonic", 3, {200, 150, 80}, kRgb),
    Px<BlueBlast>("Blue Blast", 1, {80}, {"Amount"}),
    Ch<Brightness>("Brightness", 1, {170}, {"Brightness"}),
    Ch<Posterize>("Posterize", 1, {48}, {"Levels"}),
    Px<BlueToGreen>("Blue To Green", 1, {128}, {"Level"}),
    Ch<MaxFloor>("Max", 3, {70, 40, 100}, kRgb),
    Px<Dual>("Dual", 3, {128, 80, 80}, {"Split", "Warm", "Cool"}),
    Px<Dissolve>("Dissolve", 1, {96}, {"Amount"}),
    Px<Cut>("Cut", 2, {100, 150}, {"Cut 1", "Cut 2"}),
    Px<Worm>("Worm", 3, {150, 100, 200}, kRgb),
    Px<CustomGray>("Custom Gray", 3, {77, 150, 29},
                   {"Red Weighting", "Green Weighting", "Blue Weighting"}),
    Ch<Reverse>("Reverse", 1, {255}, {"Amount"}),
    Ch<ColorMetal>("Color Metal", 2, {90, 200}, {"Polish", "Grain"}),
    Px<Metal>("Metal", 2, {60, 170}, {"Polish", "Grain"}),
    Px<Glitter>("Glitter", 2, {128, 64}, {"Threshold", "Density"}),
    Px<Contour>("Contour", 2, {96, 64}, {"Spacing", "Line Width"}),
    Ch<Contrast>("Contrast", 1, {96}, {"Contrast"}),
    Ch<Contrast2>("Contrast - 2", 1, {200}, {"Strength"}),
    Px<SwapStrongestWeakest>("Swap", 1, {255}, {"Amount"}),
    Px<BlueToRed>("Blue To Red", 1, {128}, {"Level"}),
    Px<GreenToBlue>("Green To Blue", 1, {128}, {"Level"}),
    Px<GreenToRed>("Green To Red", 1, {128}, {"Level"}),
    Px<Edge>("Edge", 1, {100}, {"Threshold"}),
    Px<Depth>("Depth", 1, {200}, {"Depth"}),
    Px<RedToBlue>("Red To Blue", 1, {128}, {"Level"}),
    Px<OldPhotos>("Old Photos", 2, {255, 60}, {"Sepia", "Age"}),
    Px<RedToGreen>("Red To Green", 1, {128}, {"Level"}),
    Ch<Scale>("Scale", 2, {40, 220}, {"Low", "High"}),
    Px<MagentaBlast2>("Magenta Blast - 2", 1, {80}, {"Amount"}),
    Ch<Digitize>("Digitize", 1, {64}, {"Bits"}),
    Ch<Multiply>("Multiply", 1, {200}, {"Strength"}),
    Px<Digitize2>("Digitize - 2", 1, {100}, {"Level"}),
    Px<Decolorize>("Decolorize", 1, {170}, {"Amount"}),
    Px<Decolorize2>("Decolorize - 2", 1, {80}, {"Saturation Limit"}),
    Px<Fluorescent>("Fluorescent", 1, {128}, {"Glow"}),
    Px<Colorize2>("Colorize - 2", 2, {20, 160}, {"Hue", "Saturation"}),
    Px<Fire>("Fire", 1, {160}, {"Heat"}),
    Px<Mono>("Mono", 1, {128}, {"Threshold"}),
    Px<MagentaBlast>("Magenta Blast", 1, {80}, {"Amount"}),
    Ch<MagentaCast>("Magenta Cast", 1, {100}, {"Amount"}),
    Px<YellowBlast2>("Yellow Blast - 2", 1, {80}, {"Amount"}),
    Ch<Solarize>("Solarize", 1, {128}, {"Threshold"}),
    Ch<Solarize2>("Solarize - 2", 1, {128}, {"Peak"}),
    Px<YellowBlast>("Yellow Blast", 1, {80}, {"Amount"}),
    Ch<YellowCast>("Yellow Cast", 1, {100}, {"Amount"}),
    Ch<BlueCast>("Blue Cast", 1, {100}, {"Amount"}),
    Ch<GreenCast>("Green Cast", 1, {100}, {"Amount"}),
    Px<BlueBlast2>("Blue Blast - 2", 1, {80}, {"Amount"}),
    Px<CyanBlast>("Cyan Blast", 1, {80}, {"Amount"}),
    Ch<CyanCast>("Cyan Cast", 1, {100}, {"Amount"}),
    Px<MonoBlast2>("Mono Blast - 2", 1, {96}, {"Blast"}),
    Px<Bleed>("Bleed", 6, {120, 140, 70, 100, 50, 15},
              {"Red Bias", "Red Gain", "Green Bias", "Green Gain", "Blue Bias", "Blue Gain"}),
    Px<MonoBlast>("Mono Blast", 6, {120, 140, 70, 100, 50, 15},
                  {"Red Cast", "Red Background", "Green Cast", "Green Background", "Blue Cast",
                   "Blue Background"}),
    Px<CyanBlast2>("Cyan Blast - 2", 1, {80}, {"Amount"}),
    Ch<RedCast>("Red Cast", 1, {100}, {"Amount"}),
    Px<RedBlast>("Red Blast", 1, {80}, {"Amount"}),
    Px<RedBlast2>("Red Blast - 2", 1, {80}, {"Amount"}),
    Px<SwapRedBlue>("Swap Red-Blue Channel", 0, {}, {}),
    Px<SwapRgbToGbr>("Swap RGB To GBR ", 0, {}, {}),
    Px<SwapRgbToBrg>("Swap RGB To BRG ", 0, {}, {}),
    Px<SwapGreenBlue>("Swap Green-Blue Channel", 0, {}, {}),
    Px<Gray>("Gray", 0, {}, {}),
    Px<Desaturate>("Desaurate", 0, {}, {}),
    Px<SwapRedGreen>("Swap Red-Green Channel", 0, {}, {}),
    Px<ColorMixed3Mean>("Color Mixed(3 Color)", 3, {160, 60, 36},
                        {"Own Colour", "Next Colour", "Last Colour"}),
    Px<ColorMixed3Multiply>("Color Mixed(3 Color) - 3", 3, {180, 140, 220}, kRgb),
    Px<ColorMixed3Lift>("Color Mixed(3 Color) - 4", 3, {255, 160, 200}, kRgb),
    Px<ColorMixed3Push>("Color Mixed(3 Color) - 2", 3, {64, 64, 64}, kRgb),
    Ch<RgbAdjust>("RGB Adjust", 3, {160, 128, 100}, kRgb),
    Ch<Lighten>("Lighten", 1, {160}, {"Lighten"}),
    Px<LightenSmooth>("Lighten(Smooth)", 1, {128}, {"Lighten"}),
    Ch<RgbvAdjust>("RGBV Adjust", 4, {150, 128, 110, 150}, {"Red", "Green", "Blue", "Value"}),
    Ch<VRgbVAdjust>("V-RGB-V Adjust", 5, {110, 140, 128, 120, 150},
                    {"Value 1", "Red", "Green", "Blue", "Value 2"}),
    Px<ColorMixed1Back>("Color Mixed(1 Color) - 2", 3, {60, 40, 20}, kRgb),
    Px<ColorMixed1>("Color Mixed(1 Color)", 3, {40, 80, 20}, kRgb),
    Px<YuvIntensity>("YUV Intensity", 5, {180, 50, 20, 140, 80},
                     {"Red", "Green", "Blue", "Y", "Strength"}),
    Ch<Equalizer>("Equalizer", 3, {40, 200, 225}, {"Start", "End", "Limit"}),
    Px<GreenBlast2>("Green Blast - 2", 1, {80}, {"Amount"}),
};

// The record's fixed fields: every name and caption fits with its
// terminator, counts lie in 0..6, defaults in the slider range.
constexpr bool RowsFitTheirFields() {
  for (const ColourPreset& p : kPresets) {
    if (p.paramCount < 0 || p.paramCount > kPresetSliderCount) return false;
    if (std::string_view(p.name).empty() || std::string_view(p.name).size() > kPresetNameMaxChars)
      return false;
    for (const char* label : p.labels)
      if (std::string_view(label).size() > kPresetLabelMaxChars) return false;
    for (int32_t v : p.defaults)
      if (v < 0 || v > 255) return false;
  }
  return true;
}

static_assert(std::size(kPresets) == kColourPresetCount);
static_assert(RowsFitTheirFields());

}  // namespace

std::span<const ColourPreset> ColourPresets() { return kPresets; }

const ColourPreset* FindColourPreset(std::string_view name) {
  for (const ColourPreset& p : kPresets)
    if (name == p.name) return &p;
  return nullptr;
}

}  // namespace quillo
