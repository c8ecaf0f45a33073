// The saved-parameter blocks of the kaleidoscope (segment count, centre,
// mirror flag) and of the illusion (the two speeds, sector count). Blocks
// come from other machines, so reading keeps every value inside what the
// dialog could have set for the picture at hand.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "illusion.h"
#include "kale_map.h"

namespace quillo::qlo12 {

constexpr uint32_t kKaleBlobMagic = 0x117577EA;      // 32 bytes: N, cx, cy, mirror
constexpr uint32_t kIllusionBlobMagic = 0x1175243A;  // 20 bytes: speed x, speed y, N

// Kale's block for `p` on a width x height picture, values clamped as
// reading does.
std::vector<uint8_t> WriteKaleBlob(const KaleParameters& p, int width, int height);

// Reads N (1 .. 50), the centre (inside the picture: 0 .. width - 1 and
// 0 .. height - 1; a value that is not a finite number becomes the default
// centre) and the mirror flag (0 or 1) into `p`, leaving its other fields.
// False, with `p` unchanged, for a wrong magic or stated size or when fewer
// than the block's 32 bytes are available.
bool ReadKaleBlob(const uint8_t* data, std::size_t available, int width, int height,
                  KaleParameters& p);

struct IllusionSettings {
  int speedX = 0, speedY = 0;
  int sectors = kIllusionDefaultSectors;
};

// Illusion's block for `s` on a width x height picture, clamped as reading
// does.
std::vector<uint8_t> WriteIllusionBlob(const IllusionSettings& s, int width, int height);

// Reads the sector count (1 .. 100) and the speeds into `s`. A speed is a
// forward step of at most the cursor factor or a backward one written as a
// forward one (size - factor .. size - 1), so each is clamped into 0 ..
// max(size - 1, factor). False, with `s` unchanged, for a wrong magic or
// stated size or when fewer than the block's 20 bytes are available.
bool ReadIllusionBlob(const uint8_t* data, std::size_t available, int width, int height,
                      IllusionSettings& s);

}  // namespace quillo::qlo12
