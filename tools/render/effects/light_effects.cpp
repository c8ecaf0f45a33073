// Pool, Wavy and Disco of Qlo13: caustic bands of pool light, a shimmer
// as through moving water and coloured disco beams, each over the picture
// it started from.
#include <memory>

#include "plugins/qlo13/kernels/disco.h"
#include "plugins/qlo13/kernels/pool.h"
#include "plugins/qlo13/kernels/wavy.h"
#include "tools/render/effects/effect_rows.h"

namespace quillo::render {

namespace {

using namespace qlo13;

const OptionInfo kWavyOptions[] = {
    {"rows", OptionKind::kInteger, kWavyMinAmplitude, kWavyMaxAmplitude, kWavyDefaultAmplitude1,
     "strength of the wave along the rows (slider 1)"},
    {"columns", OptionKind::kInteger, kWavyMinAmplitude, kWavyMaxAmplitude, kWavyDefaultAmplitude2,
     "strength of the wave along the columns (slider 2)"},
};

const OptionInfo kDiscoOptions[] = {
    {"brightness", OptionKind::kInteger, 0, kDiscoMaxBrightness, kDiscoDefaultBrightness,
     "brightness of the beams (0: none)"},
    {"speed", OptionKind::kInteger, kDiscoMinSpeed, kDiscoMaxSpeed, kDiscoDefaultSpeed,
     "pixels the spot moves a frame"},
};

class PoolRun : public EffectRun {
 public:
  PoolRun(const Picture& picture, PoolState state) : backup_(picture), state_(std::move(state)) {}
  void Frame(const FrameInput&, Picture& image) override {
    PoolFrame(state_, backup_.pixels.data(), image.pixels.data(), image.stride);
  }

 private:
  Picture backup_;
  PoolState state_;
};

std::unique_ptr<EffectRun> StartPoolRun(const EffectSetup& setup, std::string& error) {
  PoolState state;
  if (!StartPool(state, setup.picture.width, setup.picture.height)) {
    error = "no memory for the pool's pattern";
    return nullptr;
  }
  return std::make_unique<PoolRun>(setup.picture, std::move(state));
}

class WavyRun : public EffectRun {
 public:
  WavyRun(const Picture& picture, WavyState state) : backup_(picture), state_(std::move(state)) {}
  void Frame(const FrameInput&, Picture& image) override {
    WavyFrame(state_, backup_.pixels.data(), image.pixels.data(), image.width, image.height, image.stride);
  }

 private:
  Picture backup_;
  WavyState state_;
};

std::unique_ptr<EffectRun> StartWavyRun(const EffectSetup& setup, std::string& error) {
  WavyState state;
  state.amplitude1 = setup.options.Integer("rows");
  state.amplitude2 = setup.options.Integer("columns");
  if (!StartWavy(state, setup.picture.width, setup.picture.height)) {
    error = "no memory for the wave's shifts";
    return nullptr;
  }
  return std::make_unique<WavyRun>(setup.picture, std::move(state));
}

class DiscoRun : public EffectRun {
 public:
  DiscoRun(const Picture& picture, DiscoState state) : backup_(picture), state_(std::move(state)) {}
  void Frame(const FrameInput&, Picture& image) override {
    DiscoFrame(state_, backup_.pixels.data(), image.pixels.data(), image.stride);
  }

 private:
  Picture backup_;
  DiscoState state_;
};

std::unique_ptr<EffectRun> StartDiscoRun(const EffectSetup& setup, std::string& error) {
  DiscoState state;
  state.brightness = setup.options.Integer("brightness");
  state.speed = setup.options.Integer("speed");
  if (!StartDisco(state, setup.picture.width, setup.picture.height)) {
    error = "no memory for the angle and distance tables";
    return nullptr;
  }
  return std::make_unique<DiscoRun>(setup.picture, std::move(state));
}

}  // namespace

const EffectRow kPoolRow{"pool", "sunlight on the floor of a pool plays over the picture",
                         EffectKind::kAnimated, {}, StartPoolRun};
const EffectRow kWavyRow{"wavy", "the picture shimmers as seen through moving water", EffectKind::kAnimated,
                         kWavyOptions, StartWavyRun};
const EffectRow kDiscoRow{"disco", "coloured beams from a wandering spot sweep over the picture",
                          EffectKind::kAnimated, kDiscoOptions, StartDiscoRun};

}  // namespace quillo::render
