// Times LoadDIB and SaveDIB of the real BXLoad.DLL (JPEG and PNG go through
// WIC) on the pictures named on the command line; used by
// bench/codecs/compare_imagemagick.sh under Wine. Prints one line per
// operation: "<operation> <file> <best milliseconds of the runs>".
//   bxload_speed.exe runs picture.jpg picture.png ...
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "contracts/image_codecs.h"

namespace {

double Now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return double(t.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: bxload_speed runs picture...\n");
    return 2;
  }
  const auto load = LoadDIB;
  const auto save = SaveDIB;
  const int runs = std::atoi(argv[1]) > 0 ? std::atoi(argv[1]) : 1;
  for (int i = 2; i < argc; ++i) {
    const std::string path = argv[i];
    const std::string copy = path.substr(0, path.find_last_of('.')) + "_saved" + path.substr(path.find_last_of('.'));
    double bestLoad = 1e30, bestSave = 1e30;
    for (int r = 0; r < runs; ++r) {
      double t = Now();
      HGLOBAL dib = load(path.c_str());
      const double loaded = Now() - t;
      if (!dib) {
        std::fprintf(stderr, "cannot load %s\n", path.c_str());
        return 1;
      }
      t = Now();
      const BOOL saved = save(dib, copy.c_str());
      const double wrote = Now() - t;
      GlobalFree(dib);
      if (!saved) {
        std::fprintf(stderr, "cannot save %s\n", copy.c_str());
        return 1;
      }
      bestLoad = loaded < bestLoad ? loaded : bestLoad;
      bestSave = wrote < bestSave ? wrote : bestSave;
    }
    std::printf("load %s %.1f\nsave %s %.1f\n", path.c_str(), bestLoad, path.c_str(), bestSave);
  }
  return 0;
}
