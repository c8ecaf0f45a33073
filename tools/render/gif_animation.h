// Animated GIF89a files: a logical screen of the frames' size, a looping
// application extension, and each frame a full image with its own colour
// table chosen for it by the DIB services' quantiser (at most 256 colours,
// median-cut boxes refined by k-means, no dithering), coded with the codec
// library's LZW encoder.
#pragma once
#include <cstdio>
#include <string>

#include "tools/render/effects/picture.h"

namespace quillo::render {

class GifAnimationWriter {
 public:
  // Writes the header for width x height frames (1 .. 65535 each) to
  // `stream`, looping forever. False with `error` set.
  bool Begin(std::FILE* stream, int width, int height, std::string& error);
  // Adds `frame` (of the size given to Begin), shown for `delay` hundredths
  // of a second, reduced to at most `maxColours` (2 .. 256) colours.
  bool AddFrame(const Picture& frame, int delay, int maxColours, std::string& error);
  // Writes the trailer.
  bool Finish(std::string& error);

 private:
  bool Put(const void* bytes, size_t count);
  std::FILE* stream_ = nullptr;
  int width_ = 0, height_ = 0;
};

}  // namespace quillo::render
