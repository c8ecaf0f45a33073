// What the tool writes: the same arguments give the same bytes, the GIF
// decodes with the studio's own GIF decoder into the frames the PNG files
// hold (palette-reduced, so close rather than equal), and still effects
// write one picture.
#include <cmath>

#include "gifanim/gif_decode.h"
#include "plugins/bxcomm1/kernels/gamma.h"
#include "render_fixture.h"

namespace {

using quillo::render::Picture;
using quillo::render::ReadPicture;

TEST_F(RenderTool, SameArgumentsAndSeedGiveTheSameBytes) {
  const std::string in = PatternPng("in.png", 72, 64);
  // Water and Dawa draw from the generator every frame; the lens places
  // itself at random.
  for (const char* effect : {"water", "dawa", "distort", "tunnel"}) {
    std::vector<std::vector<uint8_t>> runs;
    for (const char* name : {"a", "b"}) {
      const std::string gif = Path(std::string(effect) + name + ".gif");
      ASSERT_EQ(Run({effect, "--input", in, "--gif", gif, "--frames", "6", "--seed", "77", "--drop", "2,30,30",
                     "--png", Path(std::string(effect) + name + "-%02d.png")}),
                0)
          << err_;
      runs.push_back(Bytes(gif));
      for (int f = 1; f <= 6; ++f) {
        const std::vector<uint8_t> png = Bytes(Path(std::string(effect) + name + "-0" + std::to_string(f) + ".png"));
        runs.back().insert(runs.back().end(), png.begin(), png.end());
      }
    }
    EXPECT_EQ(runs[0], runs[1]) << effect;
  }
  // Another seed gives another rain.
  ASSERT_EQ(Run({"water", "--input", in, "--gif", Path("c.gif"), "--frames", "6", "--seed", "78"}), 0);
  ASSERT_EQ(Run({"water", "--input", in, "--gif", Path("d.gif"), "--frames", "6", "--seed", "77"}), 0);
  EXPECT_NE(Bytes(Path("c.gif")), Bytes(Path("d.gif")));
}

TEST_F(RenderTool, TheGifHoldsEveryWrittenFrameCloseToItsPng) {
  const std::string in = PatternPng("in.png", 50, 34);  // water widens it to 52
  ASSERT_EQ(Run({"water", "--input", in, "--frames", "5", "--skip", "3", "--delay", "7", "--gif", Path("w.gif"),
                 "--png", Path("w-%d.png"), "--flat-drops", "off", "--drop", "1,25,17"}),
            0)
      << err_;
  const std::vector<uint8_t> file = Bytes(Path("w.gif"));
  gifanim::GifImage gif;
  ASSERT_EQ(gifanim::DecodeGif(file.data(), file.size(), gif), gifanim::GifStatus::kOk);
  EXPECT_EQ(gif.screen_width, 52);
  EXPECT_EQ(gif.screen_height, 34);
  ASSERT_EQ(gif.frames.size(), 5u);
  for (size_t n = 0; n < gif.frames.size(); ++n) {
    const gifanim::GifFrame& f = gif.frames[n];
    EXPECT_EQ(f.width, 52);
    EXPECT_EQ(f.height, 34);
    EXPECT_EQ(f.delay_ms, 70);
    ASSERT_EQ(f.indices.size(), size_t(52 * 34));
    Picture png;
    std::string error;
    ASSERT_TRUE(ReadPicture(Path("w-" + std::to_string(n + 1) + ".png"), png, error)) << error;
    ASSERT_EQ(png.width, 52);
    double squared = 0;
    int worst = 0;
    for (int y = 0; y < 34; ++y)
      for (int x = 0; x < 52; ++x) {
        const uint8_t index = f.indices[size_t(y) * 52 + size_t(x)];
        ASSERT_LT(index, f.palette.size());
        const gifanim::Rgb c = f.palette[index];
        const uint8_t* p = png.Row(33 - y) + 3 * x;  // GIF rows run top-down
        for (const int d : {c.b - p[0], c.g - p[1], c.r - p[2]}) {
          squared += d * d;
          worst = std::max(worst, std::abs(d));
        }
      }
    EXPECT_LT(std::sqrt(squared / (52 * 34 * 3)), 6.0) << "frame " << n + 1;
    EXPECT_LT(worst, 48) << "frame " << n + 1;
  }
  // The skipped frames are not written: numbering starts at the first kept one.
  EXPECT_FALSE(std::filesystem::exists(Path("w-6.png")));
}

TEST_F(RenderTool, AStillEffectWritesOnePictureOfTheKernelsResult) {
  const std::string in = PatternPng("in.png", 21, 13);
  ASSERT_EQ(Run({"gamma", "--input", in, "--master", "200", "--frames", "9", "--png", Path("g-%d.png")}), 0) << err_;
  EXPECT_TRUE(std::filesystem::exists(Path("g-1.png")));
  EXPECT_FALSE(std::filesystem::exists(Path("g-2.png")));
  Picture source, result;
  std::string error;
  ASSERT_TRUE(ReadPicture(in, source, error));
  ASSERT_TRUE(ReadPicture(Path("g-1.png"), result, error));
  // Master 200 is exponent 2, every byte through the one table.
  const quillo::ByteTable table = quillo::GammaTable(quillo::GammaMasterExponent(200));
  for (int y = 0; y < 13; ++y)
    for (int i = 0; i < 21 * 3; ++i) EXPECT_EQ(result.Row(y)[i], table[source.Row(y)[i]]) << y << "," << i;
}

TEST_F(RenderTool, PpmAndResizedInputsArePlayedAtTheirSize) {
  const std::string header = "P6\n# made by hand\n3 2\n255\n";
  std::vector<uint8_t> ppm(header.begin(), header.end());
  for (int i = 0; i < 18; ++i) ppm.push_back(uint8_t(i * 14));
  WriteBytes(Path("in.ppm"), ppm);
  ASSERT_EQ(Run({"plane", "--input", Path("in.ppm"), "--size", "40x30", "--png", Path("p%d.png"), "--frames", "1"}),
            0)
      << err_;
  Picture out;
  std::string error;
  ASSERT_TRUE(ReadPicture(Path("p1.png"), out, error)) << error;
  EXPECT_EQ(out.width, 40);
  EXPECT_EQ(out.height, 30);
  // The PPM's top-left pixel (0, 14, 28 as red, green, blue) lands in the
  // top memory row.
  Picture small;
  ASSERT_TRUE(ReadPicture(Path("in.ppm"), small, error)) << error;
  EXPECT_EQ(small.Row(1)[0], 28);
  EXPECT_EQ(small.Row(1)[2], 0);
}

}  // namespace
