// ReadJPEGFile on the photographs of the test corpus, and quantisation of
// real photographs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "contracts/dib_services.h"
#include "win_test_support.h"

using namespace quillo::test;

namespace {

// The corpus folder as Wine sees the Linux path.
std::string WinePath(const std::string& unixPath) {
  std::string p = "Z:" + unixPath;
  for (char& c : p)
    if (c == '/') c = '\\';
  return p;
}

std::vector<std::string> Photos(const char* pattern) {
  std::vector<std::string> out;
  const std::string dir = WinePath(std::string(QUILLO_CORPUS_DIR) + "/photos");
  WIN32_FIND_DATAA fd;
  HANDLE find = FindFirstFileA((dir + "\\" + pattern).c_str(), &fd);
  if (find == INVALID_HANDLE_VALUE) return out;
  do out.push_back(dir + "\\" + fd.cFileName);
  while (FindNextFileA(find, &fd));
  FindClose(find);
  return out;
}

TEST(Bxdib3Files, ReadsEveryCorpusJpeg) {
  const auto files = Photos("*.jpg");
  ASSERT_GE(files.size(), 3u);
  for (const auto& f : files) {
    HGLOBAL dib = ReadJPEGFile(f.c_str());
    ASSERT_TRUE(IsValidDIB(dib)) << f;
    auto* p = static_cast<LPSTR>(GlobalLock(dib));
    EXPECT_GT(DIBWidth(p), 16) << f;
    EXPECT_GT(DIBHeight(p), 16) << f;
    GlobalUnlock(dib);
    DestroyDIB(dib);
  }
  EXPECT_EQ(ReadJPEGFile("Z:\\no\\such\\file.jpg"), nullptr);
  EXPECT_EQ(ReadJPEGFile(nullptr), nullptr);
  const std::string notAPicture = WinePath(std::string(QUILLO_CORPUS_DIR) + "/photos/SOURCES.md");
  EXPECT_EQ(ReadJPEGFile(notAPicture.c_str()), nullptr);
}

TEST(Bxdib3Files, PhotographsQuantiseClosely) {
  const auto files = Photos("rocket.jpg");
  ASSERT_EQ(files.size(), 1u);
  HGLOBAL photo = ReadJPEGFile(files[0].c_str());
  ASSERT_TRUE(IsValidDIB(photo));
  HGLOBAL rgb = TrueColorDIB(photo);
  auto* bih = static_cast<BITMAPINFOHEADER*>(GlobalLock(rgb));
  const int w = bih->biWidth, h = bih->biHeight;
  GlobalUnlock(rgb);
  std::vector<BYTE> index(size_t(w) * h);
  RGBQUAD palette[256];
  HGLOBAL indexed = IndexDIB(rgb, 256, index.data(), palette);
  ASSERT_NE(indexed, nullptr);
  double error = 0;
  for (int y = 0; y < h; y += 3)
    for (int x = 0; x < w; x += 3) {
      uint8_t p[3];
      DibPixel(rgb, x, y, p);
      const RGBQUAD& q = palette[index[size_t(y) * w + x]];
      const double d[3] = {double(p[0]) - q.rgbBlue, double(p[1]) - q.rgbGreen, double(p[2]) - q.rgbRed};
      error += d[0] * d[0] + d[1] * d[1] + d[2] * d[2];
    }
  error /= 3.0 * ((w + 2) / 3) * ((h + 2) / 3);
  EXPECT_LT(error, 40.0) << "mean squared error per channel";
  DestroyDIB(indexed);
  if (rgb != photo) DestroyDIB(rgb);
  DestroyDIB(photo);
}

}  // namespace
