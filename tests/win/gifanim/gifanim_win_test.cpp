// Drives BXAnim1.DLL through its two exports with files written to a
// temporary folder and with the outside corpus.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "contracts/dib_format.h"
#include "contracts/dib_services.h"
#include "contracts/gif_animation.h"
#include "tests/native/gifanim/gif_builder.h"

using gif_test::GifBuilder;
using gif_test::Literals;

namespace {

std::string WriteTemp(const std::string& name, const std::vector<uint8_t>& bytes) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string path = std::string(temp) + "gifanim_" + name;
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD done = 0;
  WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr);
  CloseHandle(h);
  return path;
}

struct Dib {
  quillo::DibHeader hdr{};
  std::vector<quillo::DibColour> table;
  std::vector<uint8_t> bits;
};

Dib ReadDib(HGLOBAL h) {
  Dib d;
  auto* p = static_cast<uint8_t*>(GlobalLock(h));
  std::memcpy(&d.hdr, p, sizeof d.hdr);
  const int n = DIBNumColors(reinterpret_cast<LPCSTR>(p));
  d.table.resize(n);
  std::memcpy(d.table.data(), p + d.hdr.size, 4 * n);
  const auto* bits = reinterpret_cast<uint8_t*>(FindDIBBits(reinterpret_cast<LPSTR>(p)));
  d.bits.assign(bits, bits + quillo::DibStride(d.hdr.width, d.hdr.bitCount) * d.hdr.height);
  GlobalUnlock(h);
  return d;
}

TEST(GifAnimWin, RecordsFramesAndControlValues) {
  auto file = GifBuilder("GIF89a", 40, 30)
                  .Control(0x08 | 1, 7, 1)
                  .Image(10, 20, 2, 1, Literals({1, 1}))
                  .Image(0, 0, 1, 1, Literals({1}), 0, 2, 2)
                  .Trailer();
  AnimateStruct* anim = nullptr;
  ASSERT_EQ(LoadGifEx(WriteTemp("two.gif", file).c_str(), &anim), 2);
  ASSERT_NE(anim, nullptr);
  EXPECT_EQ(anim->frameCount, 2);
  EXPECT_EQ(anim->screenWidth, 40);
  EXPECT_EQ(anim->screenHeight, 30);
  EXPECT_EQ(anim->globalTableSize, 2);
  EXPECT_EQ(anim->globalCount, 2);
  EXPECT_EQ(anim->current, 0);
  const GifFrame& f0 = anim->frames[0];
  EXPECT_EQ(f0.delayMs, 70);
  EXPECT_EQ(f0.transparent, 1);
  EXPECT_EQ(f0.disposal, 2);
  EXPECT_EQ(f0.left, 10);
  EXPECT_EQ(f0.top, 20);
  EXPECT_EQ(f0.width, 2);
  EXPECT_EQ(anim->frames[1].transparent, -1);
  EXPECT_EQ(anim->frames[1].delayMs, 0);

  // The local 4-colour table makes 4-bit frames; the image lands at (10, 20).
  Dib d = ReadDib(f0.dib);
  EXPECT_EQ(d.hdr.width, 40);
  EXPECT_EQ(d.hdr.height, 30);
  EXPECT_EQ(d.hdr.bitCount, 4);
  const int stride = static_cast<int>(quillo::DibStride(40, 4));
  const int row = 30 - 20 - 1;
  EXPECT_EQ(d.bits[row * stride + 5], 0x11);
  int nonzero = 0;
  for (uint8_t b : d.bits) nonzero += b != 0;
  EXPECT_EQ(nonzero, 1);
  EXPECT_EQ(d.table[1].red, 1);  // global entry 1 = (1, 2, 3), stored blue, green, red
  EXPECT_EQ(d.table[1].blue, 3);
  Dib d1 = ReadDib(anim->frames[1].dib);
  EXPECT_EQ(d1.table[1].red, 203);  // local table
  EXPECT_EQ(d1.table[3].blue, 211);

  // The caller's attachments are released by FreeAnimateStruct.
  anim->frames[1].gdiObject = CreateSolidBrush(RGB(1, 2, 3));
  anim->frames[1].memory = GlobalAlloc(GHND, 16);
  GlobalLock(anim->frames[1].memory);
  FreeAnimateStruct(anim);
  FreeAnimateStruct(nullptr);
}

TEST(GifAnimWin, FailuresReturnZeroAndNull) {
  AnimateStruct* anim = reinterpret_cast<AnimateStruct*>(1);
  EXPECT_EQ(LoadGifEx("C:\\no\\such\\file.gif", &anim), 0);
  EXPECT_EQ(anim, nullptr);
  auto good = GifBuilder().Image(0, 0, 4, 2, Literals({1, 0, 1, 0, 1, 0, 1, 0})).Trailer();
  auto cut = std::vector<uint8_t>(good.begin(), good.end() - 1);
  EXPECT_EQ(LoadGifEx(WriteTemp("cut.gif", cut).c_str(), &anim), 0);
  EXPECT_EQ(anim, nullptr);
  auto upper = good;
  upper[5] = 'A';
  EXPECT_EQ(LoadGifEx(WriteTemp("upper.gif", upper).c_str(), &anim), 0);
  EXPECT_EQ(LoadGifEx(WriteTemp("none.gif", GifBuilder().Trailer()).c_str(), &anim), 0);
  EXPECT_EQ(anim, nullptr);
  // A screen too large for any frame DIB is refused.
  auto huge = GifBuilder("GIF89a", 65535, 65535, 8).Image(0, 0, 1, 1, Literals({1})).Trailer();
  EXPECT_EQ(LoadGifEx(WriteTemp("huge.gif", huge).c_str(), &anim), 0);
  EXPECT_EQ(anim, nullptr);
}

TEST(GifAnimWin, DepthFollowsTableSize) {
  for (auto [bits, expect] : {std::pair{1, 1}, {4, 4}, {5, 8}}) {
    auto f = GifBuilder("GIF89a", 4, 2, bits).Image(0, 0, 4, 2, Literals({1, 1, 1, 1, 1, 1, 1, 1})).Trailer();
    AnimateStruct* anim = nullptr;
    ASSERT_EQ(LoadGifEx(WriteTemp("depth.gif", f).c_str(), &anim), 1);
    EXPECT_EQ(ReadDib(anim->frames[0].dib).hdr.bitCount, expect) << bits;
    FreeAnimateStruct(anim);
  }
}

TEST(GifAnimWin, CorpusLoadsWithoutFault) {
  const std::string dir = std::string(QUILLO_CORPUS_DIR) + "/gif/";
  WIN32_FIND_DATAA fd;
  HANDLE find = FindFirstFileA((dir + "*.gif").c_str(), &fd);
  ASSERT_NE(find, INVALID_HANDLE_VALUE);
  int files = 0, loaded = 0;
  do {
    AnimateStruct* anim = nullptr;
    const int n = LoadGifEx((dir + fd.cFileName).c_str(), &anim);
    ++files;
    if (n > 0) {
      ++loaded;
      ASSERT_NE(anim, nullptr) << fd.cFileName;
      EXPECT_EQ(anim->frameCount, n);
      for (int i = 0; i < n; ++i) EXPECT_TRUE(IsValidDIB(anim->frames[i].dib)) << fd.cFileName;
    } else {
      EXPECT_EQ(anim, nullptr);
    }
    FreeAnimateStruct(anim);
  } while (FindNextFileA(find, &fd));
  FindClose(find);
  EXPECT_EQ(files, 150);
  std::printf("BXAnim1: %d of %d corpus files load\n", loaded, files);
}

}  // namespace
