// Helpers for the Windows tests: build DIBs without the library under test,
// a host window that records what a plug-in sends it, and a scripted "user"
// that acts from a thread timer while a plug-in runs its own message loop.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace quillo::test {

// Folder of the running test program (the build's bin folder, where every
// deliverable lies).
std::string ProgramDir();

// A packed 24-bit DIB in movable memory; pixel(x, y) gives blue, green, red
// for column x, row y counted from the top.
using PixelFunction = std::function<void(int x, int y, uint8_t bgr[3])>;
HGLOBAL MakeDib24(int width, int height, const PixelFunction& pixel);
// A gradient-and-stripes picture with every byte value present.
HGLOBAL MakeTestPicture(int width, int height);
// The pixels of a fresh MakeTestPicture(width, height).
std::vector<uint8_t> TestPicturePixels(int width, int height);
// Copy of the pixel bytes of a 24-bit DIB (rows bottom-up, padded).
std::vector<uint8_t> DibPixels(HGLOBAL dib);
// Blue, green, red of pixel (x, y), y from the top.
void DibPixel(HGLOBAL dib, int x, int y, uint8_t bgr[3]);

// A top-level window standing in for a host frame and view: it records every
// message at or above WM_USER and every WM_COMMAND, answers 2069 with the
// RECT it was given.
class RecordingHost {
 public:
  RecordingHost();
  ~RecordingHost();
  HWND window() const { return window_; }
  struct Entry { UINT message; WPARAM wParam; LPARAM lParam; };
  const std::vector<Entry>& messages() const { return messages_; }
  int Count(UINT message) const;
  // WM_COMMAND messages with this command identifier.
  int CountCommand(int id) const;
  void Clear() { messages_.clear(); }

 private:
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
  HWND window_ = nullptr;
  std::vector<Entry> messages_;
};

// Runs steps one after another from a thread timer, so they execute inside
// whatever message loop is running (a plug-in's own loop included). Each step
// returns true when done, false to be called again at the next tick (for
// waiting on a condition). Steps stop when the script is destroyed.
class ScriptedUser {
 public:
  using Step = std::function<bool()>;
  explicit ScriptedUser(UINT intervalMs = 20);
  ~ScriptedUser();
  ScriptedUser& Then(Step step);
  // Convenience steps.
  ScriptedUser& Command(HWND* dialog, int id, LPARAM lParam = 0);  // WM_COMMAND as a click sends
  ScriptedUser& WaitTicks(int ticks);
  bool finished() const { return next_ >= steps_.size(); }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
  void Run();
  std::vector<Step> steps_;
  size_t next_ = 0;
  UINT_PTR timer_ = 0;
  bool running_ = false;
};

}  // namespace quillo::test
