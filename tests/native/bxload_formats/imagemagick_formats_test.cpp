// Cross-check with ImageMagick: any-maps, targa, wireless bitmap, PCX, GIF,
// XBM and XPM files it writes read with the pixels of its own PPM dump, and
// targa, wireless bitmap, PCX, GIF and WPG files we write read back in
// ImageMagick with ours. It cannot write WPG, brushes or patterns (those
// readers are checked against hand-built bytes in their own tests).
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
#include "outside/bxload/gif_codec.h"
#include "outside/bxload/pcx_codec.h"
#include "outside/bxload/pnm_codec.h"
#include "outside/bxload/tga_codec.h"
#include "outside/bxload/wbmp_codec.h"
#include "outside/bxload/wpg_codec.h"
#include "outside/bxload/xbm_codec.h"
#include "outside/bxload/xpm_codec.h"

namespace quillo::bxload {
namespace {

namespace fs = std::filesystem;
using ::quillo::test::Convert;
using ::quillo::test::kConvert;
using ::quillo::test::Slurp;
using V = std::vector<uint8_t>;
template <class Image>
V Take(Image image, std::string& error) {
  error = image.error;
  return image.dib;
}

// Our reading of a file, by file name ending.
std::vector<uint8_t> ReadOurs(const fs::path& path, std::string& error) {
  const V file = Slurp(path);
  const std::string ext = path.extension().string();
  if (ext == ".pcx") return Take(ReadPcx(file.data(), file.size()), error);
  if (ext == ".gif") return Take(ReadGif(file.data(), file.size()), error);
  if (ext == ".xbm") return Take(ReadXbm(file.data(), file.size()), error);
  if (ext == ".xpm") return Take(ReadXpm(file.data(), file.size()), error);
  if (ext == ".wpg") return Take(ReadWpg(file.data(), file.size()), error);
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
      // It writes paletted PCX files as one 8-bit plane, everything else as three planes.
      {"p24.pcx", "-type TrueColor", 24},
      {"p8.pcx", "-colors 60 -type Palette", 8},
      {"p16.pcx", "-colors 16 -type Palette", 8},
      {"g8.gif", "-colors 200", 8},
      {"g4.gif", "-colors 16", 4},
      {"g1.gif", "-monochrome", 1},
      {"gi.gif", "-colors 64 -interlace GIF", 8},
      {"x.xbm", "-monochrome", 1},
      {"x8.xpm", "-colors 40", 8},
      {"x4.xpm", "-colors 5", 4},
      // It reduces every XPM it writes to 256 colours at most; the true-colour
      // reading of more colours is checked with hand-built text.
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

  // A 4-bit picture: the photo's red channel in 16 steps over a coloured table.
  V dib4 = NewDib(view.width, view.height, 4);
  for (int i = 0; i < 16; ++i) DibTable(dib4)[i] = {uint8_t(i * 16), uint8_t(200 - i * 9), uint8_t(i * 5 + 40), 0};
  const DibView v4 = test::View(dib4);
  uint8_t* bits4 = dib4.data() + DibBitsOffset(dib4);
  for (int y = 0; y < view.height; ++y)
    for (int x = 0; x < view.width; ++x) {
      const int index = view.Row(y)[3 * x + 2] >> 4;
      bits4[v4.stride * (view.height - 1 - y) + x / 2] |= uint8_t((x & 1) ? index : index << 4);
    }

  using Writer = std::vector<uint8_t> (*)(const DibView&, std::string&);
  struct Out { const char* name; const V* dib; Writer writer; };
  const Out outs[] = {{"o24.tga", &photo, WriteTga}, {"o8.tga", &dib8, WriteTga}, {"o1.wbmp", &dib1, WriteWbmp},
                      {"o24.pcx", &photo, WritePcx}, {"o8.pcx", &dib8, WritePcx}, {"o4.pcx", &dib4, WritePcx},
                      {"o1.pcx", &dib1, WritePcx},   {"o8.gif", &dib8, WriteGif}, {"o4.gif", &dib4, WriteGif},
                      {"o1.gif", &dib1, WriteGif},   {"o8.wpg", &dib8, WriteWpg}, {"o4.wpg", &dib4, WriteWpg},
                      {"o1.wpg", &dib1, WriteWpg}};
  for (const Out& o : outs) {
    const DibView v = test::View(*o.dib);
    const V file = o.writer(v, error);
    ASSERT_FALSE(file.empty()) << error;
    const fs::path path = dir_ / o.name;
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
    V expected = test::Rgb(*o.dib);
    // ImageMagick takes a set bit of a 1-bit PCX as black whatever the header
    // palette says; the usual reading (ours, and the palette we write) is
    // white. Its dump is therefore the inverse; the bit order still has to match.
    if (std::string(o.name) == "o1.pcx")
      for (uint8_t& v : expected) v = uint8_t(255 - v);
    EXPECT_EQ(TheirRgb(path), expected) << o.name;
  }
}

}  // namespace
}  // namespace quillo::bxload
