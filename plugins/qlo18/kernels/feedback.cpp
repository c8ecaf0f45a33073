#include "feedback.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace quillo::qlo18 {

const FeedbackPreset kFeedbackPresets[kPresetCount] = {
    {0, 0, 6, 1842944, 0, 59, 14, 255},      {4, 82, 6, 1824128, 0, 59, 11, 255},
    {1, 40, 6, 1676608, 0, 59, 29, 255},     {4, 0, 6, 1635200, 0, 59, 4, 255},
    {3, 73, 6, 1598592, 255, 75, 4, 0},      {3, 113, 5, 1545728, 255, 59, 4, 255},
    {1, 98, 3, 1471744, 255, 82, 41, 0},     {4, 397, 4, 1466816, 255, 82, 41, 0},
    {4, 397, 3, 1405824, 0, 51, 36, 255},    {4, 0, 4, 1360256, 0, 51, 15, 255},
    {4, 82, 4, 1345600, 0, 51, 9, 255},      {3, 61, 3, 1265344, 0, 51, 9, 255},
    {1, 73, 3, 1239040, 0, 51, 9, 255},      {4, 76, 3, 1108480, 0, 51, 9, 255},
    {4, 77, 3, 1084736, 0, 51, 6, 255},      {3, 63, 3, 1000000, 0, 51, 6, 255},
    {2, 56, 2, 814848, 0, 51, 6, 255},       {4, 82, 0, 715328, 255, 51, 6, 255},
    {4, 102, 2, 706112, 255, 51, 6, 255},    {4, 102, 2, 657408, 255, 58, 29, 0},
    {4, 397, 2, 655808, 255, 58, 29, 0},     {4, 397, 2, 612416, 0, 84, 29, 255},
    {4, 0, 1, 566272, 0, 84, 23, 255},       {4, 0, 1, 516736, 255, 84, 10, 255},
    {4, 0, 1, 495296, 255, 84, 10, 255},     {4, 0, 0, 375616, 255, 84, 4, 0},
    {3, 45, 0, 297280, 0, 0, 11, 255},       {3, 62, 0, 253888, 0, 0, 11, 255},
    {4, 76, 0, 151488, 0, 0, 43, 255},
};

namespace {

double HueToChannel(double p, double q, double h) {
  if (h < 0) h += 1;
  if (h > 1) h -= 1;
  if (h < 1.0 / 6) return p + (q - p) * 6 * h;
  if (h < 0.5) return q;
  if (h < 2.0 / 3) return p + (q - p) * (2.0 / 3 - h) * 6;
  return p;
}

// The random step of one value: down on a 0, up on a 4 of five.
int Step(RuntimeRandom& random, int amount) {
  const int r = random.Below(5);
  return r == 0 ? -amount : r == 4 ? amount : 0;
}

// Raises the grey at (x, y) to `value`; points at the border or within 3
// pixels of the right or bottom side are skipped.
void Plot(FeedbackState& s, int64_t x, int64_t y, uint8_t value) {
  if (x <= 0 || y <= 0 || x >= s.width - 3 || y >= s.height - 3) return;
  uint8_t& at = s.current[size_t(y) * size_t(s.width) + size_t(x)];
  at = std::max(at, value);
}

// Bresenham's line, one pixel a step.
void Line(FeedbackState& s, int64_t x0, int64_t y0, int64_t x1, int64_t y1, uint8_t value) {
  const int64_t dx = x1 > x0 ? x1 - x0 : x0 - x1, sx = x0 < x1 ? 1 : -1;
  const int64_t dy = y1 > y0 ? y0 - y1 : y1 - y0, sy = y0 < y1 ? 1 : -1;
  int64_t error = dx + dy;
  for (;;) {
    Plot(s, x0, y0, value);
    if (x0 == x1 && y0 == y1) return;
    const int64_t twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      x0 += sx;
    }
    if (twice <= dx) {
      error += dx;
      y0 += sy;
    }
  }
}

void Polyline(FeedbackState& s, const std::vector<std::pair<int64_t, int64_t>>& points, bool closed,
              uint8_t value) {
  for (size_t i = 1; i < points.size(); ++i)
    Line(s, points[i - 1].first, points[i - 1].second, points[i].first, points[i].second, value);
  if (closed && points.size() > 2)
    Line(s, points.back().first, points.back().second, points.front().first, points.front().second, value);
}

}  // namespace

