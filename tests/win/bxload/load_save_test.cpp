// LoadDIB and SaveDIB through the real BXLoad.DLL.
#include <cstring>

#include "bxload_fixture.h"
#include "wic_probe.h"
#include "win_test_support.h"

namespace quillo::test {
namespace {

class LoadSave : public BxLoadTest {};

RGBQUAD Entry(int i) { return RGBQUAD{BYTE(i * 9), BYTE(255 - i), BYTE(i * 31), 0}; }
int Index(int x, int y) { return x * 3 + y * 5; }

TEST_F(LoadSave, PalettedPicturesKeepDepthTableAndIndicesInBmp) {
  for (int bits : {1, 4, 8}) {
    HGLOBAL dib = MakePaletted(23, 9, bits, Entry, Index);
    const std::string path = Path("p" + std::to_string(bits) + ".BMP");
    ASSERT_TRUE(BxLoad().SaveDIB(dib, path.c_str()));
    HGLOBAL back = BxLoad().LoadDIB(path.c_str());
    ASSERT_NE(back, nullptr);
    ASSERT_EQ(BitsOf(back), bits);
    auto* a = static_cast<uint8_t*>(GlobalLock(dib));
    auto* b = static_cast<uint8_t*>(GlobalLock(back));
    const size_t table = 4u << bits;
    EXPECT_EQ(std::memcmp(a + 40, b + 40, table), 0) << bits;
    const size_t rows = size_t(((23 * bits + 31) / 32) * 4) * 9;
    EXPECT_EQ(std::memcmp(a + 40 + table, b + 40 + table, rows), 0) << bits;
    GlobalUnlock(dib);
    GlobalUnlock(back);
    GlobalFree(back);
    GlobalFree(dib);
  }
}

TEST_F(LoadSave, SaveDibUsesTheFormatsDepthOrTrueColour) {
  struct Case { int bits; const char* name; GUID format; };
  const Case cases[] = {{1, "a.png", GUID_WICPixelFormat1bppIndexed},
                        {4, "b.png", GUID_WICPixelFormat4bppIndexed},
                        {8, "c.tif", GUID_WICPixelFormat8bppIndexed},
                        {4, "d.tif", GUID_WICPixelFormat24bppBGR},
                        {8, "e.jpg", GUID_WICPixelFormat24bppBGR}};
  for (const Case& c : cases) {
    HGLOBAL dib = MakePaletted(16, 12, c.bits, Entry, [](int x, int y) { return (x / 4 + y / 4) * 3; });
    ASSERT_TRUE(BxLoad().SaveDIB(dib, Path(c.name).c_str())) << c.name;
    FileProbe probe;
    ASSERT_TRUE(ProbeFile(Path(c.name), probe)) << c.name;
    EXPECT_TRUE(IsEqualGUID(probe.format, c.format)) << c.name;
    if (std::strstr(c.name, ".jpg")) {
      GlobalFree(dib);
      continue;
    }
    HGLOBAL back = BxLoad().LoadDIB(Path(c.name).c_str());
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(BitsOf(back), 24);
    int differences = 0;
    for (int y = 0; y < 12; ++y)
      for (int x = 0; x < 16; ++x) {
        uint8_t p[3], q[3];
        PixelOf(back, x, y, p);
        PixelOf(dib, x, y, q);
        differences += std::memcmp(p, q, 3) != 0;
      }
    EXPECT_EQ(differences, 0) << c.name;
    GlobalFree(back);
    GlobalFree(dib);
  }
}

TEST_F(LoadSave, SavingReplacesAnExistingFileCompletely) {
  const std::string path = Path("over.bmp");
  ASSERT_TRUE(WriteFileBytes(path, std::string(100000, 'x')));
  HGLOBAL picture = MakeTestPicture(5, 3);
  ASSERT_TRUE(BxLoad().SaveDIB(picture, path.c_str()));
  EXPECT_EQ(ReadFileBytes(path).size(), 54u + 16u * 3u);
  EXPECT_EQ(FilesInFolder().size(), 1u);
  EXPECT_FALSE(BxLoad().SaveDIB(picture, Path("x.xpm").c_str()));
  EXPECT_FALSE(BxLoad().SaveDIB(picture, nullptr));
  GlobalFree(picture);
}

TEST_F(LoadSave, UnreadableFilesGiveNoPicture) {
  const Codecs& c = BxLoad();
  EXPECT_EQ(c.LoadDIB(nullptr), nullptr);
  EXPECT_EQ(c.LoadDIB(Path("absent.bmp").c_str()), nullptr);
  EXPECT_EQ(c.LoadDIB(Path("absent.png").c_str()), nullptr);
  HGLOBAL picture = MakeTestPicture(6, 6);
  ASSERT_TRUE(c.SaveDIB(picture, Path("ok.bmp").c_str()));
  const std::string good = ReadFileBytes(Path("ok.bmp"));
  WriteFileBytes(Path("cut.bmp"), good.substr(0, 70));
  WriteFileBytes(Path("junk.png"), "not a picture at all");
  WriteFileBytes(Path("image.pcx"), good);
  WriteFileBytes(Path("image.gif"), good);
  WriteFileBytes(Path("image.wpg"), good);
  WriteFileBytes(Path("image.di"), good);
  for (const char* name : {"cut.bmp", "junk.png", "image.pcx", "image.gif", "image.wpg", "image.di"})
    EXPECT_EQ(c.LoadDIB(Path(name).c_str()), nullptr) << name;
  // A bitmap named .dib or .rle reads the same.
  WriteFileBytes(Path("same.DIB"), good);
  WriteFileBytes(Path("same.rle"), good);
  for (const char* name : {"same.DIB", "same.rle"}) {
    HGLOBAL back = c.LoadDIB(Path(name).c_str());
    ASSERT_NE(back, nullptr) << name;
    EXPECT_EQ(DibPixels(back), DibPixels(picture));
    GlobalFree(back);
  }
  GlobalFree(picture);
}

TEST_F(LoadSave, CorpusPhotosLoadAsTrueColour) {
  const std::string folder = "Z:" + std::string(QUILLO_CORPUS_DIR) + "/photos/";
  std::string windowsFolder = folder;
  for (char& ch : windowsFolder)
    if (ch == '/') ch = '\\';
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((windowsFolder + "*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) GTEST_SKIP() << "no corpus at " << windowsFolder;
  int loaded = 0;
  do {
    const std::string name = data.cFileName;
    const std::string ext = name.size() > 4 ? name.substr(name.size() - 4) : "";
    if (ext != ".jpg" && ext != ".png") continue;
    const std::string path = windowsFolder + name;
    HGLOBAL dib = BxLoad().LoadDIB(path.c_str());
    ASSERT_NE(dib, nullptr) << path;
    FileProbe probe;
    ASSERT_TRUE(ProbeFile(path, probe));
    EXPECT_EQ(BitsOf(dib), 24);
    EXPECT_EQ(SizeOf(dib).cx, LONG(probe.width)) << name;
    EXPECT_EQ(SizeOf(dib).cy, LONG(probe.height)) << name;
    // The top-left and bottom-right pixels match WIC's own decoding.
    for (auto [x, y] : {std::pair<UINT, UINT>{0, 0}, {probe.width - 1, probe.height - 1}}) {
      uint8_t bgr[3];
      PixelOf(dib, int(x), int(y), bgr);
      EXPECT_EQ(std::memcmp(bgr, probe.Pixel(x, y), 3), 0) << name;
    }
    GlobalFree(dib);
    ++loaded;
  } while (FindNextFileA(find, &data));
  FindClose(find);
  EXPECT_GE(loaded, 5);
}

}  // namespace
}  // namespace quillo::test
