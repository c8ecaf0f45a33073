// The picture every kernel benchmark works on: the binary PPM named by
// QUILLO_BENCH_PPM (any size), or else a deterministic photo-like 4000 x
// 3000 picture (smooth gradients and blobs with a little noise), as a
// bottom-up blue-green-red picture with a target of the same size.
#pragma once
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "imaging/basics/pixel_pass.h"

namespace quillo::bench {

struct Picture {
  int width = 0, height = 0, stride = 0;
  std::vector<uint8_t> source, target;  // bottom-up blue, green, red rows
};

inline bool ReadPpmToken(FILE* f, int* value) {
  int c = std::fgetc(f);
  while (c == '#' || std::isspace(c)) {
    if (c == '#')
      while (c != '\n' && c != EOF) c = std::fgetc(f);
    c = std::fgetc(f);
  }
  if (c < '0' || c > '9') return false;
  int v = 0;
  while (c >= '0' && c <= '9' && v < 100000) {
    v = v * 10 + (c - '0');
    c = std::fgetc(f);
  }
  *value = v;
  return true;
}

// Binary PPM (P6, maxval 255), top-down RGB, into a bottom-up BGR picture.
inline bool LoadPpm(const char* path, Picture* pic) {
  FILE* f = std::fopen(path, "rb");
  if (!f) return false;
  int w = 0, h = 0, maxval = 0;
  char magic[2] = {0, 0};
  bool ok = std::fread(magic, 1, 2, f) == 2 && magic[0] == 'P' && magic[1] == '6' &&
            ReadPpmToken(f, &w) && ReadPpmToken(f, &h) && ReadPpmToken(f, &maxval) &&
            maxval == 255 && w > 0 && h > 0 && w <= 20000 && h <= 20000;
  if (ok) {
    pic->width = w, pic->height = h, pic->stride = ((w * 24 + 31) / 32) * 4;
    pic->source.assign(size_t(pic->stride) * h, 0);
    std::vector<uint8_t> row(size_t(w) * 3);
    for (int y = 0; y < h && ok; ++y) {
      ok = std::fread(row.data(), 1, row.size(), f) == row.size();
      uint8_t* dst = pic->source.data() + size_t(h - 1 - y) * pic->stride;
      for (int x = 0; x < w; ++x) {
        dst[x * 3] = row[x * 3 + 2], dst[x * 3 + 1] = row[x * 3 + 1], dst[x * 3 + 2] = row[x * 3];
      }
    }
  }
  std::fclose(f);
  return ok;
}

inline void MakeSyntheticPicture(Picture* pic) {
  const int w = 4000, h = 3000;
  pic->width = w, pic->height = h, pic->stride = ((w * 24 + 31) / 32) * 4;
  pic->source.assign(size_t(pic->stride) * h, 0);
  uint32_t seed = 12345;
  for (int y = 0; y < h; ++y) {
    uint8_t* row = pic->source.data() + size_t(y) * pic->stride;
    for (int x = 0; x < w; ++x) {
      const double u = double(x) / w, v = double(y) / h;
      const double blob = std::sin(u * 9.0) * std::cos(v * 7.0);
      const double base[3] = {90 + 80 * v + 40 * blob, 110 + 70 * u * v + 50 * std::sin(u * 23.0),
                              140 - 60 * u + 45 * blob};
      for (int k = 0; k < 3; ++k) {
        seed = seed * 214013u + 2531011u;
        const int noise = int((seed >> 16) & 15) - 8;
        const int value = int(base[k]) + noise;
        row[x * 3 + k] = uint8_t(value < 0 ? 0 : (value > 255 ? 255 : value));
      }
    }
  }
}

inline Picture& BenchPicture() {
  static Picture pic = [] {
    Picture p;
    const char* path = std::getenv("QUILLO_BENCH_PPM");
    if (!path || !LoadPpm(path, &p)) {
      if (path) std::fprintf(stderr, "cannot read %s, using a synthetic picture\n", path);
      MakeSyntheticPicture(&p);
    }
    p.target.assign(p.source.size(), 0);
    return p;
  }();
  return pic;
}

// A whole-picture pass from the picture's source into its target.
inline PixelPass FullPass(Picture& pic) {
  PixelPass pass;
  pass.source = pic.source.data();
  pass.target = pic.target.data();
  pass.width = pic.width, pass.height = pic.height, pass.stride = pic.stride;
  pass.colEnd = pic.width, pass.rowEnd = pic.height;
  return pass;
}

}  // namespace quillo::bench
