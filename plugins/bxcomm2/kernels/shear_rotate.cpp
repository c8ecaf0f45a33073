#include "shear_rotate.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace quillo::bxcomm2 {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kOne = 16384;  // 1.0 in the shears' fixed point

void Report(const Progress& progress, int percent) {
  if (progress) progress(percent);
}

// A line of `length` pixels of `channels` bytes, `step` bytes apart, read
// from `in` and written to `out` (its own line of `outLength`) moved by
// `offset` pixels. `fill` is the background of one pixel.
void ShearLine(const uint8_t* in, int64_t inStep, int length, uint8_t* out, int64_t outStep,
               int outLength, int start, double offset, const uint8_t* fill, int channels) {
  const double whole = std::floor(offset);
  const int shift = int(whole);
  const int weight = int(std::lround((1.0 - (offset - whole)) * kOne));  // F
  uint8_t previous[3] = {fill[0], fill[channels > 1 ? 1 : 0], fill[channels > 2 ? 2 : 0]};
  auto put = [&](int position, const uint8_t* p) {
    if (position < 0 || position >= outLength) return;
    uint8_t* o = out + outStep * position;
    for (int c = 0; c < channels; ++c) o[c] = uint8_t((p[c] * weight + previous[c] * (kOne - weight) + kOne / 2) >> 14);
  };
  for (int i = 0; i < outLength; ++i) std::copy(fill, fill + channels, out + outStep * i);
  for (int k = 0; k < length; ++k) {
    const uint8_t* p = in + inStep * k;
    put(start + k + shift, p);
    std::copy(p, p + channels, previous);
  }
  // The last pixel's share spills into the next position.
  if (weight < kOne) put(start + length + shift, fill);
}

// One picture's pixels and mask sheared row by row (horizontal) or column
// by column (vertical) into `out` of the same size; `lines` picks which
// rows (columns) and their segment, `offsetOf` their move.
struct Segment {
  int first, count;  // the pixels of a row (column) that hold the picture
};

void ShearRows(const Picture& in, Picture& out, int rowBegin, int rowEnd, Segment segment,
               const std::function<double(int)>& offsetOf, Background bg) {
  const uint8_t fill[3] = {bg.blue, bg.green, bg.red}, zero[1] = {0};
  std::vector<uint8_t> line(size_t(segment.count) * 3);
  std::vector<uint8_t> maskLine(size_t(segment.count));
  for (int y = rowBegin; y < rowEnd; ++y) {
    std::copy(in.Row(y) + int64_t(segment.first) * 3, in.Row(y) + int64_t(segment.first + segment.count) * 3, line.begin());
    ShearLine(line.data(), 3, segment.count, out.Row(y), 3, out.width, segment.first, offsetOf(y), fill, 3);
    if (!in.mask.empty()) {
      const size_t maskRow = size_t(in.height - 1 - y) * size_t(in.width);
      std::copy(in.mask.begin() + ptrdiff_t(maskRow + size_t(segment.first)),
                in.mask.begin() + ptrdiff_t(maskRow + size_t(segment.first + segment.count)), maskLine.begin());
      ShearLine(maskLine.data(), 1, segment.count, out.mask.data() + maskRow, 1, out.width, segment.first,
                offsetOf(y), zero, 1);
    }
  }
}

void ShearColumns(const Picture& in, Picture& out, int colBegin, int colEnd, Segment segment,
                  const std::function<double(int)>& offsetOf, Background bg) {
  const uint8_t fill[3] = {bg.blue, bg.green, bg.red}, zero[1] = {0};
  std::vector<uint8_t> line(size_t(segment.count) * 3), maskLine(size_t(segment.count));
  for (int x = colBegin; x < colEnd; ++x) {
    for (int k = 0; k < segment.count; ++k)
      std::copy(in.Row(segment.first + k) + int64_t(x) * 3, in.Row(segment.first + k) + int64_t(x) * 3 + 3,
                line.begin() + ptrdiff_t(k) * 3);
    ShearLine(line.data(), 3, segment.count, out.pixels.data() + int64_t(x) * 3, out.stride, out.height,
              segment.first, offsetOf(x), fill, 3);
    if (!in.mask.empty()) {
      // Mask rows run top-down: memory row y is mask row height - 1 - y.
      for (int k = 0; k < segment.count; ++k)
        maskLine[size_t(k)] = in.mask[size_t(in.height - 1 - (segment.first + k)) * size_t(in.width) + size_t(x)];
      std::vector<uint8_t> column(size_t(out.height));
      ShearLine(maskLine.data(), 1, segment.count, column.data(), 1, out.height, segment.first, offsetOf(x), zero, 1);
      for (int y = 0; y < out.height; ++y)
        out.mask[size_t(out.height - 1 - y) * size_t(out.width) + size_t(x)] = column[size_t(y)];
    }
  }
}

