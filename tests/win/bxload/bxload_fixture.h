// The real BXLoad.DLL loaded from the build's program folder, a scratch
// folder for the files the tests write, and picture helpers.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace quillo::test {

struct Codecs {
  HMODULE module = nullptr;
  HGLOBAL (*LoadDIB)(LPCSTR) = nullptr;
  BOOL (*SaveDIB)(HGLOBAL, LPCSTR) = nullptr;
  int (*ConvertDIBEx)(HGLOBAL, int, LPBYTE, LPSTR) = nullptr;
  BOOL (*SetupJPEGOption)(HWND) = nullptr;
  BOOL (*SetupTIFFOption)(HWND) = nullptr;
};
const Codecs& BxLoad();

class BxLoadTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  std::string Path(const std::string& name) const { return dir_ + "\\" + name; }
  // ConvertDIBEx through a 300-character buffer; `message` gets the buffer.
  int Convert(HGLOBAL dib, int depth, const std::string& path, LPBYTE mask = nullptr,
              std::string* message = nullptr);
  std::vector<std::string> FilesInFolder() const;
  std::string dir_;
};

// A paletted DIB: colour(i) gives table entry i, index(x, y) the index of
// pixel (x, y), y from the top.
HGLOBAL MakePaletted(int width, int height, int bits, const std::function<RGBQUAD(int)>& colour,
                     const std::function<int(int, int)>& index);
// Blue, green, red of pixel (x, y) (y from the top) of any 1/4/8/24-bit DIB.
void PixelOf(HGLOBAL dib, int x, int y, uint8_t bgr[3]);
int BitsOf(HGLOBAL dib);
SIZE SizeOf(HGLOBAL dib);
std::string ReadFileBytes(const std::string& path);
bool WriteFileBytes(const std::string& path, const std::string& bytes);
// A smooth picture that JPEG keeps close.
HGLOBAL MakeSmoothPicture(int width, int height);

}  // namespace quillo::test
