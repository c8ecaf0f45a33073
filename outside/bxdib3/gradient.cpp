#include "gradient.h"

#include <algorithm>
#include <cstring>

namespace quillo::gradient {
namespace {

bool EntrySound(const GradientEntry& e) {
  if (std::memchr(e.name, 0, sizeof e.name) == nullptr) return false;
  if (e.stopCount < 2 || e.stopCount > kMaxStops) return false;
  for (uint32_t i = 1; i < e.stopCount; ++i)
    if (e.stops[i].position < e.stops[i - 1].position) return false;
  return true;
}

bool HeaderSound(const GradientHeader& h) {
  return std::memcmp(h.magic, kMagic, 4) == 0 && h.version == kVersion && h.count >= 1 &&
         h.count <= kMaxEntries && h.selected < h.count;
}

}  // namespace

uint64_t ClaimedSize(const uint8_t* data) {
  if (!data) return 0;
  GradientHeader h;
  std::memcpy(&h, data, sizeof h);
  return HeaderSound(h) ? GradientBytes(h.count) : 0;
}

bool IsSoundGradient(const uint8_t* data, uint64_t size) {
  if (!data || size < sizeof(GradientHeader)) return false;
  GradientHeader h;
  std::memcpy(&h, data, sizeof h);
  if (!HeaderSound(h) || GradientBytes(h.count) > size) return false;
  for (uint32_t i = 0; i < h.count; ++i) {
    GradientEntry e;
    std::memcpy(&e, data + GradientBytes(i), sizeof e);
    if (!EntrySound(e)) return false;
  }
  return true;
}

void EntryColour(const GradientEntry& e, int64_t position, int64_t range, uint8_t out[3]) {
  constexpr int64_t kOne = 65536;  // fixed-point unit of a stop position
  const int64_t t = range <= 0 ? 0 : std::clamp<int64_t>(position, 0, range);
  const int64_t at = range <= 0 ? 0 : t * 255 * kOne / range;
  const uint32_t n = std::clamp<uint32_t>(e.stopCount, 1, kMaxStops);
  const GradientStop* s = e.stops;
  const GradientStop* pick = nullptr;
  if (at <= s[0].position * kOne) pick = &s[0];
  if (at >= s[n - 1].position * kOne) pick = &s[n - 1];
  if (pick) {
    out[0] = pick->blue;
    out[1] = pick->green;
    out[2] = pick->red;
    return;
  }
  uint32_t i = 0;
  while (i + 2 < n && s[i + 1].position * kOne < at) ++i;
  const int64_t begin = s[i].position * kOne, span = (s[i + 1].position - s[i].position) * kOne;
  const int64_t f = at - begin;
  const uint8_t a[3] = {s[i].blue, s[i].green, s[i].red};
  const uint8_t b[3] = {s[i + 1].blue, s[i + 1].green, s[i + 1].red};
  for (int c = 0; c < 3; ++c) out[c] = uint8_t((a[c] * (span - f) + b[c] * f + span / 2) / span);
}

bool SelectedColour(const uint8_t* data, uint64_t size, int64_t position, int64_t range, uint8_t out[3]) {
  if (!IsSoundGradient(data, size)) return false;
  GradientHeader h;
  std::memcpy(&h, data, sizeof h);
  GradientEntry e;
  std::memcpy(&e, data + GradientBytes(h.selected), sizeof e);
  EntryColour(e, position, range, out);
  return true;
}

void ReverseEntry(GradientEntry* e) {
  const uint32_t n = std::min(e->stopCount, kMaxStops);
  std::reverse(e->stops, e->stops + n);
  for (uint32_t i = 0; i < n; ++i) e->stops[i].position = uint8_t(255 - e->stops[i].position);
}

GradientEntry MakeEntry(const char* name, std::initializer_list<GradientStop> stops) {
  GradientEntry e{};
  std::strncpy(e.name, name, sizeof e.name - 1);
  for (const GradientStop& s : stops) {
    if (e.stopCount == kMaxStops) break;
    e.stops[e.stopCount++] = s;
  }
  return e;
}

std::vector<uint8_t> Serialize(const Gradient& g) {
  GradientHeader h{};
  std::memcpy(h.magic, kMagic, 4);
  h.version = kVersion;
  h.count = uint32_t(g.entries.size());
  h.selected = g.selected < h.count ? g.selected : 0;
  std::vector<uint8_t> out(size_t(GradientBytes(h.count)));
  std::memcpy(out.data(), &h, sizeof h);
  for (size_t i = 0; i < g.entries.size(); ++i)
    std::memcpy(out.data() + GradientBytes(i), &g.entries[i], sizeof(GradientEntry));
  return out;
}

bool Parse(const uint8_t* data, uint64_t size, Gradient* g) {
  if (!IsSoundGradient(data, size)) return false;
  GradientHeader h;
  std::memcpy(&h, data, sizeof h);
  g->selected = h.selected;
  g->entries.resize(h.count);
  for (uint32_t i = 0; i < h.count; ++i)
    std::memcpy(&g->entries[i], data + GradientBytes(i), sizeof(GradientEntry));
  return true;
}

}  // namespace quillo::gradient
