#include "dib_quantize.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "dib_pixels.h"

namespace quillo::dib {
namespace {

uint32_t Pack(const uint8_t* bgr) { return uint32_t(bgr[2]) << 16 | uint32_t(bgr[1]) << 8 | bgr[0]; }

// Distinct colours of the image with their pixel counts, or false as soon
// as there are more than `limit` of them. Open addressing over packed colours.
bool CollectColours(const uint8_t* block, const DibInfo& info, uint32_t limit,
                    std::vector<uint32_t>* colours, std::vector<uint64_t>* counts) {
  uint32_t bits = 1;
  while ((1u << bits) < 2 * limit) ++bits;
  const uint32_t mask = (1u << bits) - 1;
  constexpr uint32_t kEmpty = 0xFFFFFFFFu;
  std::vector<uint32_t> slots(mask + 1, kEmpty);
  std::vector<uint32_t> position(mask + 1);
  std::vector<uint8_t> row(size_t(info.width) * 3);
  colours->clear();
  counts->clear();
  for (int64_t y = 0; y < info.height; ++y) {
    RowToBgr(block, info, y, row.data());
    for (int64_t x = 0; x < info.width; ++x) {
      const uint32_t c = Pack(&row[size_t(x) * 3]);
      uint32_t s = ((c * 2654435761u) >> (32 - bits)) & mask;
      while (slots[s] != kEmpty && slots[s] != c) s = (s + 1) & mask;
      if (slots[s] == c) {
        ++(*counts)[position[s]];
        continue;
      }
      if (colours->size() == limit) return false;
      slots[s] = c;
      position[s] = uint32_t(colours->size());
      colours->push_back(c);
      counts->push_back(1);
    }
  }
  return true;
}

// One histogram cell: pixel count, colour sums and the sum of squares.
struct Cell {
  double weight = 0, sum[3] = {0, 0, 0}, squares = 0;
  double Mean(int c) const { return sum[c] / weight; }
};

struct Box {
  size_t begin, end;  // range in the cell list
  double error;
  bool cuttable;
};

double Error(const Cell& total) {
  if (total.weight <= 0) return 0;
  const double s = total.sum[0] * total.sum[0] + total.sum[1] * total.sum[1] + total.sum[2] * total.sum[2];
  return total.squares - s / total.weight;
}

void Add(Cell* a, const Cell& b) {
  a->weight += b.weight;
  for (int c = 0; c < 3; ++c) a->sum[c] += b.sum[c];
  a->squares += b.squares;
}

Cell Total(const std::vector<Cell>& cells, const std::vector<uint32_t>& order, size_t begin, size_t end) {
  Cell t;
  for (size_t i = begin; i < end; ++i) Add(&t, cells[order[i]]);
  return t;
}

void SortBy(const std::vector<Cell>& cells, std::vector<uint32_t>* order, size_t begin, size_t end, int axis) {
  std::sort(order->begin() + begin, order->begin() + end, [&](uint32_t a, uint32_t b) {
    const double ma = cells[a].Mean(axis), mb = cells[b].Mean(axis);
    return ma != mb ? ma < mb : a < b;
  });
}

// Best cut of a box: sorts its cells along the axis that leaves the least
// error and returns the split point (0 when the box cannot be cut).
size_t CutBox(const std::vector<Cell>& cells, std::vector<uint32_t>* order, const Box& box) {
  double bestError = -1;
  int bestAxis = 0;
  size_t bestAt = 0;
  for (int axis = 0; axis < 3; ++axis) {
    SortBy(cells, order, box.begin, box.end, axis);
    const Cell total = Total(cells, *order, box.begin, box.end);
    Cell left;
    for (size_t i = box.begin; i + 1 < box.end; ++i) {
      Add(&left, cells[(*order)[i]]);
      // Only cut between different means along the axis.
      if (cells[(*order)[i]].Mean(axis) == cells[(*order)[i + 1]].Mean(axis)) continue;
      Cell right = total;
      right.weight -= left.weight;
      for (int c = 0; c < 3; ++c) right.sum[c] -= left.sum[c];
      right.squares -= left.squares;
      const double e = Error(left) + Error(right);
      if (bestError < 0 || e < bestError) {
        bestError = e;
        bestAxis = axis;
        bestAt = i + 1;
      }
    }
  }
  if (bestAt == 0) return 0;
  SortBy(cells, order, box.begin, box.end, bestAxis);
  return bestAt;
}

DibColour MeanColour(const Cell& c) {
  DibColour out{};
  uint8_t* bgr = &out.blue;
  for (int i = 0; i < 3; ++i) bgr[i] = uint8_t(std::clamp(c.sum[i] / c.weight + 0.5, 0.0, 255.0));
  return out;
}

void Refine(const std::vector<Cell>& cells, const std::vector<uint32_t>& used, QuantPalette* p) {
  for (int round = 0; round < 4; ++round) {
    std::vector<Cell> clusters(p->count);
    for (uint32_t i : used) {
      const Cell& c = cells[i];
      const uint8_t mean[3] = {uint8_t(c.Mean(0) + 0.5), uint8_t(c.Mean(1) + 0.5), uint8_t(c.Mean(2) + 0.5)};
      Add(&clusters[NearestIndex(p->colours, p->count, mean)], c);
    }
    bool moved = false;
    for (uint32_t k = 0; k < p->count; ++k) {
      if (clusters[k].weight <= 0) continue;
      const DibColour m = MeanColour(clusters[k]);
      if (std::memcmp(&m, &p->colours[k], 4) != 0) moved = true;
      p->colours[k] = m;
    }
    if (!moved) break;
  }
}

// Cells to quantise: the exact colours when there are not too many of them,
// otherwise a 32 x 32 x 32 histogram that keeps each cell's colour sums.
std::vector<Cell> BuildCells(const uint8_t* block, const DibInfo& info) {
  constexpr uint32_t kExactLimit = 32768;
  std::vector<uint32_t> colours;
  std::vector<uint64_t> counts;
  if (CollectColours(block, info, kExactLimit, &colours, &counts)) {
    std::vector<Cell> cells(colours.size());
    for (size_t i = 0; i < colours.size(); ++i) {
      const double w = double(counts[i]);
      const double b = colours[i] & 0xFF, g = (colours[i] >> 8) & 0xFF, r = colours[i] >> 16;
      cells[i].weight = w;
      cells[i].sum[0] = w * b;
      cells[i].sum[1] = w * g;
      cells[i].sum[2] = w * r;
      cells[i].squares = w * (b * b + g * g + r * r);
    }
    return cells;
  }
  std::vector<Cell> cells(32 * 32 * 32);
  std::vector<uint8_t> row(size_t(info.width) * 3);
  for (int64_t y = 0; y < info.height; ++y) {
    RowToBgr(block, info, y, row.data());
    for (int64_t x = 0; x < info.width; ++x) {
      const uint8_t* c = &row[size_t(x) * 3];
      Cell& cell = cells[(c[2] >> 3) << 10 | (c[1] >> 3) << 5 | (c[0] >> 3)];
      cell.weight += 1;
      for (int i = 0; i < 3; ++i) cell.sum[i] += c[i];
      cell.squares += double(c[0] * c[0] + c[1] * c[1] + c[2] * c[2]);
    }
  }
  return cells;
}

}  // namespace

bool ChoosePalette(const uint8_t* block, const DibInfo& info, int maxColours, QuantPalette* p) {
  if (maxColours < 2 || maxColours > 256) return false;
  *p = QuantPalette{};
  std::vector<uint32_t> few;
  std::vector<uint64_t> counts;
  if (CollectColours(block, info, uint32_t(maxColours), &few, &counts)) {
    std::sort(few.begin(), few.end());
    p->count = uint32_t(few.size());
    for (size_t i = 0; i < few.size(); ++i)
      p->colours[i] = DibColour{uint8_t(few[i]), uint8_t(few[i] >> 8), uint8_t(few[i] >> 16), 0};
    return true;
  }

  const std::vector<Cell> cells = BuildCells(block, info);
  std::vector<uint32_t> order;
  for (uint32_t i = 0; i < cells.size(); ++i)
    if (cells[i].weight > 0) order.push_back(i);

  std::vector<Box> boxes{Box{0, order.size(), Error(Total(cells, order, 0, order.size())), true}};
  while (boxes.size() < size_t(maxColours)) {
    size_t pick = boxes.size();
    for (size_t i = 0; i < boxes.size(); ++i)
      if (boxes[i].cuttable && boxes[i].end - boxes[i].begin > 1 &&
          (pick == boxes.size() || boxes[i].error > boxes[pick].error))
        pick = i;
    if (pick == boxes.size()) break;
    const Box box = boxes[pick];
    const size_t at = CutBox(cells, &order, box);
    if (at == 0) {
      boxes[pick].cuttable = false;
      continue;
    }
    boxes[pick] = Box{box.begin, at, Error(Total(cells, order, box.begin, at)), true};
    boxes.push_back(Box{at, box.end, Error(Total(cells, order, at, box.end)), true});
  }
  p->count = uint32_t(boxes.size());
  for (size_t i = 0; i < boxes.size(); ++i)
    p->colours[i] = MeanColour(Total(cells, order, boxes[i].begin, boxes[i].end));
  Refine(cells, order, p);
  return true;
}

DibShape IndexShape(const uint8_t* block, const DibInfo& info, const QuantPalette& palette) {
  DibShape s = ShapeOf(block, info);
  s.bitCount = 8;
  s.colours = palette.count;
  s.compression = kDibRgb;
  s.masks[0] = s.masks[1] = s.masks[2] = 0;
  return s;
}

void MapToPalette(const uint8_t* block, const DibInfo& info, const QuantPalette& palette,
                  uint8_t* out, uint8_t* indexBuffer) {
  const DibInfo di = InitDib(out, IndexShape(block, info, palette));
  std::memcpy(di.Palette(out), palette.colours, size_t(palette.count) * 4);
  // Direct-mapped cache of colour -> index; the nearest search is exact, so
  // the cache only saves time.
  constexpr uint32_t kCacheBits = 16;
  std::vector<uint32_t> keys(1u << kCacheBits, 0xFFFFFFFFu);
  std::vector<uint8_t> values(1u << kCacheBits);
  std::vector<uint8_t> row(size_t(info.width) * 3);
  for (int64_t y = 0; y < info.height; ++y) {
    RowToBgr(block, info, y, row.data());
    uint8_t* o = di.Row(out, y);
    for (int64_t x = 0; x < info.width; ++x) {
      const uint32_t c = Pack(&row[size_t(x) * 3]);
      const uint32_t slot = (c * 2654435761u) >> (32 - kCacheBits);
      if (keys[slot] != c) {
        keys[slot] = c;
        values[slot] = uint8_t(NearestIndex(palette.colours, palette.count, &row[size_t(x) * 3]));
      }
      o[x] = values[slot];
    }
    if (indexBuffer) std::memcpy(indexBuffer + size_t(y) * size_t(info.width), o, size_t(info.width));
  }
}

}  // namespace quillo::dib