void BuildFeedbackPalette(FeedbackPalette& palette, double intensity, int r) {
  const double shift = (r % 2001 - 1000) * 0.001;
  for (int i = 0; i < 256; ++i) {
    const double red = (i / 2) / 255.0, green = i / 255.0, blue = (i / 4) / 255.0;
    const double high = std::max({red, green, blue}), low = std::min({red, green, blue});
    double h = 0, s = 0, l = (high + low) / 2;
    const bool grey = high == low;
    if (!grey) {
      const double d = high - low;
      s = l > 0.5 ? d / (2 - high - low) : d / (high + low);
      if (high == red)
        h = (green - blue) / d + (green < blue ? 6 : 0);
      else if (high == green)
        h = (blue - red) / d + 2;
      else
        h = (red - green) / d + 4;
      h /= 6;
    }
    l = std::clamp(l * intensity, 0.0, 1.0);
    s = std::clamp(s, 0.0, 1.0);
    double out[3] = {l, l, l};
    if (!grey) {
      h += shift;
      h -= std::floor(h);
      if (s > 0) {
        const double q = l < 0.5 ? l * (1 + s) : l + s - l * s;
        const double p = 2 * l - q;
        out[0] = HueToChannel(p, q, h + 1.0 / 3);
        out[1] = HueToChannel(p, q, h);
        out[2] = HueToChannel(p, q, h - 1.0 / 3);
      }
    }
    for (int c = 0; c < 3; ++c) palette[size_t(i) * 3 + size_t(c)] = uint8_t(int(out[c] * 255 + 0.5));
  }
}

void SetFeedbackGlow(FeedbackState& state, int position) {
  state.glow = std::clamp(position, kGlowMinSlider, kGlowMaxSlider);
}

void StopFeedback(FeedbackState& state) {
  std::vector<WarpEntry>().swap(state.fields);
  std::vector<uint8_t>().swap(state.current);
  std::vector<uint8_t>().swap(state.next);
  std::vector<double>().swap(state.cosine);
  std::vector<double>().swap(state.sine);
  state.width = state.height = 0;
}

bool StartFeedback(FeedbackState& state, int width, int height, RuntimeRandom& random) {
  StopFeedback(state);
  if (width < kFeedbackMinSide || height < kFeedbackMinSide || WarpTableEntries(width, height) == 0) return false;
  const size_t plane = size_t(width) * size_t(height);
  try {
    state.current.assign(plane, 0);
    state.next.assign(plane, 0);
    state.cosine.resize(size_t(width));
    state.sine.resize(size_t(width));
  } catch (const std::bad_alloc&) {
    StopFeedback(state);
    return false;
  }
  std::copy(std::begin(kFeedbackPresets), std::end(kFeedbackPresets), state.presets.begin());
  state.preset = state.presets[size_t(random.Below(kPresetCount))];
  if (!BuildWarpFields(state.fields, width, height)) {
    StopFeedback(state);
    return false;
  }
  for (int i = 0; i < width; ++i) {
    state.cosine[size_t(i)] = std::cos(i * 3.141592653589793 / width);
    state.sine[size_t(i)] = std::sin(i * 3.141592653589793 / width);
  }
  state.samples.fill(0);
  state.width = width;
  state.height = height;
  state.frame = 0;
  SetFeedbackGlow(state, state.glow);
  state.paletteIntensity = state.glow * 0.01;
  BuildFeedbackPalette(state.palette, state.paletteIntensity, random.Next());
  return true;
}

void WalkFeedbackPreset(FeedbackPreset& p, RuntimeRandom& random) {
  p.curveBrightness = std::clamp(p.curveBrightness + Step(random, 32), 0, 255);
  p.lineBrightness = std::clamp(p.lineBrightness + Step(random, 32), 0, 255);
  if (random.Below(5) == 0) p.warp = random.Below(kWarpFieldCount);
  p.lineAmplitude += Step(random, 1);
  p.curveAmplitude += Step(random, 1);
  if (random.Below(5) == 0) p.lineMode = (p.lineMode + 1) % kLineModeCount;
}

void DrawFeedbackLines(FeedbackState& s) {
  const FeedbackPreset& p = s.preset;
  if (p.lineMode < 0 || p.lineMode >= kLineModeCount) return;
  const int64_t W = s.width, H = s.height;
  const int64_t h = H * p.lineOffset >> 8;
  const uint8_t value = uint8_t(std::clamp(p.lineBrightness, 0, 255));
  // The height a sample lifts a line point by (the samples stay zero).
  auto lift = [&](int64_t index) {
    return int64_t(p.lineAmplitude) * s.samples[size_t(index % kSampleCount)] * H >> 12;
  };
  std::vector<std::pair<int64_t, int64_t>> points;
  auto across = [&](int64_t row, int64_t channel) {
    points.clear();
    for (int64_t x = 0; x < W; x += 4) points.push_back({x, row + lift(channel * 512 + x / 4)});
    Polyline(s, points, false, value);
  };
  auto down = [&](int64_t column, int64_t channel) {
    points.clear();
    for (int64_t y = 0; y < H; y += 4) points.push_back({column + lift(channel * 512 + y / 4), y});
    Polyline(s, points, false, value);
  };
  switch (p.lineMode) {
    case 0:
      across(H / 2 + h, 0);
      break;
    case 1:
    case 2:
      across(H / 2 - h, 0);
      across(H / 2 + h, 1);
      if (p.lineMode == 2) {
        down(W / 2 - h, 0);
        down(W / 2 + h, 1);
      }
      break;
    default: {
      // A ring: the upper half from the tables, then the lower half mirrored.
      points.clear();
      for (int64_t i = 0; i < W; i += 4) {
        const double r = double(h + lift(i / 4));
        points.push_back({W / 2 + int64_t(r * s.cosine[size_t(i)]), H / 2 + int64_t(r * s.sine[size_t(i)])});
      }
      for (int64_t i = (W - 1) / 4 * 4; i >= 0; i -= 4) {
        const double r = double(h + lift(512 + i / 4));
        points.push_back({W / 2 + int64_t(r * s.cosine[size_t(i)]), H / 2 - int64_t(r * s.sine[size_t(i)])});
      }
      Polyline(s, points, true, value);
    }
  }
}

