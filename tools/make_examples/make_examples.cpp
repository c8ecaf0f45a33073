// make_examples <sample.ppm> <folder>
// Writes "<folder>/<example file>.ppm" for every row of the example table:
// the row's effect played on the sample. The build converts each to the
// picture format its name asks for.
#include <cstdio>
#include <string>

#include "example_table.h"
#include "ppm_picture.h"

using namespace quillo::examples;

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_examples <sample.ppm> <folder>\n");
    return 2;
  }
  Picture sample;
  std::string error;
  if (!ReadPpm(argv[1], sample, error)) {
    std::fprintf(stderr, "make_examples: %s\n", error.c_str());
    return 1;
  }
  for (const ExampleRow& row : ExampleTable()) {
    Picture result;
    if (!RenderExample(row.run, sample, result, error)) {
      std::fprintf(stderr, "make_examples: %s: %s\n", row.exampleFile, error.c_str());
      return 1;
    }
    const std::string path = std::string(argv[2]) + "/" + row.exampleFile + ".ppm";
    if (!WritePpm(path, result)) {
      std::fprintf(stderr, "make_examples: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
