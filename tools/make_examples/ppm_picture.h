// The example pictures' files: the effects' 24-bit pictures read from and
// written to binary PPM files (P6, maximum value 255), the format
// ImageMagick converts to and from.
#pragma once
#include <string>

#include "tools/render/effects/picture.h"

namespace quillo::examples {

using render::MakePicture;
using render::Picture;

// False (with `error` set) for anything but a sound P6 file with maximum
// value 255 whose pixel data is all there.
bool ReadPpm(const std::string& path, Picture& out, std::string& error);
bool WritePpm(const std::string& path, const Picture& picture);

}  // namespace quillo::examples
