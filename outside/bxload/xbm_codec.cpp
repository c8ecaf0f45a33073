#include "xbm_codec.h"

#include <cctype>
#include <cstring>

#include "pnm_codec.h"  // kMaxFormatPixels

namespace quillo::bxload {
namespace {

XbmImage Fail(const char* reason) { return XbmImage{{}, reason}; }

bool IsIdent(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// The text with C comments replaced by spaces, so tokens never run across them.
std::string WithoutComments(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] == '/' && text[i + 1] == '*') {
      const size_t close = text.find("*/", i + 2);
      const size_t stop = close == std::string::npos ? text.size() : close + 2;
      for (size_t k = i; k < stop; ++k) text[k] = ' ';
      i = stop - 1;
    } else if (text[i] == '/' && text[i + 1] == '/') {
      for (size_t k = i; k < text.size() && text[k] != '\n'; ++k) text[k] = ' ';
    }
  }
  return text;
}

// Value of "#define <...>suffix N" (name ending in `suffix`), or -1.
int64_t Define(const std::string& text, const char* suffix) {
  const size_t suffixLength = std::strlen(suffix);
  for (size_t at = text.find("#define"); at != std::string::npos; at = text.find("#define", at + 1)) {
    size_t p = at + 7;
    while (p < text.size() && (text[p] == ' ' || text[p] == '\t')) ++p;
    const size_t nameStart = p;
    while (p < text.size() && IsIdent(text[p])) ++p;
    const std::string name = text.substr(nameStart, p - nameStart);
    const bool match = name.size() >= suffixLength &&
                       name.compare(name.size() - suffixLength, suffixLength, suffix) == 0 &&
                       (name.size() == suffixLength || name[name.size() - suffixLength - 1] == '_');
    if (!match) continue;
    while (p < text.size() && (text[p] == ' ' || text[p] == '\t')) ++p;
    if (p >= text.size() || !std::isdigit(static_cast<unsigned char>(text[p]))) return -1;
    int64_t v = 0;
    while (p < text.size() && std::isdigit(static_cast<unsigned char>(text[p]))) {
      v = v * 10 + (text[p++] - '0');
      if (v > 0x7FFFFFFF) return -1;
    }
    return v;
  }
  return -1;
}

}  // namespace

XbmImage ReadXbm(const uint8_t* data, size_t size, uint64_t maxDibBytes) {
  if (data == nullptr) return Fail("The file is not an X bitmap.");
  const std::string text = WithoutComments(data, size);
  const int64_t width = Define(text, "width"), height = Define(text, "height");
  if (width < 0 || height < 0) return Fail("The X bitmap does not define its width and height.");
  if (width == 0 || height == 0) return Fail("The picture has no pixels.");
  if (uint64_t(width) * uint64_t(height) > kMaxFormatPixels) return Fail("The picture is too large.");
  const size_t bracket = text.find('[');
  const size_t brace = bracket == std::string::npos ? bracket : text.find('{', bracket);
  if (brace == std::string::npos) return Fail("The X bitmap has no array of bits.");
  // "short" in the array's declaration (after the previous statement) marks 16-bit values.
  const size_t statement = text.rfind(';', bracket);
  const size_t shortAt = text.rfind("short", bracket);
  const bool wide = shortAt != std::string::npos && (statement == std::string::npos || shortAt > statement);
  const int valueBits = wide ? 16 : 8;
  const uint64_t perRow = (uint64_t(width) + valueBits - 1) / valueBits;
  const uint64_t needed = perRow * uint64_t(height);
  // Every value takes at least two characters ("0," at least), so a file too
  // short for the count is refused before anything is allocated.
  if (needed > (text.size() - brace) / 2 + 1) return Fail("The file ends before the last pixel.");

  std::vector<uint16_t> values;
  values.reserve(size_t(needed));
  size_t p = brace + 1;
  while (values.size() < needed) {
    while (p < text.size() && (std::isspace(static_cast<unsigned char>(text[p])) || text[p] == ',')) ++p;
    if (p >= text.size() || text[p] == '}') return Fail("The file ends before the last pixel.");
    uint64_t v = 0;
    size_t digits = 0;
    if (text[p] == '0' && p + 1 < text.size() && (text[p + 1] == 'x' || text[p + 1] == 'X')) {
      p += 2;
      while (p < text.size() && std::isxdigit(static_cast<unsigned char>(text[p])) && v <= 0xFFFF) {
        const char c = char(std::tolower(static_cast<unsigned char>(text[p++])));
        v = v * 16 + uint64_t(c <= '9' ? c - '0' : c - 'a' + 10);
        ++digits;
      }
    } else {
      while (p < text.size() && std::isdigit(static_cast<unsigned char>(text[p])) && v <= 0xFFFF) {
        v = v * 10 + uint64_t(text[p++] - '0');
        ++digits;
      }
    }
    if (digits == 0) return Fail("The X bitmap's array holds something other than numbers.");
    if (v >= (uint64_t(1) << valueBits)) return Fail("A value of the X bitmap is too large for its type.");
    values.push_back(uint16_t(v));
  }

  std::vector<uint8_t> dib = NewDib(int32_t(width), int32_t(height), 1, maxDibBytes);
  if (dib.empty()) return Fail("The picture is too large.");
  DibColour* table = DibTable(dib);
  table[0] = {255, 255, 255, 0};
  table[1] = {0, 0, 0, 0};
  uint8_t* bits = dib.data() + DibBitsOffset(dib);
  const int64_t stride = DibStride(width, 1);
  for (int64_t y = 0; y < height; ++y) {
    uint8_t* row = bits + stride * (height - 1 - y);
    const uint16_t* src = values.data() + perRow * y;
    for (int64_t x = 0; x < width; ++x)
      if (src[x / valueBits] >> (x % valueBits) & 1) row[x >> 3] |= uint8_t(0x80 >> (x & 7));
  }
  return XbmImage{std::move(dib), {}};
}

}  // namespace quillo::bxload
