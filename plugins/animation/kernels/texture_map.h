// Table-driven frames: a map names, for every output pixel, the texture
// pixel it shows; each frame shifts the texture under the map by an offset.
// Tunnels, worms, kaleidoscopes and the other warped scrolls all draw this
// way, so the map is built once and every frame is a plain gather.
#pragma once
#include <cstdint>

namespace quillo::animation {

// One output pixel's texture coordinates, already inside the texture:
// 0 <= column < width, 0 <= row < height.
struct MapEntry {
  int16_t column = 0;
  int16_t row = 0;
};

// The order in which map entries fill the output's memory rows.
enum class MapRows {
  kUpward,    // entry n is memory row n / width (memory row 0 first)
  kDownward,  // entry n is memory row height - 1 - n / width
};

// v reduced into 0 .. size - 1 (a true modulo, negative values included);
// 0 when size is not positive.
int ReduceInto(int64_t v, int size);

// Reduces a computed texture coordinate into 0 .. size - 1 as the map
// builders store it: truncated to 16 bits, then brought into range.
int16_t MapCoordinate(int64_t v, int size);

// Draws one frame into `out`: output pixel n receives the three bytes of
// `texture` at row (row + offsetY) mod height, column (column + offsetX) mod
// width of map entry n. Texture and output are 24-bit pictures of width x
// height with rows of `stride` bytes; offsets may be any value (they are
// reduced first). Nothing is drawn for unusable geometry.
void DrawMappedFrame(const uint8_t* texture, uint8_t* out, int width, int height, int64_t stride,
                     const MapEntry* map, int64_t offsetX, int64_t offsetY, MapRows rows);

}  // namespace quillo::animation
