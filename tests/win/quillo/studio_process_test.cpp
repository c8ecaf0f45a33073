// The real Quillo.exe started as a user would: command-line switches and the
// remembered frame position.
#include <gtest/gtest.h>

#include <string>

#include "win_test_support.h"

using namespace quillo::test;

namespace {

constexpr char kSettings[] = "bexadbms.ini";

// Starts Quillo.exe with `arguments`; the process is ended when destroyed.
class StudioProcess {
 public:
  explicit StudioProcess(const std::string& arguments) {
    std::string line = "\"" + ProgramDir() + "\\Quillo.exe\" " + arguments;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    started_ = CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              ProgramDir().c_str(), &si, &process_);
  }
  ~StudioProcess() {
    if (!started_) return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
      if (HWND frame = Frame()) PostMessageA(frame, WM_CLOSE, 0, 0);
      if (WaitForSingleObject(process_.hProcess, 5000) == WAIT_TIMEOUT)
        TerminateProcess(process_.hProcess, 9);
    }
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
  }
  bool started() const { return started_; }
  // Exit code once the process ended within `ms`, or -1.
  int WaitExit(DWORD ms) {
    if (WaitForSingleObject(process_.hProcess, ms) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    return int(code);
  }
  // The studio's frame once it shows (the start-up logo is clicked away).
  HWND WaitFrame(DWORD ms = 15000) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
      if (HWND logo = FindWindowA("BEXALogo", nullptr)) PostMessageA(logo, WM_LBUTTONDOWN, 0, 0);
      HWND frame = Frame();
      if (frame && IsWindowVisible(frame) && !FindWindowA("BEXALogo", nullptr)) return frame;
      Sleep(50);
    }
    return nullptr;
  }
  HWND Frame() const {
    HWND frame = nullptr;
    while ((frame = FindWindowExA(nullptr, frame, "bxView", nullptr)))
      if (WindowProcess(frame) == process_.dwProcessId) return frame;
    return nullptr;
  }

 private:
  static DWORD WindowProcess(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid;
  }
  PROCESS_INFORMATION process_ = {};
  bool started_ = false;
};

std::string ReadSetting(const char* section, const char* key) {
  char value[300] = {};
  GetPrivateProfileStringA(section, key, "", value, sizeof value, kSettings);
  return value;
}

int DocumentCount(HWND frame) {
  HWND client = FindWindowExA(frame, nullptr, "MDIClient", nullptr);
  int count = 0;
  for (HWND child = client ? FindWindowExA(client, nullptr, "bxViewChild", nullptr) : nullptr; child;
       child = FindWindowExA(client, child, "bxViewChild", nullptr))
    ++count;
  return count;
}

}  // namespace

TEST(StudioProcess, SaveDirectoryOnlyWritesTheFolderAndShowsNoWindow) {
  WritePrivateProfileStringA("Funny", "Directory", nullptr, kSettings);
  StudioProcess studio("Save Directory only");
  ASSERT_TRUE(studio.started());
  EXPECT_EQ(studio.WaitExit(15000), 1);
  EXPECT_EQ(studio.Frame(), nullptr);
  EXPECT_EQ(lstrcmpiA(ReadSetting("Funny", "Directory").c_str(), ProgramDir().c_str()), 0)
      << ReadSetting("Funny", "Directory");
}

TEST(StudioProcess, WindowPositionIsTakenOnlyWhenPlausible) {
  // A zero width is ignored: the frame does not start at the stored corner.
  WritePrivateProfileStringA("BXView", "WinPos", "33 44 0 400", kSettings);
  {
    StudioProcess studio("");
    HWND frame = studio.WaitFrame();
    ASSERT_NE(frame, nullptr);
    RECT r;
    GetWindowRect(frame, &r);
    EXPECT_FALSE(r.left == 33 && r.top == 44);
    EXPECT_FALSE(IsZoomed(frame));
  }
  // A plausible value followed by " 1" starts maximised.
  WritePrivateProfileStringA("BXView", "WinPos", "20 30 700 500 1", kSettings);
  {
    StudioProcess studio("");
    HWND frame = studio.WaitFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(IsZoomed(frame));
  }
  WritePrivateProfileStringA("BXView", "WinPos", nullptr, kSettings);
}

TEST(StudioProcess, DeveloperSwitchesOpenNothingAndAFileArgumentOpens) {
  {
    StudioProcess studio("SAVE_DIB_HANDLE");
    HWND frame = studio.WaitFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(DocumentCount(frame), 0);
  }
  {
    StudioProcess studio("\"" + ProgramDir() + "\\Samples\\chelsea.png\"");
    HWND frame = studio.WaitFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(DocumentCount(frame), 1);
  }
}

TEST(StudioProcess, DestroyingTheFrameDuringAnEffectStillSavesAndQuits) {
  WritePrivateProfileStringA("BXView", "WinPos", nullptr, kSettings);
  StudioProcess studio("");
  HWND frame = studio.WaitFrame();
  ASSERT_NE(frame, nullptr);
  SendMessageA(frame, 2065, 0, 1);  // an effect is active
  PostMessageA(frame, WM_CLOSE, 0, 0);
  Sleep(300);
  EXPECT_TRUE(IsWindow(frame)) << "closing must be refused while an effect is active";
  // The window is going anyway (as when the session ends): settings are
  // written and the program ends instead of running on without a frame.
  PostMessageA(frame, WM_DESTROY, 0, 0);
  EXPECT_EQ(studio.WaitExit(15000), 0);
  EXPECT_FALSE(ReadSetting("BXView", "WinPos").empty());
}
