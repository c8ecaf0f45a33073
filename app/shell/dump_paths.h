// File names the program derives from an opened picture's path: the raw
// block, grey and bitmap dumps of the developer switches, and the reader
// chosen by extension.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillo {

// The extension after the last dot of the file name (after the last
// backslash or slash); empty when there is none.
std::string_view FileExtension(std::string_view path);
// `path` with its extension replaced by `extension` (a dot is added when the
// name has none).
std::string ReplaceExtension(std::string_view path, std::string_view extension);
// The bitmap dump's name: extension "DIB" and every minus sign of the whole
// path an underscore.
std::string BitmapDumpPath(std::string_view path);

// How an opened file is read.
enum class ImageReader { kRawDib, kAnimatedGif, kCodecLibrary };
ImageReader ReaderForPath(std::string_view path);

// One byte per pixel, (blue + green + red) / 3, rows in the stored order
// (bottom-up) without padding, from 24-bit rows of `stride` bytes.
std::vector<uint8_t> GreyDump(const uint8_t* bits, int32_t width, int32_t height, uint64_t stride);

}  // namespace quillo