void DrawFeedbackCurve(FeedbackState& s) {
  FeedbackPreset& p = s.preset;
  const double A = p.curveAmplitude / 256.0, R = s.height;
  const uint8_t value = uint8_t(std::clamp(p.curveBrightness, 0, 255));
  const int W = s.width, H = s.height;
  for (int j = 0; j < 2; ++j)
    for (int i = 0; i < 64; ++i) {
      const double k = double(p.curveCounter) + i;
      const double x0 = R * std::cos(k / (80 + 80 * j * 1.34)) * A;
      const double y0 = R * std::sin(k / ((80 + 80 * j * 0.93) * 1.756)) * A;
      const double t = k * 0.001;
      const double px = std::cos(t) * x0 + std::sin(t) * y0 + W / 2;
      const double py = std::sin(t) * x0 - std::cos(t) * y0 + H / 2;
      // Only blocks wholly inside: the point's column 0 ... W - 2, row 0 ... H - 2.
      if (!(px >= 0 && px < W - 1 && py >= 0 && py < H - 1)) continue;
      uint8_t* at = s.current.data() + size_t(int(py)) * size_t(W) + size_t(int(px));
      at[0] = at[1] = at[W] = at[W + 1] = value;
    }
  p.curveCounter += 64;
}

void FeedbackFrame(FeedbackState& state, const uint8_t* source, uint8_t* out, int width, int height,
                   int64_t stride, RuntimeRandom& random) {
  if (!source || !out || width != state.width || height != state.height || width <= 0 ||
      stride < int64_t(width) * 3 || state.fields.empty())
    return;
  ++state.frame;
  SetFeedbackGlow(state, state.glow);
  if (state.frame % 8 == 0) {
    state.preset = state.presets[size_t(random.Below(kPresetCount))];
    state.paletteIntensity = state.glow * 0.01;
    BuildFeedbackPalette(state.palette, state.paletteIntensity, random.Next());
  } else if (state.glow * 0.01 != state.paletteIntensity) {
    state.paletteIntensity = state.glow * 0.01;
    BuildFeedbackPalette(state.palette, state.paletteIntensity, random.Next());
  }
  if (state.frame % 4 == 0) WalkFeedbackPreset(state.preset, random);

  const size_t plane = size_t(width) * size_t(height);
  const int field = std::clamp(state.preset.warp, 0, kWarpFieldCount - 1);
  WarpGrey(state.fields.data() + size_t(field) * plane, state.current.data(), state.next.data(), width, height);
  std::swap(state.current, state.next);

  // The palette in the picture's byte order (blue, green, red).
  uint8_t bgr[256][3];
  for (int i = 0; i < 256; ++i)
    for (int c = 0; c < 3; ++c) bgr[i][c] = state.palette[size_t(i) * 3 + size_t(2 - c)];
  const size_t rowBytes = size_t(width) * 3;
  for (int y = 0; y < height; ++y) {
    const uint8_t* grey = state.current.data() + size_t(y) * size_t(width);
    const uint8_t* from = source + int64_t(y) * stride;
    uint8_t* to = out + int64_t(y) * stride;
    for (int x = 0; x < width; ++x) {
      const uint8_t* add = bgr[grey[x]];
      for (int c = 0; c < 3; ++c) {
        const unsigned v = unsigned(from[c]) + add[c];
        to[c] = uint8_t(v > 255 ? 255 : v);
      }
      from += 3;
      to += 3;
    }
    std::memset(out + int64_t(y) * stride + int64_t(rowBytes), 0, size_t(stride) - rowBytes);
  }
  DrawFeedbackLines(state);
  DrawFeedbackCurve(state);
}

}  // namespace quillo::qlo18
