#include "xpm_codec.h"

#include <cctype>
#include <cstring>
#include <unordered_map>

#include "pnm_codec.h"  // kMaxFormatPixels

namespace quillo::bxload {
namespace {

constexpr uint32_t kMaxCharsPerPixel = 16;

XpmImage Fail(const char* reason) { return XpmImage{{}, reason}; }

struct NamedColour {
  const char* name;
  uint8_t r, g, b;
};

// The common names of the X colour list (lower case, without spaces).
constexpr NamedColour kNames[] = {
    {"black", 0, 0, 0},           {"white", 255, 255, 255},     {"red", 255, 0, 0},
    {"green", 0, 255, 0},         {"blue", 0, 0, 255},          {"yellow", 255, 255, 0},
    {"cyan", 0, 255, 255},        {"magenta", 255, 0, 255},     {"gray", 190, 190, 190},
    {"grey", 190, 190, 190},      {"darkgray", 169, 169, 169},  {"darkgrey", 169, 169, 169},
    {"lightgray", 211, 211, 211}, {"lightgrey", 211, 211, 211}, {"dimgray", 105, 105, 105},
    {"dimgrey", 105, 105, 105},   {"orange", 255, 165, 0},      {"purple", 160, 32, 240},
    {"brown", 165, 42, 42},       {"pink", 255, 192, 203},      {"navy", 0, 0, 128},
    {"navyblue", 0, 0, 128},      {"maroon", 176, 48, 96},      {"darkred", 139, 0, 0},
    {"darkgreen", 0, 100, 0},     {"darkblue", 0, 0, 139},      {"gold", 255, 215, 0},
    {"violet", 238, 130, 238},    {"tan", 210, 180, 140},       {"khaki", 240, 230, 140},
    {"salmon", 250, 128, 114},    {"skyblue", 135, 206, 235},   {"steelblue", 70, 130, 180},
    {"forestgreen", 34, 139, 34}, {"seagreen", 46, 139, 87},    {"orchid", 218, 112, 214},
    {"beige", 245, 245, 220},     {"ivory", 255, 255, 240},     {"wheat", 245, 222, 179},
};

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = char(std::tolower(static_cast<unsigned char>(c)));
  return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

// The contents of every string literal of the C text, in order; comments are
// skipped. Only \" and \\ escapes matter inside the strings of a pixmap.
std::vector<std::string> StringLiterals(const uint8_t* data, size_t size) {
  std::vector<std::string> out;
  size_t i = 0;
  while (i < size) {
    const char c = char(data[i]);
    if (c == '/' && i + 1 < size && data[i + 1] == '*') {
      i += 2;
      while (i + 1 < size && !(data[i] == '*' && data[i + 1] == '/')) ++i;
      i += 2;
    } else if (c == '/' && i + 1 < size && data[i + 1] == '/') {
      while (i < size && data[i] != '\n') ++i;
    } else if (c == '"') {
      std::string s;
      ++i;
      while (i < size && data[i] != '"') {
        if (data[i] == '\\' && i + 1 < size) ++i;
        s.push_back(char(data[i++]));
      }
      ++i;
      out.push_back(std::move(s));
    } else {
      ++i;
    }
  }
  return out;
}

std::vector<std::string> Words(const std::string& s) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i]))) ++i;
    const size_t start = i;
    while (i < s.size() && !std::isspace(static_cast<unsigned char>(s[i]))) ++i;
    if (i > start) words.push_back(s.substr(start, i - start));
  }
  return words;
}

bool IsKey(const std::string& w) { return w == "c" || w == "m" || w == "g" || w == "g4" || w == "s"; }

// Colour text of the colour line's words after the pixel characters.
bool ColourOfLine(const std::vector<std::string>& words, std::string& colour) {
  static const char* const kPreference[] = {"c", "g", "g4", "m"};
  for (const char* wanted : kPreference) {
    for (size_t i = 0; i < words.size(); ++i) {
      if (words[i] != wanted) continue;
      std::string value;
      for (size_t k = i + 1; k < words.size() && !IsKey(words[k]); ++k) value += (value.empty() ? "" : " ") + words[k];
      if (value.empty()) return false;
      colour = value;
      return true;
    }
  }
  return false;
}

uint32_t ParseCount(const std::string& w, bool& ok) {
  uint64_t v = 0;
  if (w.empty() || w.size() > 10) ok = false;
  for (char c : w) {
    if (!std::isdigit(static_cast<unsigned char>(c))) ok = false;
    else v = v * 10 + uint64_t(c - '0');
  }
  if (v > 0x7FFFFFFF) ok = false;
  return uint32_t(v);
}

}  // namespace

