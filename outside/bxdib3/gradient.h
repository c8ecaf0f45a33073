// Gradient objects: validation, colour look-up, editing and the default
// table (portable). Layout in gradient_format.h.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "gradient_format.h"

namespace quillo::gradient {

// True when `size` bytes at `data` hold a sound gradient: magic and
// version, 1..kMaxEntries entries that fit in `size`, a selected entry in
// range, and every entry with 2..kMaxStops stops in non-decreasing order
// and a terminated name.
bool IsSoundGradient(const uint8_t* data, uint64_t size);
// Bytes a sound gradient at `data` claims (header plus entries), 0 when the
// header alone is not sound. Lets callers that only hold a pointer learn how
// much to read.
uint64_t ClaimedSize(const uint8_t* data);

// Colour of `entry` at position/range of the way along (clamped to the
// ends; range <= 0 gives the start), interpolated linearly between the two
// stops around it and rounded: out = blue, green, red.
void EntryColour(const GradientEntry& entry, int64_t position, int64_t range, uint8_t out[3]);
// The same for the selected entry of a sound gradient.
bool SelectedColour(const uint8_t* data, uint64_t size, int64_t position, int64_t range,
                    uint8_t out[3]);

// Mirrors an entry: stop at p with colour c becomes a stop at 255 - p.
void ReverseEntry(GradientEntry* entry);

// A gradient in memory, for building and editing.
struct Gradient {
  uint32_t selected = 0;
  std::vector<GradientEntry> entries;
};
GradientEntry MakeEntry(const char* name, std::initializer_list<GradientStop> stops);
std::vector<uint8_t> Serialize(const Gradient& gradient);
// Reads a sound gradient; false otherwise.
bool Parse(const uint8_t* data, uint64_t size, Gradient* gradient);

// The table programs start with: Rainbow, Fire, Ocean, Sunset, Grey and more.
Gradient DefaultGradient();

}  // namespace quillo::gradient
