#include "win_test_support.h"

#include <cstring>
#include <map>
#include <memory>

namespace quillo::test {

std::string ProgramDir() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string s(path);
  size_t slash = s.find_last_of("\\/");
  return slash == std::string::npos ? std::string(".") : s.substr(0, slash);
}

static int Stride24(int width) { return ((width * 24 + 31) / 32) * 4; }

HGLOBAL MakeDib24(int width, int height, const PixelFunction& pixel) {
  const int stride = Stride24(width);
  const SIZE_T bytes = sizeof(BITMAPINFOHEADER) + SIZE_T(stride) * height;
  HGLOBAL h = GlobalAlloc(GHND, bytes);
  if (!h) return nullptr;
  auto* base = static_cast<uint8_t*>(GlobalLock(h));
  auto* bih = reinterpret_cast<BITMAPINFOHEADER*>(base);
  bih->biSize = sizeof(BITMAPINFOHEADER);
  bih->biWidth = width;
  bih->biHeight = height;
  bih->biPlanes = 1;
  bih->biBitCount = 24;
  bih->biCompression = BI_RGB;
  bih->biSizeImage = stride * height;
  uint8_t* bits = base + sizeof(BITMAPINFOHEADER);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) pixel(x, y, bits + SIZE_T(height - 1 - y) * stride + x * 3);
  GlobalUnlock(h);
  return h;
}

HGLOBAL MakeTestPicture(int width, int height) {
  return MakeDib24(width, height, [&](int x, int y, uint8_t p[3]) {
    p[0] = uint8_t((x * 255) / (width > 1 ? width - 1 : 1));
    p[1] = uint8_t((y * 255) / (height > 1 ? height - 1 : 1));
    p[2] = uint8_t((x * 7 + y * 13) & 0xFF);
  });
}

std::vector<uint8_t> TestPicturePixels(int width, int height) {
  HGLOBAL fresh = MakeTestPicture(width, height);
  std::vector<uint8_t> pixels = DibPixels(fresh);
  GlobalFree(fresh);
  return pixels;
}

std::vector<uint8_t> DibPixels(HGLOBAL dib) {
  auto* base = static_cast<uint8_t*>(GlobalLock(dib));
  auto* bih = reinterpret_cast<BITMAPINFOHEADER*>(base);
  const size_t bytes = size_t(Stride24(bih->biWidth)) * bih->biHeight;
  std::vector<uint8_t> out(base + bih->biSize, base + bih->biSize + bytes);
  GlobalUnlock(dib);
  return out;
}

void DibPixel(HGLOBAL dib, int x, int y, uint8_t bgr[3]) {
  auto* base = static_cast<uint8_t*>(GlobalLock(dib));
  auto* bih = reinterpret_cast<BITMAPINFOHEADER*>(base);
  const uint8_t* p = base + bih->biSize + size_t(bih->biHeight - 1 - y) * Stride24(bih->biWidth) + x * 3;
  std::memcpy(bgr, p, 3);
  GlobalUnlock(dib);
}

static std::map<HWND, RecordingHost*>& Hosts() {
  static std::map<HWND, RecordingHost*> hosts;
  return hosts;
}

RecordingHost::RecordingHost() {
  static bool registered = false;
  if (!registered) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "QuilloRecordingHost";
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    RegisterClassA(&wc);
    registered = true;
  }
  window_ = CreateWindowA("QuilloRecordingHost", "host", WS_OVERLAPPEDWINDOW, 0, 0, 320, 240,
                          nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  Hosts()[window_] = this;
}

RecordingHost::~RecordingHost() {
  Hosts().erase(window_);
  DestroyWindow(window_);
}

int RecordingHost::Count(UINT message) const {
  int n = 0;
  for (const auto& e : messages_) n += e.message == message;
  return n;
}

int RecordingHost::CountCommand(int id) const {
  int n = 0;
  for (const Entry& e : messages_)
    if (e.message == WM_COMMAND && LOWORD(e.wParam) == id) ++n;
  return n;
}

LRESULT CALLBACK RecordingHost::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto it = Hosts().find(hwnd);
  if (it != Hosts().end() && (msg >= WM_USER || msg == WM_COMMAND)) {
    it->second->messages_.push_back({msg, wp, lp});
    if (msg == 2069) return lp;  // map rect: image and window pixels coincide here
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

static ScriptedUser* g_script = nullptr;

ScriptedUser::ScriptedUser(UINT intervalMs) {
  g_script = this;
  timer_ = SetTimer(nullptr, 0, intervalMs, Tick);
}

ScriptedUser::~ScriptedUser() {
  KillTimer(nullptr, timer_);
  g_script = nullptr;
}

ScriptedUser& ScriptedUser::Then(Step step) {
  steps_.push_back(std::move(step));
  return *this;
}

ScriptedUser& ScriptedUser::Command(HWND* dialog, int id, LPARAM lParam) {
  return Then([dialog, id, lParam] {
    if (!*dialog) return false;
    PostMessageA(*dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), lParam);
    return true;
  });
}

ScriptedUser& ScriptedUser::WaitTicks(int ticks) {
  auto left = std::make_shared<int>(ticks);
  return Then([left] { return --*left <= 0; });
}

void CALLBACK ScriptedUser::Tick(HWND, UINT, UINT_PTR, DWORD) {
  if (g_script) g_script->Run();
}

void ScriptedUser::Run() {
  if (running_ || next_ >= steps_.size()) return;
  running_ = true;  // a step may pump messages; don't re-enter
  if (steps_[next_]()) ++next_;
  running_ = false;
}

}  // namespace quillo::test
