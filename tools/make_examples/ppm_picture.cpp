#include "ppm_picture.h"

#include <cctype>
#include <cstdio>
#include <memory>

namespace quillo::examples {

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// One header number, after white space and "#" comments.
bool ReadHeaderNumber(std::FILE* f, int& value) {
  int c = std::fgetc(f);
  for (;;) {
    if (c == '#') {
      while (c != EOF && c != '\n') c = std::fgetc(f);
    } else if (c != EOF && std::isspace(c)) {
      c = std::fgetc(f);
    } else {
      break;
    }
  }
  if (c == EOF || !std::isdigit(c)) return false;
  long long v = 0;
  while (c != EOF && std::isdigit(c)) {
    v = v * 10 + (c - '0');
    if (v > 1000000) return false;
    c = std::fgetc(f);
  }
  // Exactly one white-space byte ends the number (the last one before the
  // pixel data matters).
  if (c == EOF || !std::isspace(c)) return false;
  value = int(v);
  return true;
}

}  // namespace

bool ReadPpm(const std::string& path, Picture& out, std::string& error) {
  File f(std::fopen(path.c_str(), "rb"));
  if (!f) {
    error = "cannot open " + path;
    return false;
  }
  int width = 0, height = 0, maxValue = 0;
  if (std::fgetc(f.get()) != 'P' || std::fgetc(f.get()) != '6' || !ReadHeaderNumber(f.get(), width) ||
      !ReadHeaderNumber(f.get(), height) || !ReadHeaderNumber(f.get(), maxValue) || maxValue != 255) {
    error = path + " is not an 8-bit binary PPM";
    return false;
  }
  if (!MakePicture(width, height, out)) {
    error = path + " has an unusable size";
    return false;
  }
  std::vector<uint8_t> row(size_t(width) * 3);
  for (int y = 0; y < height; ++y) {
    if (std::fread(row.data(), 1, row.size(), f.get()) != row.size()) {
      error = path + " ends early";
      return false;
    }
    uint8_t* target = out.pixels.data() + size_t(height - 1 - y) * size_t(out.stride);
    for (int x = 0; x < width; ++x) {
      target[x * 3 + 0] = row[size_t(x) * 3 + 2];
      target[x * 3 + 1] = row[size_t(x) * 3 + 1];
      target[x * 3 + 2] = row[size_t(x) * 3 + 0];
    }
  }
  return true;
}

bool WritePpm(const std::string& path, const Picture& picture) {
  File f(std::fopen(path.c_str(), "wb"));
  if (!f) return false;
  bool ok = std::fprintf(f.get(), "P6\n%d %d\n255\n", picture.width, picture.height) > 0;
  std::vector<uint8_t> row(size_t(picture.width) * 3);
  for (int y = 0; ok && y < picture.height; ++y) {
    const uint8_t* source = picture.pixels.data() + size_t(picture.height - 1 - y) * size_t(picture.stride);
    for (int x = 0; x < picture.width; ++x) {
      row[size_t(x) * 3 + 0] = source[x * 3 + 2];
      row[size_t(x) * 3 + 1] = source[x * 3 + 1];
      row[size_t(x) * 3 + 2] = source[x * 3 + 0];
    }
    ok = std::fwrite(row.data(), 1, row.size(), f.get()) == row.size();
  }
  return std::fclose(f.release()) == 0 && ok;
}

}  // namespace quillo::examples
