#include "shear_rotate.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <vector>

#include "shear_layers.h"
#include "shear_lines.h"

namespace quillo::bxcomm2 {

namespace {

constexpr double kPi = 3.14159265358979323846;

void Report(const Progress& progress, int percent) {
  if (progress) progress(percent);
}

// The part of a canvas a rotation or shear keeps, in canvas pixels.
struct Box {
  int left, right, bottom, top;
  int Width() const { return right - left + 1; }
  int Height() const { return top - bottom + 1; }
};

// The box of the picture's corners (w x h around the canvas centre) mapped
// by `map`, within the canvas.
template <typename Map>
Box CropBox(int canvasWidth, int canvasHeight, double w, double h, Map map) {
  const double cx = (canvasWidth - 1) / 2.0, cy = (canvasHeight - 1) / 2.0;
  double x0 = 1e300, x1 = -1e300, y0 = 1e300, y1 = -1e300;
  for (double sx : {-0.5, 0.5})
    for (double sy : {-0.5, 0.5}) {
      double x = sx * w, y = sy * h;
      map(x, y);
      x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
    }
  Box box;
  box.left = std::clamp(int(std::floor(cx + x0 + 0.5)), 0, canvasWidth - 1);
  box.right = std::clamp(int(std::ceil(cx + x1 - 0.5)), box.left, canvasWidth - 1);
  box.bottom = std::clamp(int(std::floor(cy + y0 + 0.5)), 0, canvasHeight - 1);
  box.top = std::clamp(int(std::ceil(cy + y1 - 0.5)), box.bottom, canvasHeight - 1);
  return box;
}

// What a rotation or shear writes: the result of the box's size and its
// layers, whose shears move source row k by rowMove(k) and then column j by
// columnMove(j) of `columns`. Null when memory runs out.
struct Work {
  Picture out;
  std::vector<Layer> layers;
};

template <typename RowMove, typename ColumnMove>
std::optional<Work> Prepare(const Picture& source, const Box& box, int columns, int lineLength, Background bg,
                            RowMove rowMove, ColumnMove columnMove) {
  try {
    std::vector<Move> rowMoves(size_t(source.height));
    std::vector<Move> columnMoves(static_cast<size_t>(columns));
    for (int k = 0; k < source.height; ++k) rowMoves[size_t(k)] = rowMove(k);
    for (int j = 0; j < columns; ++j) columnMoves[size_t(j)] = columnMove(j);
    auto out = Picture::Make(box.Width(), box.Height(), !source.mask.empty());
    if (!out) return std::nullopt;
    std::optional<Work> work(std::in_place);
    work->out = std::move(*out);  // the buffers stay where they are
    work->layers = LayersOf(source, work->out, rowMoves, columnMoves, lineLength, bg);
    return work;
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
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

// Rotate and shear never build their canvases (see shear_rotate.h): each
// row of the result is made by the first two shears straight from the source
// (see ShearPair) and, for a rotation, moved along by the third into the
// cropped result.
std::optional<Picture> RotatePicture(const Picture& in, double degrees, Background bg, const Progress& progress) {
  if (!std::isfinite(degrees) || in.width <= 0 || in.height <= 0) return std::nullopt;
  double a = std::fmod(degrees, 360.0);
  if (a < 0) a += 360;
  int turns = 0;
  while (a > 45) a -= 90, ++turns;
  Report(progress, 5);
  if (a == 0) return QuarterTurns(in, turns);
  std::optional<Picture> turnedCopy;  // none without a quarter turn to make
  if (turns % 4 != 0) turnedCopy = QuarterTurns(in, turns);
  const Picture& turned = turnedCopy ? *turnedCopy : in;
  const double radians = a * kPi / 180, s = -std::tan(radians / 2), t = std::sin(radians);
  const int W = turned.width, H = turned.height;
  const int px = int(std::ceil(std::fabs(s) * (H - 1)));
  const int n = W + px;
  const int py = int(std::ceil(std::fabs(t) * (n - 1))) / 2 + 1;
  const int canvasW = W + 2 * px, canvasH = H + 2 * py;
  if (int64_t(canvasW) * canvasH > kMaxCanvasPixels) return std::nullopt;
  // The picture sits at (px, py) of the canvas; the vertical shear moves the
  // n columns from `first` on, the horizontal ones the rows.
  const double cy = (canvasH - 1) / 2.0;
  const int first = (canvasW - n) / 2;
  const double cx = first + (n - 1) / 2.0;
  const Box box = CropBox(canvasW, canvasH, W, H, [&](double& x, double& y) {
    x += s * y;
    y += t * x;
    x += s * y;
  });
  auto work = Prepare(
      turned, box, n, n, bg, [&](int k) { return Shifted(MoveBy(s * (py + k - cy)), px - first); },
      [&](int j) { return Shifted(MoveBy(t * (first + j - cx)), py); });
  Report(progress, 10);
  if (!work) return std::nullopt;
  Report(progress, 15);
  const int height = work->out.height;
  for (int row = 0; row < height; ++row) {
    if (row == height / 3) Report(progress, 40);
    if (row == height * 2 / 3) Report(progress, 65);
    const int y = box.bottom + row;
    // The canvas's first and last rows are not sheared a third time.
    const bool edge = y == 0 || y == canvasH - 1;
    const Move along = Shifted(edge ? Move{} : MoveBy(s * (y - cy)), first - box.left);
    for (Layer& layer : work->layers) {
      layer.shears.Row(y, layer.line.data());
      ShearSpan(layer.line.data(), n, along, layer.layout, layer.target.Row(row), work->out.width);
    }
  }
  Report(progress, 95);
  return std::move(work->out);
}

std::optional<Picture> ShearPicture(const Picture& in, double horizontalDegrees, double verticalDegrees, Background bg,
                                    const Progress& progress) {
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
  if (int64_t(canvasW) * canvasH > kMaxCanvasPixels) return std::nullopt;
  const int x0 = (canvasW - W) / 2, y0 = (canvasH - H) / 2;
  const double cx = (canvasW - 1) / 2.0, cy = (canvasH - 1) / 2.0;
  const Box box = CropBox(canvasW, canvasH, W, H, [&](double& x, double& y) {
    x += s * y;
    y += t * x;
  });
  auto work = Prepare(
      in, box, box.Width(), 0, bg, [&](int k) { return Shifted(MoveBy(s * (y0 + k - cy)), x0 - box.left); },
      [&](int j) { return Shifted(MoveBy(t * (box.left + j - cx)), y0); });
  if (!work) return std::nullopt;
  Report(progress, 10);
  Report(progress, 15);
  for (int row = 0; row < work->out.height; ++row)
    for (Layer& layer : work->layers) layer.shears.Row(box.bottom + row, layer.target.Row(row));
  Report(progress, 95);
  return std::move(work->out);
}

}  // namespace quillo::bxcomm2