// The picture placed at (x, y) of a canvas filled with the background.
std::optional<Picture> Place(const Picture& in, int width, int height, int x, int y, Background bg) {
  if (int64_t(width) * height > kMaxCanvasPixels) return std::nullopt;
  auto canvas = Picture::Make(width, height, !in.mask.empty());
  if (!canvas) return std::nullopt;
  for (int row = 0; row < height; ++row) {
    uint8_t* p = canvas->Row(row);
    for (int col = 0; col < width; ++col, p += 3) p[0] = bg.blue, p[1] = bg.green, p[2] = bg.red;
  }
  for (int row = 0; row < in.height; ++row) {
    std::copy(in.Row(row), in.Row(row) + int64_t(in.width) * 3, canvas->Row(row + y) + int64_t(x) * 3);
    if (!in.mask.empty())
      std::copy(in.mask.begin() + ptrdiff_t(size_t(in.height - 1 - row) * in.width),
                in.mask.begin() + ptrdiff_t(size_t(in.height - row) * in.width),
                canvas->mask.begin() + ptrdiff_t(size_t(height - 1 - (row + y)) * width + size_t(x)));
  }
  return canvas;
}

// The part of `canvas` inside the box of the picture's corners (w x h
// around the canvas centre) mapped by `map`.
std::optional<Picture> Crop(const Picture& canvas, double w, double h,
                            const std::function<void(double&, double&)>& map) {
  const double cx = (canvas.width - 1) / 2.0, cy = (canvas.height - 1) / 2.0;
  double x0 = 1e300, x1 = -1e300, y0 = 1e300, y1 = -1e300;
  for (double sx : {-0.5, 0.5})
    for (double sy : {-0.5, 0.5}) {
      double x = sx * w, y = sy * h;
      map(x, y);
      x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
    }
  const int left = std::clamp(int(std::floor(cx + x0 + 0.5)), 0, canvas.width - 1);
  const int right = std::clamp(int(std::ceil(cx + x1 - 0.5)), left, canvas.width - 1);
  const int bottom = std::clamp(int(std::floor(cy + y0 + 0.5)), 0, canvas.height - 1);
  const int top = std::clamp(int(std::ceil(cy + y1 - 0.5)), bottom, canvas.height - 1);
  auto out = Picture::Make(right - left + 1, top - bottom + 1, !canvas.mask.empty());
  if (!out) return std::nullopt;
  for (int y = 0; y < out->height; ++y) {
    std::copy(canvas.Row(bottom + y) + int64_t(left) * 3, canvas.Row(bottom + y) + int64_t(right + 1) * 3,
              out->Row(y));
    if (!canvas.mask.empty()) {
      const size_t from = size_t(canvas.height - 1 - (bottom + y)) * canvas.width + size_t(left);
      std::copy(canvas.mask.begin() + ptrdiff_t(from), canvas.mask.begin() + ptrdiff_t(from + out->width),
                out->mask.begin() + ptrdiff_t(size_t(out->height - 1 - y) * out->width));
    }
  }
  return out;
}

}  // namespace

