// ConvertDIBEx through the real BXLoad.DLL: every format at the depths it
// holds, the mask as alpha, and failures that leave files alone.
#include <cstring>
#include <set>

#include "bxload_fixture.h"
#include "wic_probe.h"
#include "win_test_support.h"

namespace quillo::test {
namespace {

class ConvertDib : public BxLoadTest {};

// Pixels of a loaded picture equal those of `expected` (any depth).
void ExpectSamePixels(HGLOBAL got, HGLOBAL expected, const char* what) {
  const SIZE a = SizeOf(got), b = SizeOf(expected);
  ASSERT_EQ(a.cx, b.cx) << what;
  ASSERT_EQ(a.cy, b.cy) << what;
  int differences = 0;
  for (int y = 0; y < a.cy; ++y)
    for (int x = 0; x < a.cx; ++x) {
      uint8_t p[3], q[3];
      PixelOf(got, x, y, p);
      PixelOf(expected, x, y, q);
      differences += std::memcmp(p, q, 3) != 0;
    }
  EXPECT_EQ(differences, 0) << what;
}

int DistinctColours(HGLOBAL dib) {
  const SIZE s = SizeOf(dib);
  std::set<uint32_t> colours;
  for (int y = 0; y < s.cy; ++y)
    for (int x = 0; x < s.cx; ++x) {
      uint8_t p[3];
      PixelOf(dib, x, y, p);
      colours.insert(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16);
    }
  return int(colours.size());
}

TEST_F(ConvertDib, BmpAtEveryDepthIsARealFileOfThatDepth) {
  HGLOBAL picture = MakeTestPicture(37, 21);
  for (int depth : {1, 4, 8, 24}) {
    const std::string path = Path("d" + std::to_string(depth) + ".bmp");
    std::string message;
    ASSERT_GT(Convert(picture, depth, path, nullptr, &message), 0) << message;
    const std::string file = ReadFileBytes(path);
    ASSERT_GT(file.size(), 54u);
    EXPECT_EQ(file.substr(0, 2), "BM");
    EXPECT_EQ(uint8_t(file[28]), depth);
    HGLOBAL back = BxLoad().LoadDIB(path.c_str());
    ASSERT_NE(back, nullptr) << depth;
    EXPECT_EQ(BitsOf(back), depth);
    if (depth == 24) ExpectSamePixels(back, picture, "bmp 24");
    else EXPECT_LE(DistinctColours(back), 1 << depth);
    GlobalFree(back);
  }
  GlobalFree(picture);
}

TEST_F(ConvertDib, PngAndTiffAtReducedDepthsHoldTheSameColoursAsBmp) {
  HGLOBAL picture = MakeTestPicture(29, 17);
  struct Case { int depth; const char* ext; GUID format; };
  const Case cases[] = {{1, "png", GUID_WICPixelFormat1bppIndexed},
                        {4, "png", GUID_WICPixelFormat4bppIndexed},
                        {8, "png", GUID_WICPixelFormat8bppIndexed},
                        {8, "tif", GUID_WICPixelFormat8bppIndexed}};
  for (const Case& c : cases) {
    const std::string bmp = Path("ref" + std::to_string(c.depth) + ".bmp");
    const std::string path = Path("d" + std::to_string(c.depth) + "." + c.ext);
    std::string message;
    ASSERT_GT(Convert(picture, c.depth, bmp), 0);
    ASSERT_GT(Convert(picture, c.depth, path, nullptr, &message), 0) << message;
    FileProbe probe;
    ASSERT_TRUE(ProbeFile(path, probe)) << path;
    EXPECT_TRUE(IsEqualGUID(probe.format, c.format)) << path;
    HGLOBAL fromBmp = BxLoad().LoadDIB(bmp.c_str());
    HGLOBAL fromFile = BxLoad().LoadDIB(path.c_str());
    ASSERT_TRUE(fromBmp && fromFile) << path;
    EXPECT_EQ(BitsOf(fromFile), 24);
    ExpectSamePixels(fromFile, fromBmp, path.c_str());
    GlobalFree(fromBmp);
    GlobalFree(fromFile);
  }
  GlobalFree(picture);
}

TEST_F(ConvertDib, TrueColourPngAndTiffAreLossless) {
  HGLOBAL picture = MakeTestPicture(31, 19);
  for (const char* name : {"t.png", "t.tif", "t.tiff"}) {
    std::string message;
    ASSERT_GT(Convert(picture, 24, Path(name), nullptr, &message), 0) << message;
    HGLOBAL back = BxLoad().LoadDIB(Path(name).c_str());
    ASSERT_NE(back, nullptr) << name;
    ExpectSamePixels(back, picture, name);
    GlobalFree(back);
  }
  GlobalFree(picture);
}

TEST_F(ConvertDib, MaskBecomesAlphaInPngAndTiffOnly) {
  const int w = 9, h = 5;
  HGLOBAL picture = MakeTestPicture(w, h);
  std::vector<BYTE> mask(w * h);
  for (int i = 0; i < w * h; ++i) mask[i] = BYTE(i * 5);  // rows top-down
  for (const char* name : {"m.png", "m.tif"}) {
    ASSERT_GT(Convert(picture, 24, Path(name), mask.data()), 0);
    FileProbe probe;
    ASSERT_TRUE(ProbeFile(Path(name), probe));
    EXPECT_TRUE(IsEqualGUID(probe.format, GUID_WICPixelFormat32bppBGRA)) << name;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        uint8_t bgr[3];
        DibPixel(picture, x, y, bgr);
        EXPECT_EQ(probe.Pixel(x, y)[3], mask[y * w + x]) << name;
        EXPECT_EQ(std::memcmp(probe.Pixel(x, y), bgr, 3), 0) << name;
      }
  }
  // Paletted PNG and BMP ignore the mask.
  ASSERT_GT(Convert(picture, 8, Path("m8.png"), mask.data()), 0);
  FileProbe probe;
  ASSERT_TRUE(ProbeFile(Path("m8.png"), probe));
  EXPECT_TRUE(IsEqualGUID(probe.format, GUID_WICPixelFormat8bppIndexed));
  ASSERT_GT(Convert(picture, 24, Path("m.bmp"), mask.data()), 0);
  GlobalFree(picture);
}

TEST_F(ConvertDib, JpegAndBexaAreCloseTrueColour) {
  HGLOBAL picture = MakeSmoothPicture(64, 48);
  for (const char* name : {"p.jpg", "p.JPEG", "p.jpe", "pkg.bexa"}) {
    std::string message;
    ASSERT_GT(Convert(picture, 24, Path(name), nullptr, &message), 0) << message;
    const std::string file = ReadFileBytes(Path(name));
    ASSERT_GE(file.size(), 2u);
    EXPECT_EQ(uint8_t(file[0]), 0xFF) << name;
    EXPECT_EQ(uint8_t(file[1]), 0xD8) << name;
    HGLOBAL back = BxLoad().LoadDIB(Path(name).c_str());
    ASSERT_NE(back, nullptr) << name;
    int worst = 0;
    for (int y = 0; y < 48; ++y)
      for (int x = 0; x < 64; ++x) {
        uint8_t p[3], q[3];
        PixelOf(back, x, y, p);
        DibPixel(picture, x, y, q);
        for (int c = 0; c < 3; ++c) worst = std::max(worst, std::abs(p[c] - q[c]));
      }
    EXPECT_LE(worst, 24) << name;
    GlobalFree(back);
  }
  GlobalFree(picture);
}

TEST_F(ConvertDib, RefusedDepthsLeaveAnExistingFileUntouched) {
  HGLOBAL picture = MakeTestPicture(8, 8);
  struct Case { const char* name; int depth; const char* text; };
  const Case cases[] = {{"x.jpg", 8, "JPEG files hold only true colour images."},
                        {"x.bexa", 1, "JPEG files hold only true colour images."},
                        {"x.tif", 4, "TIFF files hold only 256-colour or true colour images."},
                        {"x.bmp", 16, "colour depth"}};
  for (const Case& c : cases) {
    ASSERT_TRUE(WriteFileBytes(Path(c.name), "keep me"));
    std::string message;
    EXPECT_LE(Convert(picture, c.depth, Path(c.name), nullptr, &message), 0) << c.name;
    EXPECT_NE(message.find(c.text), std::string::npos) << message;
    EXPECT_EQ(ReadFileBytes(Path(c.name)), "keep me");
  }
  EXPECT_EQ(FilesInFolder().size(), 4u);  // no temporary files left behind
  GlobalFree(picture);
}

TEST_F(ConvertDib, ReadOnlyTargetIsNotReplaced) {
  HGLOBAL picture = MakeTestPicture(8, 8);
  for (const char* name : {"ro.bmp", "ro.png"}) {
    const std::string path = Path(name);
    ASSERT_TRUE(WriteFileBytes(path, "keep me"));
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    std::string message;
    EXPECT_LE(Convert(picture, 24, path, nullptr, &message), 0) << name;
    EXPECT_EQ(message, "Cannot write " + path + ": the file is read-only.");
    EXPECT_EQ(ReadFileBytes(path), "keep me");
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  }
  EXPECT_EQ(FilesInFolder().size(), 2u);
  GlobalFree(picture);
}

TEST_F(ConvertDib, UnknownExtensionsFailWithText) {
  HGLOBAL picture = MakeTestPicture(8, 8);
  for (const char* name : {"x.doc", "x.gif2", "noextension"}) {
    std::string message;
    EXPECT_LE(Convert(picture, 24, Path(name), nullptr, &message), 0) << name;
    EXPECT_EQ(message.rfind("Cannot write " + Path(name) + ": ", 0), 0u) << message;
  }
  EXPECT_TRUE(FilesInFolder().empty());
  GlobalFree(picture);
}

TEST_F(ConvertDib, PcxGifAndWpgRoundTripAtTheirDepths) {
  // Every paletted depth keeps the table and indices, so pixels come back
  // unchanged; true colour only where the format holds it.
  struct Case { const char* ext; bool trueColour; };
  for (const Case c : {Case{"pcx", true}, Case{"GIF", false}, Case{"wpg", false}}) {
    for (int bits : {1, 4, 8}) {
      HGLOBAL picture = MakePaletted(29, 7, bits, [](int i) { return RGBQUAD{BYTE(i * 3), BYTE(200 - i), BYTE(i * 7), 0}; },
                                     [bits](int x, int y) { return (x * 5 + y * 3) % (1 << bits); });
      const std::string path = Path("r" + std::to_string(bits) + "." + c.ext);
      std::string message;
      ASSERT_GT(Convert(picture, bits, path, nullptr, &message), 0) << path << ": " << message;
      HGLOBAL back = BxLoad().LoadDIB(path.c_str());
      ASSERT_NE(back, nullptr) << path;
      EXPECT_EQ(BitsOf(back), bits) << path;
      ExpectSamePixels(back, picture, path.c_str());
      GlobalFree(back);
      GlobalFree(picture);
    }
    HGLOBAL photo = MakeTestPicture(23, 11);
    const std::string path = Path(std::string("t.") + c.ext);
    std::string message;
    if (c.trueColour) {
      ASSERT_GT(Convert(photo, 24, path, nullptr, &message), 0) << message;
      HGLOBAL back = BxLoad().LoadDIB(path.c_str());
      ASSERT_NE(back, nullptr);
      ExpectSamePixels(back, photo, path.c_str());
      GlobalFree(back);
    } else {
      EXPECT_LE(Convert(photo, 24, path, nullptr, &message), 0);
      EXPECT_NE(message.find("2, 16 or 256-colour"), std::string::npos) << message;
      EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
      // SaveDIB brings a true-colour picture down to 256 colours instead.
      ASSERT_TRUE(BxLoad().SaveDIB(photo, path.c_str())) << path;
      HGLOBAL back = BxLoad().LoadDIB(path.c_str());
      ASSERT_NE(back, nullptr) << path;
      EXPECT_EQ(BitsOf(back), 8);
      GlobalFree(back);
    }
    GlobalFree(photo);
  }
}

TEST_F(ConvertDib, ReadOnlyFormatsOpenAndRefuseSaving) {
  std::string brush = {0, 0, 0, 28, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 1, 'G', 'I', 'M', 'P', 0, 0, 0, 10};
  brush += std::string("\x00\xFF", 2);
  std::string pattern = {0, 0, 0, 24, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 3, 'G', 'P', 'A', 'T'};
  pattern += "\x10\x20\x30";
  struct File { const char* name; std::string bytes; int bits; uint8_t firstBgr[3]; };
  const File files[] = {
      {"b.gbr", brush, 8, {255, 255, 255}},
      {"p.PAT", pattern, 24, {0x30, 0x20, 0x10}},
      {"x.xbm", "#define x_width 3\n#define x_height 1\nstatic char x_bits[] = { 0x01 };", 1, {0, 0, 0}},
      {"x.bm", "#define x_width 3\n#define x_height 1\nstatic char x_bits[] = { 0x06 };", 1, {255, 255, 255}},
      {"x.xpm", "/* XPM */ static char *x[] = {\"2 1 2 1\", \"a c red\", \"b c None\", \"ab\"};", 1, {0, 0, 255}},
  };
  HGLOBAL picture = MakeTestPicture(4, 4);
  for (const File& f : files) {
    ASSERT_TRUE(WriteFileBytes(Path(f.name), f.bytes));
    HGLOBAL back = BxLoad().LoadDIB(Path(f.name).c_str());
    ASSERT_NE(back, nullptr) << f.name;
    EXPECT_EQ(BitsOf(back), f.bits) << f.name;
    uint8_t p[3];
    PixelOf(back, 0, 0, p);
    EXPECT_EQ(std::memcmp(p, f.firstBgr, 3), 0) << f.name;
    GlobalFree(back);
    // Damaged: the first half of the file opens nothing.
    ASSERT_TRUE(WriteFileBytes(Path(f.name), f.bytes.substr(0, f.bytes.size() / 2)));
    EXPECT_EQ(BxLoad().LoadDIB(Path(f.name).c_str()), nullptr) << f.name;
    std::string message;
    const std::string target = Path(std::string("w_") + f.name);
    EXPECT_LE(Convert(picture, 24, target, nullptr, &message), 0) << f.name;
    EXPECT_NE(message.find("can be opened but not saved"), std::string::npos) << message;
  }
  GlobalFree(picture);
}

TEST_F(ConvertDib, TgaAndWbmpRoundTripThroughTheLibrary) {
  HGLOBAL picture = MakeTestPicture(23, 11);
  for (int depth : {1, 4, 8, 24}) {
    const std::string path = Path("t" + std::to_string(depth) + ".tga");
    std::string message;
    ASSERT_GT(Convert(picture, depth, path, nullptr, &message), 0) << message;
    HGLOBAL back = BxLoad().LoadDIB(path.c_str());
    ASSERT_NE(back, nullptr) << depth;
    if (depth == 24) ExpectSamePixels(back, picture, "tga 24");
    else EXPECT_LE(DistinctColours(back), 1 << depth);
    GlobalFree(back);
  }
  std::string message;
  EXPECT_LE(Convert(picture, 24, Path("x.wbmp"), nullptr, &message), 0);  // 2 colours only
  ASSERT_GT(Convert(picture, 1, Path("x.wbmp"), nullptr, &message), 0) << message;
  HGLOBAL back = BxLoad().LoadDIB(Path("x.wbmp").c_str());
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(BitsOf(back), 1);
  EXPECT_LE(DistinctColours(back), 2);
  GlobalFree(back);
  GlobalFree(picture);
}

TEST_F(ConvertDib, PortableAnymapsOpen) {
  const std::string path = Path("g.pgm");
  const char pgm[] = "P2\n# a comment\n3 2\n255\n0 128 255\n10 20 30\n";
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, pgm, DWORD(sizeof pgm - 1), &written, nullptr);
  CloseHandle(file);
  HGLOBAL back = BxLoad().LoadDIB(path.c_str());
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(BitsOf(back), 8);
  GlobalFree(back);
  std::string message;
  HGLOBAL picture = MakeTestPicture(4, 4);
  EXPECT_LE(Convert(picture, 24, Path("x.ppm"), nullptr, &message), 0);  // opened, never saved
  GlobalFree(picture);
}

