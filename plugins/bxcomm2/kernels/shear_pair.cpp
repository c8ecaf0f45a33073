#include "shear_pair.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <limits>

namespace quillo::bxcomm2 {

namespace {

constexpr int kOverrun = 16;  // bytes a run's blend may write past its end

// out[i] = Blend(p[i], q[i], weights[i]): a plain loop GCC vectorises.
void BlendWeighted(const uint8_t* __restrict p, const uint8_t* __restrict q, const int16_t* __restrict weights,
                   int64_t count, uint8_t* __restrict out) {
  for (int64_t i = 0; i < count; ++i) out[i] = Blend(p[i], q[i], weights[i]);
}

// Blend(p[b], q[b]) for the first `count` bytes, made in whole blocks of
// kOverrun bytes: fixed-size loops GCC turns into vector code. Reads and
// writes up to kOverrun - 1 bytes past `count`.
void BlendBlocks(const uint8_t* __restrict p, const uint8_t* __restrict q, int count, int weight,
                 uint8_t* __restrict out) {
  for (int block = 0; block < count; block += kOverrun)
    for (int b = block; b < block + kOverrun; ++b) out[b] = Blend(p[b], q[b], weight);
}

// The runs of the rows below and above take the following pixels of this
// source row; fetching them early hides the wait for memory along the
// slant. Only a hint, never a read: the address is made as a number.
inline void PrefetchAhead(const uint8_t* p) {
  constexpr uintptr_t kAhead = 128;  // bytes
  __builtin_prefetch(reinterpret_cast<const void*>(reinterpret_cast<uintptr_t>(p) + kAhead));
}

}  // namespace

ShearPair::ShearPair(Plane<const uint8_t> source, int width, int height, const Layout& layout,
                     const std::vector<Move>& rowMoves, const std::vector<Move>& columnMoves)
    : source_(source),
      width_(width),
      height_(height),
      columns_(int(columnMoves.size())),
      layout_(layout),
      rowBytes_(int64_t(columns_) * layout.channels),
      rowMoves_(rowMoves),
      byteWeights_(std::size_t(rowBytes_)),
      slantedStride_(rowBytes_ + kOverrun),
      slanted_(std::size_t(slantedStride_) * (kBlock + 1)),
      blockY_(std::numeric_limits<int>::min() / 2) {  // no rows made yet
  for (int j = 0; j < columns_; ++j) {
    const Move move = columnMoves[std::size_t(j)];
    if (j == 0 || move.shift != runs_.back().rowShift) runs_.push_back({j, j, move.shift});
    runs_.back().end = j + 1;
    std::fill_n(byteWeights_.begin() + ptrdiff_t(j) * layout.channels, layout.channels, int16_t(move.weight));
  }
  rising_ = runs_.size() > 1 && runs_[1].rowShift > runs_[0].rowShift;
}

void ShearPair::Row(int y, uint8_t* out) {
  if (y < blockY_ || y >= blockY_ + kBlock) {
    if (y == blockY_ + kBlock)
      std::memcpy(Slanted(0), Slanted(kBlock), std::size_t(rowBytes_));  // the row below carries over
    else
      SlantedRows(y - 1, 1, Slanted(0));
    SlantedRows(y, kBlock, Slanted(1));
    blockY_ = y;
  }
  const int slot = y - blockY_ + 1;
  BlendWeighted(Slanted(slot), Slanted(slot - 1), byteWeights_.data(), rowBytes_, out);
}

void ShearPair::SlantedRows(int y, int count, uint8_t* out) const {
  const int c = layout_.channels;
  // In each row the runs whose source row is inside the picture come one
  // after the other, as the row shifts only rise, or only fall; the rest is
  // background, filled last over what the runs wrote past their ends.
  auto firstRun = runs_.end(), endRun = runs_.begin();
  int firstInside[kBlock], endInside[kBlock];
  for (int i = 0; i < count; ++i) {
    const int row = y + i;
    const auto before = [&](const Run& run) {
      const int k = row - run.rowShift;
      return rising_ ? k >= height_ : k < 0;
    };
    const auto inside = [&](const Run& run) { return unsigned(row - run.rowShift) < unsigned(height_); };
    const auto begin = std::partition_point(runs_.begin(), runs_.end(), before);
    const auto end = std::partition_point(begin, runs_.end(), inside);
    firstInside[i] = begin == end ? columns_ : begin->first;
    endInside[i] = begin == end ? columns_ : (end - 1)->end;
    if (begin != end) firstRun = std::min(firstRun, begin), endRun = std::max(endRun, end);
  }
  for (auto run = firstRun; run < endRun; ++run) {
    const int runCount = run->end - run->first;
    const int runBytes = runCount * c;
    const int blockedBytes = (runBytes + kOverrun - 1) / kOverrun * kOverrun;
    const int k0 = y - run->rowShift;  // the source row for result row y
    const int iEnd = std::min(count, height_ - k0);
    for (int i = std::max(0, -k0); i < iEnd; ++i) {
      const int k = k0 + i;
      const uint8_t* row = source_.Row(k);
      const Move move = rowMoves_[std::size_t(k)];
      uint8_t* o = out + i * slantedStride_ + int64_t(run->first) * c;
      const int m = run->first - move.shift;  // the source pixel of the run's first column
      if (m < 1 || m + runCount > width_) {
        ShearSpan(row, width_, Shifted(move, -run->first), layout_, o, runCount);  // at an edge
        continue;
      }
      // Inside the row each pixel blends with the one before it.
      const uint8_t* p = row + int64_t(m) * c;
      PrefetchAhead(p);
      if (int64_t(m) * c + blockedBytes <= int64_t(width_) * c)
        BlendBlocks(p, p - c, runBytes, move.weight, o);
      else
        BlendBytes(p, p - c, runBytes, move.weight, o);
    }
  }
  for (int i = 0; i < count; ++i) {
    uint8_t* o = out + i * slantedStride_;
    FillPixels(o, firstInside[i], layout_);
    FillPixels(o + int64_t(endInside[i]) * c, columns_ - endInside[i], layout_);
  }
}

}  // namespace quillo::bxcomm2
