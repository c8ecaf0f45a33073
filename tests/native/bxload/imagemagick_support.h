// Running ImageMagick from the cross-check tests: the program, a scratch
// folder per test with a small source picture, and reading files back.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>
#ifndef _WIN32
#include <unistd.h>
#endif

namespace quillo::test {

namespace fs = std::filesystem;

inline constexpr char kConvert[] = "/usr/bin/convert";

inline std::vector<uint8_t> Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline bool Convert(const std::string& arguments) {
  const std::string command = std::string(kConvert) + " " + arguments + " 2>/dev/null";
  return std::system(command.c_str()) == 0;
}

// A scratch folder holding "source.png", a corpus photo scaled to 61 x 37
// (odd sizes exercise row padding). Skipped on Windows and without
// ImageMagick.
class ImageMagickFixture : public ::testing::Test {
 protected:
  void SetUp() override {
#ifdef _WIN32
    GTEST_SKIP() << "ImageMagick is checked in the native build";
#else
    if (!fs::exists(kConvert)) GTEST_SKIP() << "ImageMagick is not installed";
    dir_ = fs::temp_directory_path() / ("quillo_imagemagick_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
    source_ = dir_ / "source.png";
    const fs::path photo = fs::path(QUILLO_CORPUS_DIR) / "photos" / "chelsea.png";
    const std::string input = fs::exists(photo) ? photo.string() : "gradient:red-blue";
    ASSERT_TRUE(Convert("'" + input + "' -resize '61x37!' -depth 8 '" + source_.string() + "'"));
#endif
  }
  void TearDown() override {
    if (!dir_.empty()) fs::remove_all(dir_);
  }
  fs::path dir_, source_;
};

}  // namespace quillo::test
