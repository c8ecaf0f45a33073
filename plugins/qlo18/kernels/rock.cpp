#include "rock.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace quillo::qlo18 {

namespace {

constexpr double kWobble = 0.3;  // the drift turns back beyond this part of its limit

RockTables BuildTables() {
  RockTables t;
  for (int i = 0; i < kRockSlots; ++i) {
    t.sine[size_t(i)] = std::sin(i * 0.002 * 3.14159);
    t.cosine[size_t(i)] = std::cos(i * 0.002 * 3.14159);
  }
  for (int k = 1; k <= kRockFarDepth; ++k) t.perspective[size_t(k - 1)] = std::atan2(0.5 / (k * 0.01), 1.0);
  return t;
}

// One axis of the drift: the offset follows the velocity, turns back beyond
// 0.3 of its limit, and the velocity follows the direction.
void Drift(int& offset, int& velocity, int& direction, int limit, RuntimeRandom& random) {
  offset += velocity;
  if (offset > kWobble * limit) {
    offset = std::min(offset, limit);
    direction = -1;
  } else if (offset < -kWobble * limit) {
    offset = std::max(offset, -limit);
    direction = 1;
  }
  velocity = std::clamp(velocity + direction, -5, 5);
  if (random.Below(60) == 0 && random.Next() % 2 == 0) direction = direction == -1 ? 0 : -1;
}

void TurnField(RockField& field, RuntimeRandom& random) {
  if (field.rotation != field.rotationTarget) {
    if (++field.step >= 6) {
      field.step = 0;
      field.rotation += field.rotation < field.rotationTarget ? 1 : -1;
    }
    return;
  }
  if (random.Below(50) == 0) {
    field.rotationTarget = random.Below(11) - 5;
    if (random.Below(10) == 0) field.rotationTarget *= 5;
  }
}

void SetPixel(uint8_t* pixels, int width, int height, int64_t stride, int x, int y, const uint8_t bgr[3]) {
  if (x < 0 || y < 0 || x >= width || y >= height) return;
  std::memcpy(pixels + int64_t(height - 1 - y) * stride + int64_t(x) * 3, bgr, 3);
}

}  // namespace

const RockTables& RockTable() {
  static const RockTables tables = BuildTables();
  return tables;
}

void SetRockSettings(RockState& state, int count, int speed) {
  state.count = std::clamp(count, kRockMinCount, kRockMaxCount);
  state.speed = std::clamp(speed, kRockMinSpeed, kRockMaxSpeed);
}

void StartRocks(RockField& field, int width, int height) {
  field.centreX = width / 2;
  field.centreY = height / 2;
}

void ProjectRock(Rock& rock, const RockField& field) {
  const RockTables& t = RockTable();
  const int depth = std::clamp(rock.depth, 1, kRockFarDepth);
  const int angle = ((rock.angle % kRockSlots) + kRockSlots) % kRockSlots;
  const double f = t.perspective[size_t(depth - 1)];
  rock.size = int(f * rock.baseSize + 0.5);
  rock.x = int(f * rock.distance * t.cosine[size_t(angle)]) + field.centreX;
  rock.y = int(f * rock.distance * t.sine[size_t(angle)]) + field.centreY;
  rock.x += int(-depth / 6100.0 * field.driftX);
  rock.y += int(-depth / 6100.0 * field.driftY);
}

