// The names the gift player takes from its own program file name: the
// self-extractor starts it as "_{package}.exe" in the package's folder, so
// the part before the last dot names the package it plays.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace quillo::giftutil {

// Program file names of this many characters or more are refused.
constexpr size_t kMaxProgramNameChars = 81;

struct GiftNames {
  std::string base;        // the package name, also written to the settings
  std::string image;       // base + ".BEXA"
  std::string record;      // base + ".SSD"
  std::string parameters;  // base + ".Prm"
};

// The part of a path after its last backslash or slash.
std::string_view FileNamePart(std::string_view path);

// The names for program file name `programFileName` (no folder): shorter
// than kMaxProgramNameChars, with a dot, and the part before the last dot a
// bare file name (not empty, no path parts). Nullopt otherwise.
std::optional<GiftNames> GiftNamesOf(std::string_view programFileName);

}  // namespace quillo::giftutil
