// The command line and the input picture: wrong arguments and damaged
// pictures end with a message and a non-zero status, never a crash, and
// leave the files already there alone.
#include "render_fixture.h"

namespace {

TEST_F(RenderTool, WrongArgumentsExitWithTwoAndSayWhy) {
  const std::string in = PatternPng("in.png", 32, 24);
  const std::string gif = Path("out.gif");
  struct Case {
    std::vector<std::string> args;
    const char* message;
  };
  const Case cases[] = {
      {{"tunnnel", "--input", in, "--gif", gif}, "unknown effect \"tunnnel\""},
      {{"--input", in, "--gif", gif}, "no effect named"},
      {{"tunnel", "water", "--input", in, "--gif", gif}, "one effect at a time"},
      {{"tunnel", "--input", in, "--gif", gif, "--frames", "12x"}, "bad value for --frames"},
      {{"tunnel", "--input", in, "--gif", gif, "--frames", "0"}, "bad value for --frames"},
      {{"tunnel", "--input", in, "--gif", gif, "--seed", "-1"}, "bad value for --seed"},
      {{"tunnel", "--input", in, "--gif", gif, "--colours", "257"}, "bad value for --colours"},
      {{"tunnel", "--input", in, "--gif", gif, "--size", "100"}, "bad value for --size"},
      {{"tunnel", "--input", in, "--gif", gif, "--cursor", "1,2,3"}, "bad value for --cursor"},
      {{"tunnel", "--input", in, "--gif", gif, "--drop", "3,10"}, "bad value for --drop"},
      {{"tunnel", "--input", in, "--gif", gif, "--frames"}, "--frames needs a value"},
      {{"tunnel", "--input", in, "--gif", gif, "--mode", "3"}, "--mode takes a whole number from 0 to 2"},
      {{"tunnel", "--input", in, "--gif", gif, "--mode", "1.5"}, "--mode takes a whole number"},
      {{"tunnel", "--input", in, "--gif", gif, "--seamless", "maybe"}, "--seamless takes on or off"},
      {{"tunnel", "--input", in, "--gif", gif, "--segments", "5"}, "tunnel: unknown option --segments"},
      {{"kale", "--input", in, "--gif", gif, "--angle1", "nan"}, "--angle1 takes a number"},
      {{"kale", "--input", in, "--gif", gif, "--angle1", "1e999"}, "--angle1 takes a number"},
      {{"tunnel", "--input", in}, "nothing to write"},
      {{"tunnel", "--gif", gif}, "no --input"},
      {{"tunnel", "--input", in, "--png", Path("frame.png")}, "needs a %d"},
      {{"tunnel", "--input", in, "--png", Path("f-%d-%d.png")}, "exactly one %d"},
      {{"tunnel", "--input", in, "--png", Path("f-%s.png")}, "exactly one %d"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Run(c.args), 2) << c.message;
    EXPECT_NE(err_.find(c.message), std::string::npos) << "wanted \"" << c.message << "\", got: " << err_;
  }
  EXPECT_FALSE(std::filesystem::exists(gif));
  EXPECT_EQ(Run({}), 2);
  EXPECT_EQ(Run({"--help"}), 0);
  EXPECT_EQ(Run({"--list"}), 0);
  for (const char* effect : {"tunnel", "sphere", "plane", "worm", "water", "blob", "warp", "kale", "illusion",
                             "distort", "dawa", "balance", "brightness", "modulate", "gamma"})
    EXPECT_NE(out_.find(std::string(effect) + ": "), std::string::npos) << effect;
}

TEST_F(RenderTool, DamagedPicturesAreRefusedWithAMessage) {
  const std::vector<uint8_t> png = Bytes(PatternPng("whole.png", 40, 30));
  ASSERT_GT(png.size(), 100u);
  std::vector<std::pair<std::string, std::vector<uint8_t>>> files = {
      {"cut.png", {png.begin(), png.begin() + std::ptrdiff_t(png.size() / 2)}},
      {"header-only.png", {png.begin(), png.begin() + 33}},
      {"signature.png", {png.begin(), png.begin() + 8}},
      {"empty.png", {}},
      {"text.png", {'h', 'e', 'l', 'l', 'o'}},
  };
  // A PPM whose pixels stop halfway, one with a lying size, one without a size.
  const std::string ppmHeader = "P6\n40 30\n255\n";
  std::vector<uint8_t> ppm(ppmHeader.begin(), ppmHeader.end());
  ppm.resize(ppm.size() + 40 * 15 * 3, 0x80);
  files.push_back({"cut.ppm", ppm});
  const std::string huge = "P6\n100000 100000\n255\n";
  files.push_back({"huge.ppm", {huge.begin(), huge.end()}});
  files.push_back({"nosize.ppm", {'P', '6', '\n'}});
  // A PNG whose stated size is far beyond the limits (the IHDR checksum is
  // then wrong as well: either way it must be refused before allocating).
  std::vector<uint8_t> wide = png;
  wide[16] = 0x7F;
  files.push_back({"wide.png", wide});
  const std::vector<uint8_t> jpegStart = {0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F', 0};
  files.push_back({"cut.jpg", jpegStart});

  for (const auto& [name, bytes] : files) {
    WriteBytes(Path(name), bytes);
    const std::string gif = Path(name + ".gif");
    EXPECT_EQ(Run({"tunnel", "--input", Path(name), "--gif", gif, "--frames", "2"}), 1) << name;
    EXPECT_NE(err_.find(name), std::string::npos) << name << ": " << err_;
    EXPECT_FALSE(std::filesystem::exists(gif)) << name;
  }
  EXPECT_EQ(Run({"tunnel", "--input", Path("missing.png"), "--gif", Path("x.gif")}), 1);
  EXPECT_NE(err_.find("cannot open"), std::string::npos);
}

TEST_F(RenderTool, AFailedRunLeavesTheOutputFileAsItWas) {
  // The lens refuses pictures under 60 pixels: the GIF already there stays.
  const std::string in = PatternPng("small.png", 40, 40);
  const std::string gif = Path("keep.gif");
  WriteBytes(gif, {'o', 'l', 'd'});
  EXPECT_EQ(Run({"distort", "--input", in, "--gif", gif}), 1);
  EXPECT_NE(err_.find("60 x 60"), std::string::npos) << err_;
  EXPECT_EQ(Bytes(gif), (std::vector<uint8_t>{'o', 'l', 'd'}));
  // A frame that cannot be written (its folder is missing) fails the run,
  // and the GIF written alongside keeps its old bytes too.
  const std::string ok = PatternPng("ok.png", 64, 64);
  EXPECT_EQ(Run({"warp", "--input", ok, "--gif", gif, "--png", Path("no/such/folder/f%d.png")}), 1);
  EXPECT_NE(err_.find("cannot write"), std::string::npos) << err_;
  EXPECT_EQ(Bytes(gif), (std::vector<uint8_t>{'o', 'l', 'd'}));
  for (const auto& entry : std::filesystem::directory_iterator(dir_))
    EXPECT_EQ(entry.path().string().find(".gif."), std::string::npos) << "left behind: " << entry.path();
}

}  // namespace