void FillRockPolygon(const int (*vertices)[2], int count, const uint8_t bgr[3], uint8_t* pixels, int width,
                     int height, int64_t stride) {
  struct Edge {
    int top, bottom;  // rows: active from top down to, not including, bottom
    double x, slope;  // crossing on the current row, its change per row
  };
  Edge edges[16];
  int edgeCount = 0;
  int first = 0, last = 0;
  for (int i = 0; i < count && i < 16; ++i) {
    const int* a = vertices[i];
    const int* b = vertices[(i + 1) % count];
    if (a[1] == b[1]) continue;  // no vertical extent
    const int* up = a[1] < b[1] ? a : b;
    const int* down = a[1] < b[1] ? b : a;
    edges[edgeCount++] = {up[1], down[1], double(up[0]), double(down[0] - up[0]) / double(down[1] - up[1])};
    first = edgeCount == 1 ? up[1] : std::min(first, up[1]);
    last = edgeCount == 1 ? down[1] : std::max(last, down[1]);
  }
  for (int y = first; y < last; ++y) {
    double crossings[16];
    int n = 0;
    for (int e = 0; e < edgeCount; ++e)
      if (edges[e].top <= y && y < edges[e].bottom) crossings[n++] = edges[e].x;
    std::sort(crossings, crossings + n);
    if (y >= 0 && y < height) {
      uint8_t* row = pixels + int64_t(height - 1 - y) * stride;
      for (int p = 0; p + 1 < n; p += 2) {
        const double left = std::max(std::ceil(crossings[p]), 0.0);
        const double right = std::min(std::ceil(crossings[p + 1]), double(width));
        for (int x = int(left); x < int(right); ++x) std::memcpy(row + int64_t(x) * 3, bgr, 3);
      }
    }
    for (int e = 0; e < edgeCount; ++e)
      if (edges[e].top <= y && y < edges[e].bottom) edges[e].x += edges[e].slope;
  }
}

void DrawRock(const Rock& rock, uint8_t* pixels, int width, int height, int64_t stride) {
  const int x = rock.x, y = rock.y, s = rock.size;
  if (!(x > 0 && x < width && y > 0 && y < height && s < kRockBaseSize)) return;
  const uint8_t bgr[3] = {rock.blue, rock.green, rock.red};
  if (s <= 1) {
    SetPixel(pixels, width, height, stride, x, y, bgr);
    return;
  }
  if (s <= 3) {
    const int square[4][2] = {{x, y}, {x + s + 1, y}, {x + s + 1, y + s + 1}, {x, y + s + 1}};
    FillRockPolygon(square, 4, bgr, pixels, width, height, stride);
    return;
  }
  const int stone[7][2] = {{x + int(0.15 * s), y + int(0.85 * s)}, {x, y + int(0.2 * s)},
                           {x + int(0.3 * s), y},                  {x + int(0.4 * s), y + int(0.1 * s)},
                           {x + int(0.9 * s), y + int(0.1 * s)},   {x + s, y + int(0.55 * s)},
                           {x + int(0.45 * s), y + s}};
  FillRockPolygon(stone, 7, bgr, pixels, width, height, stride);
}

void RockFrame(RockState& state, RockField& field, const uint8_t* source, uint8_t* out, int width, int height,
               int64_t stride, RuntimeRandom& random) {
  if (!source || !out || width <= 0 || height <= 0 || stride < int64_t(width) * 3) return;
  SetRockSettings(state, state.count, state.speed);
  std::memcpy(out, source, size_t(stride) * size_t(height));
  if (++field.frame >= 50) {
    field.frame = 0;
    StartRocks(field, width, height);
  }
  TurnField(field, random);
  Drift(field.driftX, field.velocityX, field.directionX, width / 2, random);
  Drift(field.driftY, field.velocityY, field.directionY, height / 2, random);
  for (int i = 0; i < state.count; ++i) {
    Rock& rock = state.rocks[size_t(i)];
    if (rock.depth > 0) {
      rock.depth -= state.speed;
      rock.angle = ((rock.angle + field.rotation) % kRockSlots + kRockSlots) % kRockSlots;
      if (rock.depth < kRockNearDepth) {
        rock.depth = 0;
        continue;
      }
    } else {
      if (random.Below(40) != 0) continue;
      rock.baseSize = kRockBaseSize;
      rock.distance = random.Below(30000) + 700;
      rock.depth = kRockFarDepth;
      rock.angle = random.Below(kRockSlots);
      rock.red = uint8_t(128 + random.Below(128));
      rock.green = uint8_t(128 + random.Below(128));
      rock.blue = uint8_t(128 + random.Below(128));
    }
    ProjectRock(rock, field);
    DrawRock(rock, out, width, height, stride);
  }
}

}  // namespace quillo::qlo18
