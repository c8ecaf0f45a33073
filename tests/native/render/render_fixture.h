// Runs quillo-render in-process in a scratch folder of its own and keeps
// what it printed, so a test sees the exit status, the messages and the
// files.
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tools/render/effects/picture.h"
#include "tools/render/picture_files.h"
#include "tools/render/render_command.h"

class RenderTool : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "quillo-render-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

  // Exit status of the command; its messages go to out_ and err_.
  int Run(std::vector<std::string> args) {
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    const int status = quillo::render::RunRenderCommand(args, out, err);
    out_ = Contents(out);
    err_ = Contents(err);
    return status;
  }

  // A width x height picture of smooth colour ramps, written as a PNG.
  std::string PatternPng(const std::string& name, int width, int height) {
    quillo::render::Picture p = Pattern(width, height);
    std::string error;
    EXPECT_TRUE(quillo::render::WritePng(Path(name), p, error)) << error;
    return Path(name);
  }

  static quillo::render::Picture Pattern(int width, int height) {
    quillo::render::Picture p;
    quillo::render::MakePicture(width, height, p);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        uint8_t* px = p.Row(y) + 3 * x;
        px[0] = uint8_t(x * 255 / width);
        px[1] = uint8_t(y * 255 / height);
        px[2] = uint8_t((x + y) * 4);
      }
    return p;
  }

  static std::vector<uint8_t> Bytes(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), {});
  }
  static void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  }

  std::filesystem::path dir_;
  std::string out_, err_;

 private:
  static std::string Contents(std::FILE* f) {
    std::string text;
    std::rewind(f);
    char buffer[512];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
    std::fclose(f);
    return text;
  }
};
