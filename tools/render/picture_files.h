// Reading the picture to animate from a PNG, JPEG or PNM/PPM file (told
// apart by their first bytes, whatever the name says) and writing frames
// as PNG files. Files come from users: every failure is an error message,
// never a crash, and no picture beyond the size limits is allocated.
#pragma once
#include <string>

#include "tools/render/effects/picture.h"

namespace quillo::render {

bool ReadPicture(const std::string& path, Picture& out, std::string& error);

// Writes `picture` as an 8-bit RGB PNG; an existing file at `path` is
// replaced only by a complete one.
bool WritePng(const std::string& path, const Picture& picture, std::string& error);

}  // namespace quillo::render
