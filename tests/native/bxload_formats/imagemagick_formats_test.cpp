// Cross-check with ImageMagick: any-maps, targa files and wireless bitmaps it
// writes read with the pixels of its own PPM dump, and targa files we write
// read back in ImageMagick with ours.
#include <gtest/gtest.h>

#include "tests/native/bxload/imagemagick_support.h"

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#ifndef _WIN32
#include <unistd.h>
#endif

#include "formats_helpers.h"
#include "outside/bxload/pnm_codec.h"
#include "outside/bxload/tga_codec.h"
#include "outside/bxload/wbmp_codec.h"

namespace quillo::bxload {
namespace {

namespace fs = std::filesystem;
using ::quillo::test::Convert;
using ::quillo::test::kConvert;
using ::quillo::test::Slurp;
using V = std::vector<uint8_t>;
// Our reading of any of the three formats, by file name ending.
std::vector<uint8_t> ReadOurs(const fs::path& path, std::string& error) {
  const V file = Slurp(path);
  const std::string ext = path.extension().string();
  if (ext == ".tga") {
    TgaImage image = ReadTga(file.data(), file.size());
    error = image.error;
    return image.dib;
  }
  if (ext == ".wbmp") {
    WbmpImage image = ReadWbmp(file.data(), file.size());
    error = image.error;
    return image.dib;
  }
  PnmImage image = ReadPnm(file.data(), file.size());
  error = image.error;
  return image.dib;
}

class ImageMagickFormats : public ::quillo::test::ImageMagickFixture {
 protected:
  // Its plain PPM dump of `file`, red, green, blue top-down. Sixteen-bit
  // files are dumped with 16-bit samples (its own reduction to 8 bits
  // truncates where ours rounds). Its targa reader keeps rows in file order
  // and only records the origin, so the dump is oriented explicitly.
  V TheirRgb(const fs::path& file, int depth = 8) {
    const fs::path ppm = dir_ / (file.stem().string() + "_dump.ppm");
    EXPECT_TRUE(Convert("'" + file.string() + "' -auto-orient -depth " + std::to_string(depth) +
                        " -compress none 'ppm:" + ppm.string() + "'"));
    // Read through our own plain pixmap reader, which the hand-built tests cover.
    std::string error;
    const V dib = ReadOurs(ppm, error);
    EXPECT_TRUE(error.empty()) << error;
    return test::Rgb(dib);
  }
};

TEST_F(ImageMagickFormats, ItsFilesReadWithItsPixels) {
  struct Case { const char* name; const char* options; int bits; };
  const Case cases[] = {
      {"p6.ppm", "-depth 8", 24},
      {"p6w.ppm", "-depth 16", 24},
      {"p3.ppm", "-depth 8 -compress none", 24},
      {"p5.pgm", "-colorspace Gray -depth 8", 8},
      {"p5w.pgm", "-colorspace Gray -depth 16", 8},
      {"p2.pgm", "-colorspace Gray -depth 8 -compress none", 8},
      {"p4.pbm", "-monochrome", 1},
      {"p1.pbm", "-monochrome -compress none", 1},
      {"t24.tga", "-type TrueColor -compress None", 24},
      {"t24rle.tga", "-type TrueColor -compress RLE", 24},
      {"t32.tga", "-alpha on -type TrueColorAlpha -compress None", 24},
      {"tpal.tga", "-colors 60 -type Palette -compress None", 8},
      {"tpalrle.tga", "-colors 60 -type Palette -compress RLE", 8},
      {"tgrey.tga", "-colorspace Gray -type Grayscale -compress None", 8},
      {"tgreyrle.tga", "-colorspace Gray -type Grayscale -compress RLE", 8},
      {"w.wbmp", "-monochrome", 1},
  };
  for (const Case& c : cases) {
    const fs::path file = dir_ / c.name;
    ASSERT_TRUE(Convert("'" + source_.string() + "' " + c.options + " '" + file.string() + "'")) << c.name;
    std::string error;
    const V ours = ReadOurs(file, error);
    ASSERT_TRUE(error.empty()) << c.name << ": " << error;
    EXPECT_EQ(test::BitsOf(ours), c.bits) << c.name;
    int w = 0, h = 0;
    const V rgb = test::Rgb(ours, &w, &h);
    EXPECT_EQ(w, 61) << c.name;
    EXPECT_EQ(h, 37) << c.name;
    const bool wide = std::string(c.options).find("-depth 16") != std::string::npos;
    EXPECT_EQ(rgb, TheirRgb(file, wide ? 16 : 8)) << c.name;
  }
}

TEST_F(ImageMagickFormats, OurFilesReadWithOurPixels) {
  const fs::path ppm = dir_ / "in.ppm";
  ASSERT_TRUE(Convert("'" + source_.string() + "' -depth 8 '" + ppm.string() + "'"));
  std::string error;
  const V photo = ReadOurs(ppm, error);
  ASSERT_TRUE(error.empty()) << error;
  const DibView view = test::View(photo);
  // An 8-bit picture: the photo's green channel as indices into a tinted ramp.
  V dib8 = NewDib(view.width, view.height, 8);
  DibColour* table = DibTable(dib8);
  for (int i = 0; i < 256; ++i) table[i] = {uint8_t(i), uint8_t(255 - i), uint8_t(i / 2), 0};
  const DibView v8 = test::View(dib8);
  uint8_t* bits = dib8.data() + DibBitsOffset(dib8);
  for (int y = 0; y < view.height; ++y)
    for (int x = 0; x < view.width; ++x) bits[v8.stride * (view.height - 1 - y) + x] = view.Row(y)[3 * x + 1];
  // A 1-bit picture for the wireless bitmap writer.
  V dib1 = NewDib(view.width, view.height, 1);
  DibTable(dib1)[1] = {255, 255, 255, 0};
  const DibView v1 = test::View(dib1);
  uint8_t* bits1 = dib1.data() + DibBitsOffset(dib1);
  for (int y = 0; y < view.height; ++y)
    for (int x = 0; x < view.width; ++x)
      if (view.Row(y)[3 * x + 1] >= 128) bits1[v1.stride * (view.height - 1 - y) + x / 8] |= uint8_t(0x80 >> (x % 8));

  struct Out { const char* name; const V* dib; bool tga; };
  const Out outs[] = {{"o24.tga", &photo, true}, {"o8.tga", &dib8, true}, {"o1.wbmp", &dib1, false}};
  for (const Out& o : outs) {
    const DibView v = test::View(*o.dib);
    const V file = o.tga ? WriteTga(v, error) : WriteWbmp(v, error);
    ASSERT_FALSE(file.empty()) << error;
    const fs::path path = dir_ / o.name;
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
    EXPECT_EQ(TheirRgb(path), test::Rgb(*o.dib)) << o.name;
  }
}

}  // namespace
}  // namespace quillo::bxload
