#include "warp_fields.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace quillo::qlo18 {

namespace {

constexpr double kTurn = 0.002;

}  // namespace

uint64_t WarpTableEntries(int width, int height) {
  if (width <= 0 || height <= 0 || width > kWarpMaxSide || height > kWarpMaxSide) return 0;
  const uint64_t entries = uint64_t(kWarpFieldCount) * uint64_t(width) * uint64_t(height);
  if (entries > uint64_t(SIZE_MAX) / sizeof(WarpEntry)) return 0;
  return entries;
}

void WarpSource(int field, int x, int y, int width, int height, double* sourceX, double* sourceY) {
  const int halfW = width / 2, halfH = height / 2;
  const double dx = x - halfW, dy = y - halfH;
  const double R = height;
  double a = kTurn;
  if (field == 3) a = std::sin(std::sqrt(dx * dx + dy * dy) * 0.05) * 0.05 + kTurn;
  double rx = dx, ry = dy;
  if (field != 5) {
    const double c = std::cos(a), s = std::sin(a);
    ry = dy * c + dx * s;
    rx = dx * c - dy * s;
  }
  const double length = std::sqrt(ry * ry + rx * rx);
  const double u = length - R * 0.25;
  double scale = 1;
  switch (field) {
    case 0: scale = 1 - u / 3000; break;
    case 1: scale = 1 + (length - R * 0.45) / 6000; break;
    case 2: scale = 1 - u / 600; break;
    case 3: scale = 1 - u * 0.00025; break;
    case 4: scale = 1 - u / (std::sin(std::sqrt(dx * dx + dy * dy) * 0.2) * 3000 + 4000); break;
    case 5: scale = 1.02; break;
    case 6: scale = std::cos(std::atan(dx / (dy + 0.00001)) * 6) * 0.02 + 1; break;
  }
  *sourceX = halfW + rx * scale;
  *sourceY = halfH + ry * scale;
}

WarpEntry WarpEntryFor(double sourceX, double sourceY, int width, int height) {
  // A non-number (never expected) counts as the top-left corner.
  if (!(sourceX >= 0)) sourceX = 0;
  if (!(sourceY >= 0)) sourceY = 0;
  sourceX = std::min(sourceX, double(width - 1));
  sourceY = std::min(sourceY, double(height - 1));
  const int ix = int(sourceX), iy = int(sourceY);
  const double fx = sourceX - ix, fy = sourceY - iy;
  const int u = int(fx * 252);
  const int v = int(fy * (252 - u));
  const int w = int(fy * u);
  const uint32_t weights = uint32_t(252 - u - v) << 24 | uint32_t(u - w) << 16 | uint32_t(v) << 8 | uint32_t(w);
  return {uint32_t(ix) << 16 | uint32_t(iy), weights};
}

bool BuildWarpFields(std::vector<WarpEntry>& table, int width, int height) {
  const uint64_t entries = WarpTableEntries(width, height);
  try {
    if (entries == 0) throw std::bad_alloc();
    table.resize(size_t(entries));
  } catch (const std::bad_alloc&) {
    std::vector<WarpEntry>().swap(table);
    return false;
  }
  const size_t plane = size_t(width) * size_t(height);
  for (int k = 0; k < kWarpFieldCount; ++k) {
    WarpEntry* out = table.data() + size_t(k) * plane;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        double sx, sy;
        WarpSource(k, x, y, width, height, &sx, &sy);
        *out++ = WarpEntryFor(sx, sy, width, height);
      }
  }
  return true;
}

void WarpGrey(const WarpEntry* field, const uint8_t* current, uint8_t* next, int width, int height) {
  const size_t count = size_t(width) * size_t(height);
  const uint32_t lastX = uint32_t(width - 1), lastY = uint32_t(height - 1);
  for (size_t i = 0; i < count; ++i) {
    const uint32_t sx = field[i].source >> 16, sy = field[i].source & 0xFFFF;
    const uint32_t weights = field[i].weights;
    const uint8_t* at = current + size_t(sy) * size_t(width) + sx;
    const size_t right = sx < lastX ? 1 : 0;
    const size_t down = sy < lastY ? size_t(width) : 0;
    const uint32_t sum = (weights >> 24) * at[0] + ((weights >> 16) & 0xFF) * at[right] +
                         ((weights >> 8) & 0xFF) * at[down] + (weights & 0xFF) * at[down + right];
    next[i] = uint8_t(std::min<uint32_t>(sum >> 8, 255));
  }
}

}  // namespace quillo::qlo18
