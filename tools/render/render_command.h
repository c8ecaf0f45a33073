// The quillo-render command: reads a picture, plays one effect of the
// effect table over it with the options given, and writes the frames as
// numbered PNG files and/or an animated GIF. Same arguments, same picture
// and same seed give the same bytes.
//
// Exit status: 0 done, 1 a file could not be read or written or the effect
// refused the picture, 2 the arguments were wrong (with a message).
#pragma once
#include <cstdio>
#include <span>
#include <string>

namespace quillo::render {

int RunRenderCommand(std::span<const std::string> args, std::FILE* out, std::FILE* err);

}  // namespace quillo::render
