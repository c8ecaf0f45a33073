// AVI capture of a running Water through the in-process studio: the save
// dialog, the "Pages" dialog (record, stop, record again, close), the
// system's compression dialog, and the clip read back through AVIFile.
// The clips stay in CLIP_DIR for the ffprobe check that runs afterwards,
// with a picture of the dialog while it records.
#include <gtest/gtest.h>
#include <windows.h>
#include <vfw.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "app/shell/app_state.h"
#include "app/shell/resource_ids.h"
#include "app/shell/win/open_image.h"
#include "app/host/win/effect_host.h"
#include "contracts/dib_services.h"
#include "contracts/imaging_library.h"
#include "contracts/ui_controls.h"
#include "screenshot.h"
#include "studio_fixture.h"
#include "tests/win/host/water_run.h"
#include "win_test_support.h"

using namespace quillo;
using namespace quillo::test;

namespace {

constexpr int kPictureWidth = 160;
constexpr int kPictureHeight = 120;

std::string ClipFolder() {
  std::string folder = CLIP_DIR;
  for (char& c : folder)
    if (c == '/') c = '\\';
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

int Number(HWND dialog, int id) {
  char text[32] = {};
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return std::atoi(text);
}

std::string Text(HWND dialog, int id) {
  char text[32] = {};
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

// Sets a slider as a drag that ends there would.
void Slide(HWND dialog, int id, int position) {
  SendDlgItemMessageA(dialog, id, SL_SETPOS, WPARAM(position), 1);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

void Click(HWND dialog, int id) { SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

struct FoundDialog {
  HWND exclude[2];
  HWND found;
};

// A visible dialog of this thread holding a combo box: the compression
// dialog (the capture dialog itself has none).
BOOL CALLBACK FindCompressionDialog(HWND window, LPARAM data) {
  auto* f = reinterpret_cast<FoundDialog*>(data);
  char name[16] = {};
  GetClassNameA(window, name, sizeof name);
  if (!IsWindowVisible(window) || std::string(name) != "#32770" || window == f->exclude[0] ||
      window == f->exclude[1])
    return TRUE;
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    GetClassNameA(child, name, sizeof name);
    if (lstrcmpiA(name, "ComboBox") == 0) {
      f->found = window;
      return FALSE;
    }
  }
  return TRUE;
}

HWND CompressionDialog(HWND pages) {
  FoundDialog f{{pages, g_app.effectDialog}, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), FindCompressionDialog, LPARAM(&f));
  return f.found;
}

// Picks the uncompressed "full frames" entry of the compression dialog's
// codec list and presses OK. False while the dialog is not there yet.
bool ChooseFullFrames(HWND pages, std::string* chosen) {
  FoundDialog f{{pages, g_app.effectDialog}, CompressionDialog(pages)};
  if (!f.found) return false;
  for (HWND combo = GetWindow(f.found, GW_CHILD); combo; combo = GetWindow(combo, GW_HWNDNEXT)) {
    char name[16] = {};
    GetClassNameA(combo, name, sizeof name);
    if (lstrcmpiA(name, "ComboBox") != 0) continue;
    const int count = int(SendMessageA(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      char item[256] = {};
      if (SendMessageA(combo, CB_GETLBTEXTLEN, i, 0) >= LRESULT(sizeof item)) continue;
      SendMessageA(combo, CB_GETLBTEXT, i, LPARAM(item));
      std::string lower = item;
      for (char& c : lower) c = char(tolower(static_cast<unsigned char>(c)));
      if (lower.find("full frames") == std::string::npos && lower.find("uncompressed") == std::string::npos)
        continue;
      SendMessageA(combo, CB_SETCURSEL, i, 0);
      SendMessageA(f.found, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE), LPARAM(combo));
      *chosen = item;
      break;
    }
  }
  PostMessageA(f.found, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  return true;
}

// The first frame the capture wrote, copied as the frame showed it: the
// frame procedure is wrapped and watches the frame counter go from 0 to 1.
struct FirstFrameWatch {
  static inline WNDPROC original = nullptr;
  static inline HGLOBAL copy = nullptr;
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND pages = g_app.captureWindows[0];
    const int before = pages && message == FM_EFFECT_FRAME ? Number(pages, IDC_CAPTURE_FRAMES_TEXT) : -1;
    const LRESULT result = CallWindowProcA(original, window, message, wParam, lParam);
    pages = g_app.captureWindows[0];
    if (before == 0 && pages && Number(pages, IDC_CAPTURE_FRAMES_TEXT) == 1 && !copy)
      copy = DuplicateDIB(HGLOBAL(wParam ? wParam : lParam), kDuplicateCopy);
    return result;
  }
  FirstFrameWatch() {
    copy = nullptr;
    original = WNDPROC(SetWindowLongPtrA(g_app.frame, GWLP_WNDPROC, LONG_PTR(Proc)));
  }
  ~FirstFrameWatch() {
    SetWindowLongPtrA(g_app.frame, GWLP_WNDPROC, LONG_PTR(original));
    if (copy) DestroyDIB(copy);
  }
};

// What one capture run saw in the dialogs.
struct CaptureRun {
  bool stopDisabledAtOpen = false, sizeDisabledWhileRecording = false, stepUsableWhileRecording = false;
  bool dialogGone = false, captureGreyedWhileOpen = false, failureMarkShown = false;
  std::string stepText, scaleText, widthText, chosenCodec;
  int widthSlider = 0, heightSlider = 0;
  int firstPart = 0, whileStopped = 0, total = 0;
};

// Options of one run: step and scale set before recording; frames per
// part; how the dialog ends (Close, or destroyed as the frame's end does).
struct RunOptions {
  int step = 1;
  int scale = 100;
  int framesPerPart = 10;
  bool destroyInsteadOfClose = false;
  bool closeBeforeRecording = false;  // with Escape, as the keyboard closes dialogs
  bool cancelCodec = false;           // cancel the compression dialog
  int width = 0, height = 0;          // output size set with the size sliders, when not 0
  std::string photo;                  // a picture of the dialog while it records, for a look
};

class AviCapture : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    started_ = StartStudioOnce();
    AVIFileInit();
    // Clips of earlier runs would be checked as if this run had made them.
    const std::string folder = ClipFolder();
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*.avi*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do DeleteFileA((folder + "\\" + found.cFileName).c_str());
      while (FindNextFileA(search, &found));
      FindClose(search);
    }
  }
  static void TearDownTestSuite() { AVIFileExit(); }
  void SetUp() override {
    ASSERT_EQ(started_, -1);
    ASSERT_NE(OpenImageHandle(MakeTestPicture(kPictureWidth, kPictureHeight), "capture source"), nullptr);
    PumpMessages();
  }
  void TearDown() override {
    if (g_app.captureWindows[0]) DestroyWindow(g_app.captureWindows[0]);
    CloseAllDocuments();
  }