TEST_F(ConvertDib, MissingFolderGivesTextAndNoFile) {
  HGLOBAL picture = MakeTestPicture(8, 8);
  for (const char* name : {"p.bmp", "p.png", "p.jpg"}) {
    const std::string path = Path("missing\\") + name;
    std::string message;
    EXPECT_LE(Convert(picture, 24, path, nullptr, &message), 0);
    EXPECT_EQ(message, "Cannot write " + path + ": the folder does not exist.");
    EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
  }
  GlobalFree(picture);
}

TEST_F(ConvertDib, BadArgumentsAndBuffersAreHandled) {
  std::string message;
  EXPECT_LE(Convert(nullptr, 24, Path("x.bmp"), nullptr, &message), 0);
  EXPECT_FALSE(message.empty());
  HGLOBAL junk = GlobalAlloc(GHND, 16);
  EXPECT_LE(Convert(junk, 24, Path("x.png"), nullptr, &message), 0);
  EXPECT_NE(message.find("damaged"), std::string::npos) << message;
  GlobalFree(junk);
  EXPECT_EQ(BxLoad().ConvertDIBEx(nullptr, 24, nullptr, nullptr), 0);

  // A buffer of 300 characters without a terminator: only those are read,
  // the answer ends inside them.
  HGLOBAL picture = MakeTestPicture(4, 4);
  char buffer[400];
  std::memset(buffer, 'a', sizeof buffer);
  EXPECT_LE(BxLoad().ConvertDIBEx(picture, 24, nullptr, buffer), 0);
  EXPECT_NE(std::memchr(buffer, '\0', 300), nullptr);
  for (size_t i = 300; i < sizeof buffer; ++i) ASSERT_EQ(buffer[i], 'a');
  GlobalFree(picture);
  EXPECT_TRUE(FilesInFolder().empty());
}

}  // namespace
}  // namespace quillo::test
