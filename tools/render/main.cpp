// quillo-render: plays an effect over a picture from the command line (see
// render_command.h and the README).
#include <cstdio>
#include <string>
#include <vector>

#include "tools/render/render_command.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  return quillo::render::RunRenderCommand(args, stdout, stderr);
}