  CaptureRun Capture(const std::string& path, const RunOptions& o) {
    if (g_app.captureWindows[0]) DestroyWindow(g_app.captureWindows[0]);  // left by a failed run
    DeleteFileA(path.c_str());
    CaptureRun run;
    const std::string title = LoadResString(IDS_AVI_SAVE_TITLE);
    HWND save = nullptr, pages = nullptr;
    int target = 0, waited = 0;
    ScriptedUser user;
    user.Then(WaterPlaying).WaitTicks(3).Then([] {
      PostMessageA(g_app.frame, WM_COMMAND, CMD_AVI_CAPTURE, 0);
      return true;
    });
    user.Then([&] {
      save = FindWindowA(nullptr, title.c_str());
      if (!save) return false;
      HWND name = GetDlgItem(save, 0x47C);
      if (!name) name = GetDlgItem(save, 0x480);
      SendMessageA(name, WM_SETTEXT, 0, LPARAM(path.c_str()));
      PostMessageA(save, WM_COMMAND, IDOK, 0);
      return true;
    });
    user.Then([&] {
      pages = g_app.captureWindows[0];
      if (!pages || IsWindow(save)) return false;
      run.stopDisabledAtOpen = !IsWindowEnabled(GetDlgItem(pages, IDC_CAPTURE_STOP));
      HWND button = GetDlgItem(g_app.frame, CMD_AVI_CAPTURE);
      run.captureGreyedWhileOpen = !button || !IsWindowEnabled(button);
      Slide(pages, IDC_CAPTURE_STEP, o.step);
      run.stepText = Text(pages, IDC_CAPTURE_STEP_TEXT);
      Slide(pages, IDC_CAPTURE_SCALE, o.scale);
      run.scaleText = Text(pages, IDC_CAPTURE_SCALE_TEXT);
      run.widthText = Text(pages, IDC_CAPTURE_WIDTH_TEXT);
      run.widthSlider = int(SendDlgItemMessageA(pages, IDC_CAPTURE_WIDTH, SL_GETPOS, 0, 0));
      run.heightSlider = int(SendDlgItemMessageA(pages, IDC_CAPTURE_HEIGHT, SL_GETPOS, 0, 0));
      if (o.width) Slide(pages, IDC_CAPTURE_WIDTH, o.width);
      if (o.height) Slide(pages, IDC_CAPTURE_HEIGHT, o.height);
      if (o.closeBeforeRecording) {
        // The key goes through the running effect's own message loop.
        HWND step = GetDlgItem(pages, IDC_CAPTURE_STEP);
        SetFocus(step);
        PostMessageA(step, WM_KEYDOWN, VK_ESCAPE, 1);
        PostMessageA(step, WM_KEYUP, VK_ESCAPE, 0xC0000001);
        return true;
      }
      Click(pages, IDC_CAPTURE_RECORD);
      run.sizeDisabledWhileRecording = !IsWindowEnabled(GetDlgItem(pages, IDC_CAPTURE_WIDTH)) &&
                                       !IsWindowEnabled(GetDlgItem(pages, IDC_CAPTURE_SCALE)) &&
                                       !IsWindowEnabled(GetDlgItem(pages, IDC_CAPTURE_WIDTH_LABEL)) &&
                                       !IsWindowEnabled(GetDlgItem(pages, IDC_CAPTURE_RECORD));
      run.stepUsableWhileRecording = IsWindowEnabled(GetDlgItem(pages, IDC_CAPTURE_STEP)) != 0;
      if (!o.photo.empty()) {
        UpdateWindow(pages);
        SaveWindowShot(pages, o.photo.c_str());
      }
      return true;
    });
    if (o.cancelCodec) {
      user.Then([&] {
        HWND codec = CompressionDialog(pages);
        if (codec) PostMessageA(codec, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return codec != nullptr;
      });
      user.Then([&] { return !IsWindow(pages); });
    } else if (o.width > 1000 && o.height > 1000) {
      // Frames too large for one stream sample: each one beeps, shows the
      // failure mark and is dropped.
      user.WaitTicks(10).Then([&] {
        run.failureMarkShown = IsWindowVisible(GetDlgItem(pages, IDC_CAPTURE_FAILED)) != 0;
        run.total = Number(pages, IDC_CAPTURE_FRAMES_TEXT);
        Click(pages, IDCANCEL);
        return true;
      });
    } else if (!o.closeBeforeRecording) {
      user.Then([&] { return ChooseFullFrames(pages, &run.chosenCodec); });
      user.Then([&] {
        if (Number(pages, IDC_CAPTURE_FRAMES_TEXT) < o.framesPerPart) return false;
        Click(pages, IDC_CAPTURE_STOP);
        run.firstPart = Number(pages, IDC_CAPTURE_FRAMES_TEXT);
        return true;
      });
      user.WaitTicks(8).Then([&] {
        run.whileStopped = Number(pages, IDC_CAPTURE_FRAMES_TEXT);
        Click(pages, IDC_CAPTURE_RECORD);
        target = run.whileStopped + o.framesPerPart;
        return true;
      });
      user.Then([&] {
        if (Number(pages, IDC_CAPTURE_FRAMES_TEXT) < target) return false;
        run.total = Number(pages, IDC_CAPTURE_FRAMES_TEXT);
        if (o.destroyInsteadOfClose) DestroyWindow(pages);  // as the frame's WM_DESTROY does
        else Click(pages, IDCANCEL);
        return true;
      });
    }
    user.Then([&] {
      run.dialogGone = !IsWindow(pages) && !g_app.captureWindows[0];
      return run.dialogGone || ++waited > 50;
    });
    user.Then(CancelWater).Then([] { return !WaterPlaying(); }).Then(CancelWater);
    RunEffect(WaterRecord());
    EXPECT_TRUE(user.finished());
    return run;
  }

  static inline int started_ = 0;
};

// What AVIFile reads back of a clip.
struct Clip {
  HRESULT opened = E_FAIL;
  AVISTREAMINFOA info = {};
  BITMAPINFOHEADER format = {};
  LONG formatBytes = 0;
  std::vector<LONG> sampleBytes;  // bytes of every position 0 .. length - 1
  std::vector<uint8_t> first;     // bits of sample 0
};

Clip ReadClip(const std::string& path) {
  Clip clip;
  PAVIFILE file = nullptr;
  clip.opened = AVIFileOpenA(&file, path.c_str(), OF_READ, nullptr);
  if (clip.opened != AVIERR_OK) return clip;
  PAVISTREAM stream = nullptr;
  if (AVIFileGetStream(file, &stream, streamtypeVIDEO, 0) == AVIERR_OK) {
    AVIStreamInfoA(stream, &clip.info, sizeof clip.info);
    std::vector<uint8_t> format(1024);
    clip.formatBytes = LONG(format.size());
    if (AVIStreamReadFormat(stream, 0, format.data(), &clip.formatBytes) == AVIERR_OK &&
        clip.formatBytes >= LONG(sizeof clip.format))
      std::memcpy(&clip.format, format.data(), sizeof clip.format);
    for (LONG i = 0; i < LONG(clip.info.dwLength); ++i) {
      LONG bytes = 0, samples = 0;
      if (AVIStreamRead(stream, i, 1, nullptr, 0, &bytes, &samples) != AVIERR_OK) bytes = -1;
      clip.sampleBytes.push_back(bytes);
      if (i == 0 && bytes > 0) {
        clip.first.resize(size_t(bytes));
        AVIStreamRead(stream, 0, 1, clip.first.data(), bytes, nullptr, nullptr);
      }
    }
    AVIStreamRelease(stream);
  }
  AVIFileRelease(file);
  return clip;
}

// What the ffprobe check expects of a clip: frames (stream samples),
// width, height, duration in seconds.
void WriteExpectation(const std::string& path, LONG samples, int width, int height) {
  std::ofstream out(path + ".expect");
  char line[96];
  std::snprintf(line, sizeof line, "%ld %d %d %.1f\n", long(samples), width, height, samples / 5.0);
  out << line;
}

void CheckStreamFormat(const Clip& clip, int width, int height) {
  EXPECT_EQ(clip.info.fccType, streamtypeVIDEO);
  EXPECT_EQ(clip.info.dwRate, 5u);
  EXPECT_EQ(clip.info.dwScale, 1u);
  EXPECT_EQ(clip.info.rcFrame.right - clip.info.rcFrame.left, width);
  EXPECT_EQ(clip.info.rcFrame.bottom - clip.info.rcFrame.top, height);
  const DWORD stride = (DWORD(width) * 24 + 31) / 32 * 4;
  EXPECT_EQ(clip.info.dwSuggestedBufferSize, stride * DWORD(height));
  EXPECT_EQ(clip.formatBytes, 40) << "no colour table";
  EXPECT_EQ(clip.format.biSize, 40u);
  EXPECT_EQ(clip.format.biWidth, width);
  EXPECT_EQ(clip.format.biHeight, height);
  EXPECT_EQ(clip.format.biPlanes, 1);
  EXPECT_EQ(clip.format.biBitCount, 24);
  EXPECT_EQ(clip.format.biCompression, DWORD(BI_RGB));
  EXPECT_EQ(clip.format.biClrUsed, 0u);
}

TEST_F(AviCapture, TwentyFramesAtStepOneKeepTheEffectsPixels) {
  const std::string path = ClipFolder() + "\\step1.avi";
  FirstFrameWatch watch;
  RunOptions options;
  options.photo = ClipFolder() + "\\pages.png";
  const CaptureRun run = Capture(path, options);
  EXPECT_TRUE(run.stopDisabledAtOpen);
  EXPECT_TRUE(run.captureGreyedWhileOpen);
  EXPECT_TRUE(run.sizeDisabledWhileRecording);
  EXPECT_TRUE(run.stepUsableWhileRecording);
  EXPECT_TRUE(run.dialogGone);
  EXPECT_EQ(run.stepText, "1");
  EXPECT_EQ(run.scaleText, "1.00");
  EXPECT_EQ(run.widthText, "160");
  EXPECT_FALSE(run.chosenCodec.empty()) << "no full-frames entry in the compression dialog";
  EXPECT_GE(run.firstPart, 10);
  EXPECT_EQ(run.whileStopped, run.firstPart) << "frames while stopped are not written";
  EXPECT_GE(run.total, 20);

  const Clip clip = ReadClip(path);
  ASSERT_EQ(clip.opened, AVIERR_OK);
  CheckStreamFormat(clip, kPictureWidth, kPictureHeight);
  // One sample per frame, no gap where recording stopped.
  EXPECT_EQ(LONG(clip.info.dwLength), run.total);
  const LONG frameBytes = (kPictureWidth * 3 + 3) / 4 * 4 * kPictureHeight;
  for (size_t i = 0; i < clip.sampleBytes.size(); ++i) EXPECT_EQ(clip.sampleBytes[i], frameBytes) << i;
  ASSERT_NE(watch.copy, nullptr);
  EXPECT_TRUE(clip.first == DibPixels(watch.copy)) << "the first frame as the effect drew it";
  WriteExpectation(path, LONG(clip.info.dwLength), kPictureWidth, kPictureHeight);
}

TEST_F(AviCapture, StepThreeAtHalfScaleSpacesResampledFramesAndSurvivesTheWindowsEnd) {
  const std::string path = ClipFolder() + "\\step3.avi";
  FirstFrameWatch watch;
  RunOptions options;
  options.step = 3;
  options.scale = 50;
  options.framesPerPart = 4;
  options.destroyInsteadOfClose = true;
  const CaptureRun run = Capture(path, options);
  EXPECT_EQ(run.stepText, "3");
  EXPECT_EQ(run.scaleText, "0.50");
  EXPECT_EQ(run.widthText, "160") << "the size texts stay until their sliders are touched";
  EXPECT_EQ(run.widthSlider, 80);
  EXPECT_EQ(run.heightSlider, 60);
  EXPECT_TRUE(run.dialogGone);
  ASSERT_GE(run.total, 8);

  const Clip clip = ReadClip(path);
  ASSERT_EQ(clip.opened, AVIERR_OK) << "the streams were released with the window";
  CheckStreamFormat(clip, 80, 60);
  // Frames at 0, 3, 6, ... across the stop and the second record.
  EXPECT_EQ(LONG(clip.info.dwLength), 3 * (run.total - 1) + 1);
  const LONG frameBytes = 80 * 3 * 60;
  for (size_t i = 0; i < clip.sampleBytes.size(); ++i)
    EXPECT_EQ(clip.sampleBytes[i], i % 3 == 0 ? frameBytes : 0) << i;
  // Resampled from the whole frame, not cut out of it.
  ASSERT_NE(watch.copy, nullptr);
  HGLOBAL zoomed = ZoomDIBEx(watch.copy, 80, 60);
  ASSERT_NE(zoomed, nullptr);
  EXPECT_TRUE(clip.first == DibPixels(zoomed));
  DestroyDIB(zoomed);
  WriteExpectation(path, LONG(clip.info.dwLength), 80, 60);
}

TEST_F(AviCapture, NoFileWithoutAFrameOrWithFramesTooLargeToWrite) {
  // Closed (with Escape) before any frame arrived.
  const std::string path = ClipFolder() + "\\unused.avi";
  RunOptions options;
  options.closeBeforeRecording = true;
  CaptureRun run = Capture(path, options);
  EXPECT_TRUE(run.dialogGone);
  EXPECT_FALSE(Exists(path));

  // 32767 x 32767 x 3 bytes do not fit one sample's 32-bit size.
  options = RunOptions{};
  options.width = options.height = 32767;
  run = Capture(path, options);
  EXPECT_TRUE(run.failureMarkShown);
  EXPECT_EQ(run.total, 0);
  EXPECT_TRUE(run.dialogGone);
  EXPECT_FALSE(Exists(path));
}

TEST_F(AviCapture, CancellingTheCodecEndsTheCaptureQuietly) {
  const std::string path = ClipFolder() + "\\cancelled.avi";
  RunOptions options;
  options.cancelCodec = true;
  const CaptureRun run = Capture(path, options);
  EXPECT_TRUE(run.dialogGone);
  EXPECT_EQ(g_app.captureWindows[0], nullptr);
  DeleteFileA(path.c_str());  // what AVIFile made of it is no clip
}

}  // namespace
