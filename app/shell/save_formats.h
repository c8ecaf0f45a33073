// The save dialog's formats: which colour depths each accepts, its
// extension, and how the chosen file name gets that extension.
#pragma once
#include <string>
#include <string_view>

namespace quillo {

struct SaveFormat {
  bool depths[4];        // 2 colours, 16 colours, 256 colours, true colour
  const char* extension;
  const char* name;
  const char* pattern;
};

constexpr int kSaveFormatCount = 9;
const SaveFormat& SaveFormatAt(int index);  // index clamped to the table

// The radio buttons' bit depths: 1, 4, 8, 24.
constexpr int kSaveDepthBits[4] = {1, 4, 8, 24};

// The bit depth for radio button `choice` (0-3) of format `format`, or 0
// when that format cannot hold it.
int SaveDepth(int format, int choice);

// The file name with its extension (after the last dot behind the last
// backslash) replaced by the format's; an empty name stays empty.
std::string SaveTargetPath(std::string_view fileName, int format);

}  // namespace quillo
