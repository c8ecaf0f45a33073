#include "bxload_fixture.h"

#include <cstring>

#include "win_test_support.h"

namespace quillo::test {

template <class T>
static void Find(HMODULE module, const char* name, T& function) {
  function = reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

const Codecs& BxLoad() {
  static Codecs codecs = [] {
    Codecs c;
    c.module = LoadLibraryA((ProgramDir() + "\\BXLoad.DLL").c_str());
    if (!c.module) return c;
    Find(c.module, "LoadDIB", c.LoadDIB);
    Find(c.module, "SaveDIB", c.SaveDIB);
    Find(c.module, "ConvertDIBEx", c.ConvertDIBEx);
    Find(c.module, "SetupJPEGOption", c.SetupJPEGOption);
    Find(c.module, "SetupTIFFOption", c.SetupTIFFOption);
    return c;
  }();
  return codecs;
}

void BxLoadTest::SetUp() {
  const Codecs& c = BxLoad();
  ASSERT_NE(c.module, nullptr) << "BXLoad.DLL did not load";
  ASSERT_TRUE(c.LoadDIB && c.SaveDIB && c.ConvertDIBEx && c.SetupJPEGOption && c.SetupTIFFOption);
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  dir_ = std::string(temp) + "bxload_" + info->name();
  CreateDirectoryA(dir_.c_str(), nullptr);
}

void BxLoadTest::TearDown() {
  for (const std::string& name : FilesInFolder()) DeleteFileA(Path(name).c_str());
  RemoveDirectoryA(dir_.c_str());
}

int BxLoadTest::Convert(HGLOBAL dib, int depth, const std::string& path, LPBYTE mask,
                        std::string* message) {
  char buffer[300] = {};
  std::strncpy(buffer, path.c_str(), sizeof buffer - 1);
  const int result = BxLoad().ConvertDIBEx(dib, depth, mask, buffer);
  if (message) *message = std::string(buffer, strnlen(buffer, sizeof buffer));
  return result;
}

std::vector<std::string> BxLoadTest::FilesInFolder() const {
  std::vector<std::string> names;
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((dir_ + "\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(data.cFileName);
  } while (FindNextFileA(find, &data));
  FindClose(find);
  return names;
}

static int Stride(int width, int bits) { return ((width * bits + 31) / 32) * 4; }

HGLOBAL MakePaletted(int width, int height, int bits, const std::function<RGBQUAD(int)>& colour,
                     const std::function<int(int, int)>& index) {
  const int entries = 1 << bits;
  const int stride = Stride(width, bits);
  HGLOBAL h = GlobalAlloc(GHND, sizeof(BITMAPINFOHEADER) + entries * 4 + SIZE_T(stride) * height);
  auto* base = static_cast<uint8_t*>(GlobalLock(h));
  auto* bih = reinterpret_cast<BITMAPINFOHEADER*>(base);
  bih->biSize = sizeof *bih;
  bih->biWidth = width;
  bih->biHeight = height;
  bih->biPlanes = 1;
  bih->biBitCount = WORD(bits);
  bih->biClrUsed = DWORD(entries);
  auto* table = reinterpret_cast<RGBQUAD*>(base + sizeof *bih);
  for (int i = 0; i < entries; ++i) table[i] = colour(i);
  uint8_t* rows = base + sizeof *bih + entries * 4;
  for (int y = 0; y < height; ++y) {
    uint8_t* row = rows + SIZE_T(height - 1 - y) * stride;
    for (int x = 0; x < width; ++x) {
      const int v = index(x, y) & (entries - 1);
      if (bits == 1) row[x / 8] |= uint8_t(v << (7 - x % 8));
      else if (bits == 4) row[x / 2] |= uint8_t((x & 1) ? v : v << 4);
      else row[x] = uint8_t(v);
    }
  }
  GlobalUnlock(h);
  return h;
}

void PixelOf(HGLOBAL dib, int x, int y, uint8_t bgr[3]) {
  auto* base = static_cast<uint8_t*>(GlobalLock(dib));
  auto* bih = reinterpret_cast<BITMAPINFOHEADER*>(base);
  const int bits = bih->biBitCount;
  const int entries = bits <= 8 ? (bih->biClrUsed ? int(bih->biClrUsed) : 1 << bits) : 0;
  const uint8_t* row = base + bih->biSize + entries * 4 +
                       SIZE_T(bih->biHeight - 1 - y) * Stride(bih->biWidth, bits);
  if (bits == 24) {
    std::memcpy(bgr, row + 3 * x, 3);
  } else {
    const int i = bits == 1 ? (row[x / 8] >> (7 - x % 8)) & 1
                : bits == 4 ? ((x & 1) ? row[x / 2] & 15 : row[x / 2] >> 4)
                            : row[x];
    const auto* table = reinterpret_cast<const RGBQUAD*>(base + bih->biSize);
    bgr[0] = table[i].rgbBlue, bgr[1] = table[i].rgbGreen, bgr[2] = table[i].rgbRed;
  }
  GlobalUnlock(dib);
}

int BitsOf(HGLOBAL dib) {
  auto* bih = static_cast<BITMAPINFOHEADER*>(GlobalLock(dib));
  const int bits = bih->biBitCount;
  GlobalUnlock(dib);
  return bits;
}

SIZE SizeOf(HGLOBAL dib) {
  auto* bih = static_cast<BITMAPINFOHEADER*>(GlobalLock(dib));
  const SIZE size{bih->biWidth, bih->biHeight};
  GlobalUnlock(dib);
  return size;
}

std::string ReadFileBytes(const std::string& path) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return {};
  std::string bytes(GetFileSize(h, nullptr), '\0');
  DWORD got = 0;
  ReadFile(h, bytes.data(), DWORD(bytes.size()), &got, nullptr);
  CloseHandle(h);
  bytes.resize(got);
  return bytes;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD done = 0;
  WriteFile(h, bytes.data(), DWORD(bytes.size()), &done, nullptr);
  CloseHandle(h);
  return done == bytes.size();
}

HGLOBAL MakeSmoothPicture(int width, int height) {
  return MakeDib24(width, height, [&](int x, int y, uint8_t p[3]) {
    p[0] = uint8_t(x * 255 / (width - 1));
    p[1] = uint8_t(y * 255 / (height - 1));
    p[2] = uint8_t(128 + (x - y) / 4);
  });
}

}  // namespace quillo::test
