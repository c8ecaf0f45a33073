// The star field's sprites: four glowing stars of 12, 20, 32 and 64 pixels
// stored in the plug-in as packed 24-bit pictures, each prepared once in 16
// colours (its hues turned by sixteenths of a full turn) so that drawing a
// star is only a clipped per-byte maximum.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace quillo::qlo11 {

constexpr int kStarSpriteKinds = 4;  // 0 "Star3", 1 "Star2", 2 "Bee", 3 "Queen"
constexpr int kStarColours = 16;
constexpr int kStarSpriteSizes[kStarSpriteKinds] = {12, 20, 32, 64};
// The resource names, smallest first.
extern const char* const kStarSpriteNames[kStarSpriteKinds];

// Reads a packed DIB (a 40-byte header, 24 bits a pixel, no colour table,
// bottom-up rows without padding) of `size` x `size` pixels from `bytes`
// bytes at `data`. False, with `pixels` untouched, when the header does not
// say exactly that or the bytes are too few.
bool ReadPackedSprite(const uint8_t* data, std::size_t bytes, int size, std::vector<uint8_t>& pixels);

// (blue, green, red) with its hue turned by `turn` of a full turn in
// hue-saturation-lightness space, saturation and lightness kept.
void TurnHue(uint8_t* pixel, double turn);

struct StarSprites {
  // variants[kind][colour]: size x size pixels, 3 bytes each, memory row 0
  // first; colour 0 is the sprite as stored.
  std::array<std::array<std::vector<uint8_t>, kStarColours>, kStarSpriteKinds> variants;
  bool ready = false;
};

// The 16 colours of each sprite from the stored pixels (each `size` x
// `size` x 3 bytes of its kind). False, leaving `sprites` not ready, when a
// sprite has the wrong number of bytes.
bool PrepareStarSprites(const std::array<std::vector<uint8_t>, kStarSpriteKinds>& stored,
                        StarSprites& sprites);

}  // namespace quillo::qlo11
