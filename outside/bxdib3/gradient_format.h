// Layout of a gradient object (portable). One block: a 40-byte header whose
// 32-bit word at byte offset 36 is the entry count n, then n 96-byte
// entries. The same bytes form the "GRADIENT" resource "Default" that
// programs copy at start-up, so nothing here holds a pointer and both the
// 32- and 64-bit builds read it alike. All numbers are little-endian.
#pragma once
#include <cstdint>

namespace quillo::gradient {

constexpr char kMagic[4] = {'Q', 'G', 'R', 'D'};
constexpr uint32_t kVersion = 1;
constexpr uint32_t kMaxEntries = 256;
constexpr uint32_t kMaxStops = 14;

#pragma pack(push, 1)
struct GradientHeader {
  char magic[4];          // "QGRD"
  uint32_t version;       // kVersion
  uint32_t selected;      // entry used by colour look-ups, < count
  uint8_t reserved[24];   // zero
  uint32_t count;         // number of entries that follow (byte offset 36)
};

// One colour stop: its place along the gradient (0 = start, 255 = end) and
// its colour.
struct GradientStop {
  uint8_t position;
  uint8_t blue, green, red;
};

struct GradientEntry {
  char name[32];          // zero-terminated display name
  uint32_t stopCount;     // 2..kMaxStops
  uint32_t reserved;      // zero
  GradientStop stops[kMaxStops];  // positions non-decreasing; unused stops zero
};
#pragma pack(pop)

static_assert(sizeof(GradientHeader) == 40, "gradient header is 40 bytes");
static_assert(sizeof(GradientEntry) == 96, "gradient entries are 96 bytes");

constexpr uint64_t GradientBytes(uint64_t count) {
  return sizeof(GradientHeader) + count * sizeof(GradientEntry);
}

}  // namespace quillo::gradient
