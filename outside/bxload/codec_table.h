// Which codec handles a file name, which colour depths each format holds,
// and the texts the codec library reports.
#pragma once
#include <cstddef>
#include <string>

namespace quillo::bxload {

enum class Codec {
  Unknown,      // not an image extension at all
  Bmp,          // bmp, dib, rle: own reader and writer
  Jpeg,         // jpg, jpeg, jpe and the package picture "bexa"
  Png,
  Tiff,
  Pnm,          // pbm, pgm, ppm: own reader
  Wbmp,         // own reader and writer (2 colours)
  Tga,          // own reader and writer
  Pcx,          // own reader and writer
  Gif,          // first image through the animation loader's decoder; own writer
  Gbr,          // brushes: read only
  Pat,          // patterns: read only
  Xbm,          // xbm, bm: read only
  Xpm,          // read only
  Wpg,          // own reader and writer
};

// Lower-case extension after the last dot behind the last path separator;
// empty when there is none.
std::string ExtensionOf(const char* path);
Codec CodecForExtension(const std::string& extension);

// Depths (1, 4, 8, 24) each format can store.
bool DepthAllowed(Codec codec, int depth);
// Depth SaveDIB writes a picture of `bitCount` bits with: its own depth when
// the format holds it, else true colour, else the most colours the format
// holds (256 for GIF and WPG, 2 for WBMP); true colour for read-only formats.
int SaveDepth(Codec codec, int bitCount);
// Why `depth` is refused for `codec`, as a sentence for the user.
std::string DepthRefusal(Codec codec, int depth);

// "Cannot write <path>: <reason>" cut to fit `capacity` bytes with the
// terminating zero; a long path loses its middle so the reason stays whole.
std::string WriteError(const std::string& path, const std::string& reason, size_t capacity);

}  // namespace quillo::bxload
