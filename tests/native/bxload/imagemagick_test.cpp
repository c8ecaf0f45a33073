// Cross-check with ImageMagick: BMPs it writes read with its own pixels, and
// BMPs we write read back in ImageMagick with ours.
#include <gtest/gtest.h>

#include "tests/native/bxload/imagemagick_support.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#ifndef _WIN32
#include <unistd.h>
#endif

#include "outside/bxload/bmp_reader.h"
#include "outside/bxload/bmp_writer.h"

namespace quillo::bxload {
namespace {

namespace fs = std::filesystem;
using test::Convert;
using test::kConvert;
using test::Slurp;
// Pixels of a binary PPM (P6, maximum 255) as red, green, blue bytes.
bool ReadPpm(const fs::path& path, int& width, int& height, std::vector<uint8_t>& rgb) {
  const std::vector<uint8_t> bytes = Slurp(path);
  size_t pos = 2;
  auto number = [&]() {
    while (pos < bytes.size() && (std::isspace(bytes[pos]) || bytes[pos] == '#')) {
      if (bytes[pos] == '#')
        while (pos < bytes.size() && bytes[pos] != '\n') ++pos;
      else
        ++pos;
    }
    long v = 0;
    while (pos < bytes.size() && std::isdigit(bytes[pos])) v = v * 10 + (bytes[pos++] - '0');
    return v;
  };
  if (bytes.size() < 2 || bytes[0] != 'P' || bytes[1] != '6') return false;
  width = int(number());
  height = int(number());
  if (number() != 255) return false;
  ++pos;
  const size_t need = size_t(width) * size_t(height) * 3;
  if (bytes.size() - pos < need) return false;
  rgb.assign(bytes.begin() + long(pos), bytes.begin() + long(pos + need));
  return true;
}

// The 24-bit expansion of our reading, as red, green, blue bytes top-down.
std::vector<uint8_t> OurRgb(const std::vector<uint8_t>& dib) {
  DibView view;
  std::string error;
  EXPECT_TRUE(ParseDib(dib.data(), dib.size(), view, error)) << error;
  const std::vector<uint8_t> bgr = ToBgr24(view);
  DibView v24;
  ParseDib(bgr.data(), bgr.size(), v24, error);
  std::vector<uint8_t> rgb;
  for (int y = 0; y < v24.height; ++y)
    for (int x = 0; x < v24.width; ++x) {
      const uint8_t* p = v24.Row(y) + 3 * x;
      rgb.insert(rgb.end(), {p[2], p[1], p[0]});
    }
  return rgb;
}

using ImageMagick = test::ImageMagickFixture;

TEST_F(ImageMagick, ItsBmpsReadWithItsPixels) {
  struct Case { const char* name; const char* options; int bits; uint32_t compression; };
  const Case cases[] = {
      {"d1", "-colors 2 -type Palette", 1, 0},      {"d4", "-colors 16 -type Palette", 4, 0},
      {"d8", "-colors 200 -type Palette -compress None", 8, 0},    {"d24", "-type TrueColor", 24, 0},
      {"rle8", "-colors 200 -type Palette -compress RLE", 8, 1},
  };
  for (const Case& c : cases) {
    const fs::path bmp = dir_ / (std::string(c.name) + ".bmp");
    const fs::path ppm = dir_ / (std::string(c.name) + ".ppm");
    ASSERT_TRUE(Convert("'" + source_.string() + "' " + c.options + " 'bmp3:" + bmp.string() + "'"));
    ASSERT_TRUE(Convert("'" + bmp.string() + "' -depth 8 '" + ppm.string() + "'"));
    const std::vector<uint8_t> file = Slurp(bmp);
    ASSERT_GT(file.size(), 54u);
    EXPECT_EQ(file[28], c.bits) << c.name;
    EXPECT_EQ(file[30], c.compression) << c.name;
    BmpImage ours = ReadBmp(file.data(), file.size());
    ASSERT_TRUE(ours.error.empty()) << c.name << ": " << ours.error;
    int w = 0, h = 0;
    std::vector<uint8_t> theirs;
    ASSERT_TRUE(ReadPpm(ppm, w, h, theirs));
    EXPECT_EQ(w, 61);
    EXPECT_EQ(h, 37);
    EXPECT_EQ(OurRgb(ours.dib), theirs) << c.name;
  }
}

TEST_F(ImageMagick, OurBmpsReadWithOurPixels) {
  const fs::path d24 = dir_ / "in24.bmp";
  ASSERT_TRUE(Convert("'" + source_.string() + "' -type TrueColor 'bmp3:" + d24.string() + "'"));
  const std::vector<uint8_t> file24 = Slurp(d24);
  const BmpImage photo = ReadBmp(file24.data(), file24.size());
  ASSERT_TRUE(photo.error.empty());
  DibView view;
  std::string error;
  ASSERT_TRUE(ParseDib(photo.dib.data(), photo.dib.size(), view, error));
  for (int bits : {1, 4, 8, 24}) {
    // A paletted picture: the photo's blue channel cut to the depth's range.
    std::vector<uint8_t> dib = bits == 24 ? photo.dib : NewDib(view.width, view.height, bits);
    if (bits <= 8) {
      DibColour* table = DibTable(dib);
      const int n = 1 << bits;
      for (int i = 0; i < n; ++i) table[i] = {uint8_t(i * 255 / (n - 1)), uint8_t(i * 37), uint8_t(255 - i), 0};
      uint8_t* rows = dib.data() + DibBitsOffset(dib);
      const int64_t stride = DibStride(view.width, bits);
      for (int y = 0; y < view.height; ++y)
        for (int x = 0; x < view.width; ++x) {
          const int v = view.Row(y)[3 * x] >> (8 - bits);
          uint8_t* row = rows + stride * (view.height - 1 - y);
          if (bits == 1) row[x / 8] |= uint8_t(v << (7 - x % 8));
          else if (bits == 4) row[x / 2] |= uint8_t((x & 1) ? v : v << 4);
          else row[x] = uint8_t(v);
        }
    }
    DibView ours;
    ASSERT_TRUE(ParseDib(dib.data(), dib.size(), ours, error));
    const std::vector<uint8_t> file = WriteBmp(ours, error);
    const fs::path bmp = dir_ / ("ours" + std::to_string(bits) + ".bmp");
    const fs::path ppm = dir_ / ("ours" + std::to_string(bits) + ".ppm");
    std::ofstream(bmp, std::ios::binary).write(reinterpret_cast<const char*>(file.data()), long(file.size()));
    ASSERT_TRUE(Convert("'" + bmp.string() + "' -depth 8 '" + ppm.string() + "'"));
    int w = 0, h = 0;
    std::vector<uint8_t> theirs;
    ASSERT_TRUE(ReadPpm(ppm, w, h, theirs));
    EXPECT_EQ(OurRgb(dib), theirs) << bits;
  }
}

}  // namespace
}  // namespace quillo::bxload
