#include "saver_process.h"

#include "win_test_support.h"

void PumpMessages(DWORD ms, HANDLE handle) {
  const DWORD start = GetTickCount();
  for (DWORD elapsed = 0; elapsed <= ms; elapsed = GetTickCount() - start) {
    const DWORD count = handle ? 1 : 0;
    if (MsgWaitForMultipleObjects(count, &handle, FALSE, ms - elapsed, QS_ALLINPUT) == WAIT_OBJECT_0 &&
        handle)
      return;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
}

bool PumpUntil(const std::function<bool()>& done, DWORD ms) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start >= ms) return false;
    PumpMessages(20);
  }
  return true;
}

std::string Decimal(HWND window) {
  return std::to_string(reinterpret_cast<UINT_PTR>(window));
}

SaverProcess::SaverProcess(const std::string& arguments, const std::string& program) {
  const std::string dir = quillo::test::ProgramDir();
  const std::string path = program.empty() ? dir + "\\QuilloTestSaver.scr" : program;
  std::string line = "\"" + path + "\" " + arguments;
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  started_ = CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si,
                            &process_);
}

SaverProcess::~SaverProcess() {
  if (!started_) return;
  if (WaitExit(0) == -1) TerminateProcess(process_.hProcess, 9);
  CloseHandle(process_.hProcess);
  CloseHandle(process_.hThread);
}

std::vector<HWND> SaverProcess::Windows(HWND parent) const {
  std::vector<HWND> found;
  for (HWND w = FindWindowExA(parent, nullptr, nullptr, nullptr); w;
       w = FindWindowExA(parent, w, nullptr, nullptr)) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == process_.dwProcessId && IsWindowVisible(w)) found.push_back(w);
  }
  return found;
}

HWND SaverProcess::WaitWindow(HWND parent, DWORD ms) {
  HWND found = nullptr;
  PumpUntil([&] {
    const std::vector<HWND> windows = Windows(parent);
    found = windows.empty() ? nullptr : windows.front();
    return found != nullptr;
  }, ms);
  return found;
}

int SaverProcess::WaitExit(DWORD ms) {
  PumpMessages(ms, process_.hProcess);
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(process_.hProcess, &code);
  return WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0 ? int(code) : -1;
}
