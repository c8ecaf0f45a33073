#include "dump_paths.h"

namespace quillo {

std::string_view FileExtension(std::string_view path) {
  const size_t slash = path.find_last_of("\\/");
  const size_t dot = path.find_last_of('.');
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return {};
  return path.substr(dot + 1);
}

std::string ReplaceExtension(std::string_view path, std::string_view extension) {
  const std::string_view current = FileExtension(path);
  std::string out(path.substr(0, path.size() - current.size()));
  if (current.empty() && (out.empty() || out.back() != '.')) out += '.';
  out += extension;
  return out;
}

std::string BitmapDumpPath(std::string_view path) {
  std::string out = ReplaceExtension(path, "DIB");
  for (char& c : out)
    if (c == '-') c = '_';
  return out;
}

static bool SameLetters(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = char(x - 32);
    if (y >= 'a' && y <= 'z') y = char(y - 32);
    if (x != y) return false;
  }
  return true;
}

ImageReader ReaderForPath(std::string_view path) {
  const std::string_view ext = FileExtension(path);
  if (SameLetters(ext, "DI")) return ImageReader::kRawDib;
  if (SameLetters(ext, "GIF")) return ImageReader::kAnimatedGif;
  return ImageReader::kCodecLibrary;
}

std::vector<uint8_t> GreyDump(const uint8_t* bits, int32_t width, int32_t height, uint64_t stride) {
  std::vector<uint8_t> out;
  if (!bits || width <= 0 || height <= 0 || stride < uint64_t(width) * 3) return out;
  out.resize(size_t(uint64_t(width) * uint64_t(height)));
  size_t at = 0;
  for (int32_t y = 0; y < height; ++y) {
    const uint8_t* p = bits + uint64_t(y) * stride;
    for (int32_t x = 0; x < width; ++x, p += 3) out[at++] = uint8_t((p[0] + p[1] + p[2]) / 3);
  }
  return out;
}

}  // namespace quillo