bool ParseXpmColour(const std::string& text, DibColour& colour) {
  if (!text.empty() && text[0] == '#') {
    const size_t digits = text.size() - 1;
    if (digits == 0 || digits % 3 != 0 || digits > 12) return false;
    const size_t each = digits / 3;
    uint8_t rgb[3];
    for (int k = 0; k < 3; ++k) {
      int v = 0;
      for (size_t d = 0; d < each; ++d) {
        const int h = HexDigit(text[1 + k * each + d]);
        if (h < 0) return false;
        if (d < 2) v = v * 16 + h;
      }
      rgb[k] = uint8_t(each == 1 ? v * 17 : v);
    }
    colour = {rgb[2], rgb[1], rgb[0], 0};
    return true;
  }
  std::string name;
  for (char c : text)
    if (!std::isspace(static_cast<unsigned char>(c))) name.push_back(char(std::tolower(static_cast<unsigned char>(c))));
  if (name == "none") {
    colour = {255, 255, 255, 0};
    return true;
  }
  for (const NamedColour& n : kNames)
    if (name == n.name) {
      colour = {n.b, n.g, n.r, 0};
      return true;
    }
  if ((name.rfind("gray", 0) == 0 || name.rfind("grey", 0) == 0) && name.size() > 4 && name.size() <= 7) {
    int level = 0;
    for (size_t i = 4; i < name.size(); ++i) {
      if (!std::isdigit(static_cast<unsigned char>(name[i]))) return false;
      level = level * 10 + (name[i] - '0');
    }
    if (level > 100) return false;
    const uint8_t v = uint8_t((level * 255 + 50) / 100);
    colour = {v, v, v, 0};
    return true;
  }
  return false;
}

XpmImage ReadXpm(const uint8_t* data, size_t size, uint64_t maxDibBytes) {
  if (data == nullptr) return Fail("The file is not an X pixmap.");
  const std::vector<std::string> strings = StringLiterals(data, size);
  if (strings.empty()) return Fail("The file is not an X pixmap.");
  const std::vector<std::string> values = Words(strings[0]);
  bool ok = values.size() >= 4;
  const uint32_t width = ok ? ParseCount(values[0], ok) : 0, height = ok ? ParseCount(values[1], ok) : 0;
  const uint32_t colours = ok ? ParseCount(values[2], ok) : 0, cpp = ok ? ParseCount(values[3], ok) : 0;
  if (!ok) return Fail("The X pixmap's values line is damaged.");
  if (width == 0 || height == 0) return Fail("The picture has no pixels.");
  if (uint64_t(width) * height > kMaxFormatPixels) return Fail("The picture is too large.");
  if (cpp == 0 || cpp > kMaxCharsPerPixel) return Fail("The X pixmap uses an unsupported number of characters per pixel.");
  if (colours == 0) return Fail("The X pixmap defines no colours.");
  if (uint64_t(strings.size()) < 1 + uint64_t(colours) + height)
    return Fail("The file ends before the last colour or pixel row.");

  // Pixel characters -> colour number: a direct table for one or two
  // characters, a hash map for more.
  std::vector<int32_t> direct(cpp <= 2 ? size_t(1) << (8 * cpp) : 0, -1);
  std::unordered_map<std::string, int32_t> named;
  std::vector<DibColour> palette(colours);
  auto keyOf = [&](const char* p) { return cpp == 1 ? uint8_t(p[0]) : uint8_t(p[0]) << 8 | uint8_t(p[1]); };
  for (uint32_t i = 0; i < colours; ++i) {
    const std::string& line = strings[1 + i];
    if (line.size() < cpp) return Fail("A colour line of the X pixmap is too short.");
    std::string colour;
    if (!ColourOfLine(Words(line.substr(cpp)), colour)) return Fail("A colour line of the X pixmap gives no colour.");
    if (!ParseXpmColour(colour, palette[i])) return Fail("The X pixmap uses a colour name that is not known here.");
    if (cpp <= 2) direct[keyOf(line.data())] = int32_t(i);
    else named[line.substr(0, cpp)] = int32_t(i);
  }

  const int bitCount = colours <= 2 ? 1 : colours <= 16 ? 4 : colours <= 256 ? 8 : 24;
  std::vector<uint8_t> dib = NewDib(int32_t(width), int32_t(height), bitCount, maxDibBytes);
  if (dib.empty()) return Fail("The picture is too large.");
  if (bitCount <= 8) {
    DibColour* table = DibTable(dib);
    for (uint32_t i = 0; i < colours; ++i) table[i] = palette[i];
  }
  uint8_t* bits = dib.data() + DibBitsOffset(dib);
  const int64_t stride = DibStride(width, bitCount);
  std::string key(cpp, ' ');
  for (uint32_t y = 0; y < height; ++y) {
    const std::string& line = strings[1 + colours + y];
    if (line.size() / cpp < width) return Fail("A pixel row of the X pixmap is shorter than the width.");
    uint8_t* row = bits + stride * (int64_t(height) - 1 - y);
    for (uint32_t x = 0; x < width; ++x) {
      const char* p = line.data() + size_t(x) * cpp;
      int32_t index = -1;
      if (cpp <= 2) {
        index = direct[keyOf(p)];
      } else {
        key.assign(p, cpp);
        const auto found = named.find(key);
        if (found != named.end()) index = found->second;
      }
      if (index < 0) return Fail("A pixel of the X pixmap names a colour that is not defined.");
      switch (bitCount) {
        case 1: row[x >> 3] |= uint8_t(index << (7 - (x & 7))); break;
        case 4: row[x >> 1] |= uint8_t((x & 1) ? index : index << 4); break;
        case 8: row[x] = uint8_t(index); break;
        default:
          row[3 * x] = palette[size_t(index)].blue;
          row[3 * x + 1] = palette[size_t(index)].green;
          row[3 * x + 2] = palette[size_t(index)].red;
      }
    }
  }
  return XpmImage{std::move(dib), {}};
}

}  // namespace quillo::bxload
