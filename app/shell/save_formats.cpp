#include "save_formats.h"

#include "dump_paths.h"

namespace quillo {

namespace {

constexpr SaveFormat kFormats[kSaveFormatCount] = {
    {{false, false, false, true}, "jpg", "JPEG File", "*.jpg"},
    {{true, true, true, true}, "bmp", "Bitmap File", "*.bmp"},
    {{true, true, true, true}, "png", "PNG File", "*.png"},
    {{true, true, true, true}, "pcx", "PCX File", "*.pcx"},
    {{false, false, true, true}, "tif", "TIF File", "*.tif"},
    {{true, true, true, true}, "tga", "TGA File", "*.tga"},
    {{true, true, true, false}, "wpg", "WPG File", "*.wpg"},
    {{true, false, false, false}, "WBMP", "WBMP File", "*.wbmp"},
    {{true, true, true, false}, "gif", "GIF File", "*.gif"},
};

}  // namespace

const SaveFormat& SaveFormatAt(int index) {
  if (index < 0) index = 0;
  if (index >= kSaveFormatCount) index = kSaveFormatCount - 1;
  return kFormats[index];
}

int SaveDepth(int format, int choice) {
  if (format < 0 || format >= kSaveFormatCount || choice < 0 || choice > 3) return 0;
  return kFormats[format].depths[choice] ? kSaveDepthBits[choice] : 0;
}

std::string SaveTargetPath(std::string_view fileName, int format) {
  if (fileName.empty()) return {};
  return ReplaceExtension(fileName, SaveFormatAt(format).extension);
}

}  // namespace quillo
