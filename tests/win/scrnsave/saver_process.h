// The test saver started as its own process, and the windows it shows. Every
// wait pumps this thread's messages: the saver's preview child and dialogs
// owned by a test window send messages to this thread.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class SaverProcess {
 public:
  // `program` is the saver's full path; empty starts the test saver of the
  // build's bin folder.
  explicit SaverProcess(const std::string& arguments, const std::string& program = {});
  ~SaverProcess();  // ends the saver if it still runs
  bool started() const { return started_; }
  // Visible top-level windows of the saver, or its children of `parent`.
  std::vector<HWND> Windows(HWND parent = nullptr) const;
  // The first such window to show within `ms`, or null.
  HWND WaitWindow(HWND parent = nullptr, DWORD ms = 5000);
  // The exit code once the saver ended within `ms`, or -1.
  int WaitExit(DWORD ms = 5000);

 private:
  PROCESS_INFORMATION process_ = {};
  bool started_ = false;
};

// Handles this thread's messages for up to `ms`, returning early once
// `handle` is signalled (if given).
void PumpMessages(DWORD ms, HANDLE handle = nullptr);
// Handles this thread's messages until `done` holds (checked every 20 ms) or
// `ms` passed; whether it holds.
bool PumpUntil(const std::function<bool()>& done, DWORD ms = 5000);
// A saver command line argument naming `window` in decimal.
std::string Decimal(HWND window);