std::optional<Picture> Picture::Make(int width, int height, bool withMask) {
  if (width <= 0 || height <= 0 || int64_t(width) * height > kMaxCanvasPixels) return std::nullopt;
  Picture p;
  p.width = width;
  p.height = height;
  p.stride = (int64_t(width) * 24 + 31) / 32 * 4;
  try {
    p.pixels.assign(size_t(p.stride) * size_t(height), 0);
    if (withMask) p.mask.assign(size_t(width) * size_t(height), 0);
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
  return p;
}

Picture QuarterTurns(const Picture& in, int turns) {
  turns = ((turns % 4) + 4) % 4;
  Picture out = in;
  for (int t = 0; t < turns; ++t) {
    const Picture src = out;
    auto next = Picture::Make(src.height, src.width, !src.mask.empty());
    if (!next) return out;
    // Counter-clockwise with rows counted upward: (x, y) goes to (H - 1 - y, x).
    for (int y = 0; y < src.height; ++y)
      for (int x = 0; x < src.width; ++x) {
        std::copy(src.Row(y) + int64_t(x) * 3, src.Row(y) + int64_t(x) * 3 + 3,
                  next->Row(x) + int64_t(src.height - 1 - y) * 3);
        if (!src.mask.empty())
          next->mask[size_t(next->height - 1 - x) * next->width + size_t(src.height - 1 - y)] =
              src.mask[size_t(src.height - 1 - y) * src.width + size_t(x)];
      }
    out = std::move(*next);
  }
  return out;
}

std::optional<Picture> RotatePicture(const Picture& in, double degrees, Background bg,
                                     const Progress& progress) {
  if (!std::isfinite(degrees) || in.width <= 0 || in.height <= 0) return std::nullopt;
  double a = std::fmod(degrees, 360.0);
  if (a < 0) a += 360;
  int turns = 0;
  while (a > 45) a -= 90, ++turns;
  Report(progress, 5);
  Picture turned = QuarterTurns(in, turns);
  if (a == 0) return turned;
  const double radians = a * kPi / 180, s = -std::tan(radians / 2), t = std::sin(radians);
  const int W = turned.width, H = turned.height;
  const int px = int(std::ceil(std::fabs(s) * (H - 1)));
  const int n = W + px;
  const int py = int(std::ceil(std::fabs(t) * (n - 1))) / 2 + 1;
  if (int64_t(W + 2 * px) * (H + 2 * py) > kMaxCanvasPixels) return std::nullopt;
  auto canvas = Place(turned, W + 2 * px, H + 2 * py, px, py, bg);
  Report(progress, 10);
  if (!canvas) return std::nullopt;
  auto work = Picture::Make(canvas->width, canvas->height, !canvas->mask.empty());
  if (!work) return std::nullopt;
  const double cy = (canvas->height - 1) / 2.0;
  const int first = (canvas->width - n) / 2;
  const double cx = first + (n - 1) / 2.0;
  Report(progress, 15);
  // Horizontal, vertical, horizontal: each shear reads one canvas, writes
  // the other; the image rows first, then the n columns they may cover.
  *work = *canvas;
  ShearRows(*canvas, *work, py, py + H, {px, W}, [&](int y) { return s * (y - cy); }, bg);
  Report(progress, 40);
  *canvas = *work;
  ShearColumns(*work, *canvas, first, first + n, {py, H}, [&](int x) { return t * (x - cx); }, bg);
  Report(progress, 65);
  *work = *canvas;
  ShearRows(*canvas, *work, 1, canvas->height - 1, {first, n}, [&](int y) { return s * (y - cy); }, bg);
  Report(progress, 95);
  return Crop(*work, W, H, [&](double& x, double& y) {
    x += s * y;
    y += t * x;
    x += s * y;
  });
}

std::optional<Picture> ShearPicture(const Picture& in, double horizontalDegrees,
                                    double verticalDegrees, Background bg, const Progress& progress) {
  if (!std::isfinite(horizontalDegrees) || !std::isfinite(verticalDegrees) || in.width <= 0 || in.height <= 0)
    return std::nullopt;
  const double s = -std::tan(horizontalDegrees * kPi / 360), t = std::sin(verticalDegrees * kPi / 180);
  const int W = in.width, H = in.height;
  const double px = std::ceil(std::fabs(s) * (H - 1));
  const double cw = W + px;
  const double py = std::ceil(std::fabs(t) * (cw - 1));
  if (cw * (H + py) > double(kMaxCanvasPixels)) return std::nullopt;
  Report(progress, 5);
  // The picture in the middle of a canvas wide and high enough for both moves.
  const int canvasW = W + 2 * int(px / 2 + 1), canvasH = H + 2 * int(py / 2 + 1);
  auto canvas = Place(in, canvasW, canvasH, (canvasW - W) / 2, (canvasH - H) / 2, bg);
  if (!canvas) return std::nullopt;
  auto work = Picture::Make(canvasW, canvasH, !canvas->mask.empty());
  if (!work) return std::nullopt;
  Report(progress, 10);
  const double cx = (canvasW - 1) / 2.0, cy = (canvasH - 1) / 2.0;
  *work = *canvas;
  ShearRows(*canvas, *work, (canvasH - H) / 2, (canvasH - H) / 2 + H, {(canvasW - W) / 2, W},
            [&](int y) { return s * (y - cy); }, bg);
  Report(progress, 15);
  *canvas = *work;
  ShearColumns(*work, *canvas, 0, canvasW, {(canvasH - H) / 2, H}, [&](int x) { return t * (x - cx); }, bg);
  Report(progress, 95);
  return Crop(*canvas, W, H, [&](double& x, double& y) {
    x += s * y;
    y += t * x;
  });
}

}  // namespace quillo::bxcomm2
