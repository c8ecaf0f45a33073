// The storm's glowing sprites: read from packed 24-bit DIBs, then stamped
// into the glow buffer at any size by nearest sampling, each byte taking
// the larger of its old value and the mean of old and sprite.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace quillo::qlo17 {

constexpr int kStormSpriteKinds = 5;
constexpr int kStormSpriteSide = 200;  // the stored sprites are 200 x 200
// Names of the stored sprites, sprite index 0 ... 4.
extern const char* const kStormSpriteNames[kStormSpriteKinds];

struct StormSprite {
  int width = 0, height = 0;
  std::vector<uint8_t> pixels;  // bottom-up rows of width x 3 bytes (blue, green, red)
  // Per row, the columns from the first to past the last pixel that is not
  // black: a black pixel leaves the glow as it was, so stamping skips the rest.
  std::vector<int> first, end;
};
using StormSprites = std::array<StormSprite, kStormSpriteKinds>;

// Reads a packed DIB (a header of at least 40 bytes, 24 bits a pixel, no
// compression, bottom-up rows padded to four bytes, any colour table
// skipped) of `bytes` bytes at `data`. False, with `sprite` untouched, when
// the header says anything else, the picture is larger than 4096 on a side
// or the bytes are too few.
bool ReadStormSprite(const uint8_t* data, std::size_t bytes, StormSprite& sprite);

// A sprite made from bottom-up rows of width x 3 bytes (tests, tools).
StormSprite MakeStormSprite(int width, int height, std::vector<uint8_t> pixels);

// Stamps `sprite` scaled to n x n with its first row and column at memory
// row `top` and column `left` of the glow buffer (width x height pixels,
// rows of width x 3 bytes), clipped to it. Sampling steps in 8.8 fixed
// point: sprite width x 255 / n across, sprite height x 255 / n down.
// `scratch` is working memory the caller keeps between stamps.
void StampStormSprite(const StormSprite& sprite, int n, int left, int top, uint8_t* glow, int width, int height,
                      std::vector<uint8_t>& scratch);

}  // namespace quillo::qlo17
