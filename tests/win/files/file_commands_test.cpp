// Opening and saving through the studio in this process: raw DIB blocks,
// GIF files, the developer dump switches, the Save dialog with its checks
// and the overwrite question, and the animation interval dialog.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cctype>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/shell/app_state.h"
#include "app/shell/document_window.h"
#include "app/shell/resource_ids.h"
#include "app/shell/win/document_record.h"
#include "app/shell/win/frame_window.h"
#include "app/shell/win/open_image.h"
#include "app/shell/win/studio.h"
#include "contracts/dib_services.h"
#include "contracts/image_codecs.h"
#include "contracts/ui_controls.h"
#include "message_box_watcher.h"
#include "studio_fixture.h"
#include "win_test_support.h"

using namespace quillo;
using namespace quillo::test;

namespace {

bool SamePathCase(const std::string& a, const std::string& b) {
  std::string x = a, y = b;
  for (auto* s : {&x, &y})
    for (char& c : *s) c = c == '/' ? '\\' : char(std::tolower(static_cast<unsigned char>(c)));
  return x == y;
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::string& path, const void* data, size_t size) {
  std::ofstream(path, std::ios::binary).write(static_cast<const char*>(data), std::streamsize(size));
}

std::vector<uint8_t> BlockBytes(HGLOBAL dib) {
  const auto* p = static_cast<const uint8_t*>(GlobalLock(dib));
  std::vector<uint8_t> bytes(p, p + GlobalSize(dib));
  GlobalUnlock(dib);
  return bytes;
}

class FileCommands : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    WritePrivateProfileStringA("FunHist", "i1", "", "bexadbms.ini");
    started_ = StartInProcessStudio();
  }
  static void TearDownTestSuite() {
    StopInProcessStudio();
  }
  void SetUp() override {
    ASSERT_EQ(started_, -1);
    dir_ = ProgramDir() + "\\files_case";
    CreateDirectoryA(dir_.c_str(), nullptr);
  }
  void TearDown() override {
    g_app.saveDibHandle = g_app.saveGrayDib = g_app.saveBmpHandle = false;
    while (HWND document = ActiveDocument()) SendMessageA(g_app.mdiClient, WM_MDIDESTROY, WPARAM(document), 0);
    Pump();
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((dir_ + "\\*").c_str(), &found);
    if (h != INVALID_HANDLE_VALUE) {
      do DeleteFileA((dir_ + "\\" + found.cFileName).c_str());
      while (FindNextFileA(h, &found));
      FindClose(h);
    }
    RemoveDirectoryA(dir_.c_str());
  }
  static void Pump() { PumpMessages(5); }
  std::string Path(const char* name) const { return dir_ + "\\" + name; }

  static inline int started_ = 0;
  std::string dir_;
};

TEST_F(FileCommands, RawDibBlocksOpenInAnyCaseAndLyingHeadersAreRefused) {
  HGLOBAL picture = MakeTestPicture(13, 7);
  const std::vector<uint8_t> block = BlockBytes(picture);
  const std::vector<uint8_t> pixels = DibPixels(picture);
  DestroyDIB(picture);
  for (const char* name : {"a.di", "b.Di", "c.dI"}) {
    WriteBytes(Path(name), block.data(), block.size());
    HWND document = OpenImageFile(g_app.frame, Path(name).c_str());
    ASSERT_NE(document, nullptr) << name;
    EXPECT_EQ(CurrentSlot(document)->width, 13);
    EXPECT_EQ(DibPixels(CurrentImage(document)), pixels);
  }
  // A header that claims more rows than the file holds, or a size of 0.
  MessageBoxWatcher boxes;
  std::vector<uint8_t> lying = block;
  int32_t height = 7000;
  std::memcpy(lying.data() + 8, &height, 4);
  WriteBytes(Path("lying.di"), lying.data(), lying.size());
  EXPECT_EQ(OpenImageFile(g_app.frame, Path("lying.di").c_str()), nullptr);
  WriteBytes(Path("short.di"), block.data(), 30);
  EXPECT_EQ(OpenImageFile(g_app.frame, Path("short.di").c_str()), nullptr);
  const auto shown = boxes.boxes();
  ASSERT_EQ(shown.size(), 2u) << boxes.Describe();
  EXPECT_EQ(shown[0].text, LoadResString(IDS_CANNOT_OPEN));
  EXPECT_EQ(shown[0].caption, Path("lying.di"));
}

TEST_F(FileCommands, GifsOpenAsPicturesOrPlayAsAnimations) {
  const std::string corpus = QUILLO_CORPUS_DIR "/gif/";
  HWND still = OpenImageFile(g_app.frame, (corpus + "2x2.gif").c_str());
  ASSERT_NE(still, nullptr);
  EXPECT_EQ(RecordOf(still)->animation, nullptr);
  EXPECT_EQ(CurrentSlot(still)->width, 2);

  EXPECT_TRUE(SamePathCase(RecentFilePath(0), corpus + "2x2.gif"));
  HWND moving = OpenImageFile(g_app.frame, (corpus + "gifplayer-muybridge.gif").c_str());
  ASSERT_NE(moving, nullptr);
  ASSERT_NE(RecordOf(moving)->animation, nullptr);
  EXPECT_EQ(CurrentSlot(moving)->width, 472);
  // An animation ends the open before the recent-files list.
  EXPECT_TRUE(SamePathCase(RecentFilePath(0), corpus + "2x2.gif")) << RecentFilePath(0);
  // The frame advances once the interval has passed.
  const int interval = g_app.animationInterval;
  g_app.animationInterval = 100;
  const int before = RecordOf(moving)->animationFrame;
  for (int i = 0; i < 30 && RecordOf(moving)->animationFrame == before; ++i) Pump();
  EXPECT_NE(RecordOf(moving)->animationFrame, before);
  g_app.animationInterval = interval;
}

// Makes every document window created meanwhile lose its record right after
// creation, so setting up its picture fails (as running out of memory would).
class RecordlessWindows {
 public:
  RecordlessWindows() {
    hook_ = SetWindowsHookExA(WH_CALLWNDPROCRET, Hook, nullptr, GetCurrentThreadId());
  }
  ~RecordlessWindows() { UnhookWindowsHookEx(hook_); }

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    char name[32] = {};
    if (code == HC_ACTION && call->message == WM_CREATE && call->lResult == 0 &&
        GetClassNameA(call->hwnd, name, sizeof name) && lstrcmpA(name, "bxViewChild") == 0)
      SetWindowLongPtrA(call->hwnd, 0, 0);  // the view keeps the record and frees it
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  HHOOK hook_ = nullptr;
};

int DocumentCount() {
  int count = 0;
  for (HWND child = GetWindow(g_app.mdiClient, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (char name[32] = {}; GetClassNameA(child, name, sizeof name) && lstrcmpA(name, "bxViewChild") == 0)
      ++count;
  return count;
}

TEST_F(FileCommands, APictureThatCannotBeSetUpLeavesNoEmptyWindow) {
  const std::string corpus = QUILLO_CORPUS_DIR "/gif/";
  HGLOBAL picture = MakeTestPicture(13, 7);
  WriteBytes(Path("ok.di"), GlobalLock(picture), GlobalSize(picture));
  GlobalUnlock(picture);
  DestroyDIB(picture);
  const int before = DocumentCount();
  MessageBoxWatcher boxes;
  {
    RecordlessWindows failing;
    EXPECT_EQ(OpenImageFile(g_app.frame, Path("ok.di").c_str()), nullptr);
    EXPECT_EQ(OpenImageFile(g_app.frame, (corpus + "gifplayer-muybridge.gif").c_str()), nullptr);
  }
  Pump();
  EXPECT_EQ(DocumentCount(), before);
  const auto shown = boxes.boxes();
  ASSERT_EQ(shown.size(), 2u) << boxes.Describe();
  EXPECT_EQ(shown[0].text, LoadResString(IDS_CANNOT_OPEN));
  EXPECT_EQ(shown[0].caption, Path("ok.di"));
  EXPECT_EQ(shown[1].text, LoadResString(IDS_CANNOT_OPEN));
}

TEST_F(FileCommands, DumpSwitchesWriteBesideTheFileButNeverOverTheOpenedOne) {
  HGLOBAL picture = MakeTestPicture(5, 3);
  ASSERT_TRUE(SaveDIB(picture, Path("pic-1.bmp").c_str()));
  g_app.saveDibHandle = g_app.saveGrayDib = g_app.saveBmpHandle = true;
  ASSERT_NE(OpenImageFile(g_app.frame, Path("pic-1.bmp").c_str()), nullptr);
  HGLOBAL raw = ReadRawDibFile(Path("pic-1.di").c_str());
  ASSERT_NE(raw, nullptr);
  EXPECT_EQ(DibPixels(raw), DibPixels(picture));
  DestroyDIB(raw);
  const std::vector<uint8_t> grey = ReadBytes(Path("pic-1.Gray"));
  ASSERT_EQ(grey.size(), 15u);
  uint8_t bgr[3];
  DibPixel(picture, 0, 2, bgr);  // the first stored row is the bottom one
  EXPECT_EQ(grey[0], (bgr[0] + bgr[1] + bgr[2]) / 3);
  // The bitmap dump replaces every minus sign of the whole path, so it is
  // checked in a folder whose name has none.
  CreateDirectoryA("C:\\dump_case", nullptr);
  ASSERT_TRUE(SaveDIB(picture, "C:\\dump_case\\pic-2.bmp"));
  ASSERT_NE(OpenImageFile(g_app.frame, "C:\\dump_case\\pic-2.bmp"), nullptr);
  HGLOBAL dumped = LoadDIB("C:\\dump_case\\pic_2.DIB");
  ASSERT_NE(dumped, nullptr);
  EXPECT_EQ(DibPixels(dumped), DibPixels(picture));
  DestroyDIB(dumped);
  for (const char* name : {"pic-2.bmp", "pic_2.DIB", "pic-2.di", "pic-2.Gray"})
    DeleteFileA((std::string("C:\\dump_case\\") + name).c_str());
  RemoveDirectoryA("C:\\dump_case");

  // Opening the raw block with the same switch would write it onto itself.
  const std::vector<uint8_t> before = ReadBytes(Path("pic-1.di"));
  ASSERT_NE(OpenImageFile(g_app.frame, Path("pic-1.di").c_str()), nullptr);
  EXPECT_EQ(ReadBytes(Path("pic-1.di")), before);
  DestroyDIB(picture);
}

// Drives the Save dialog: picks a format and a depth and types a name.
void DriveSave(ScriptedUser& user, int format, int depthButton, std::string name, bool ok = true) {
  user.Then([] { return FindWindowA("#32770", "Save Picture") != nullptr; })
      .Then([format, depthButton, name] {
        HWND d = FindWindowA("#32770", "Save Picture");
        SendDlgItemMessageA(d, 100, LB_SETCURSEL, WPARAM(format), 0);
        SendMessageA(d, WM_COMMAND, MAKEWPARAM(100, LBN_SELCHANGE), LPARAM(GetDlgItem(d, 100)));
        CheckRadioButton(d, 101, 104, depthButton);
        SetDlgItemTextA(d, 105, name.c_str());
        return true;
      })
      .Then([ok] {
        HWND d = FindWindowA("#32770", "Save Picture");
        PostMessageA(d, WM_COMMAND, MAKEWPARAM(ok ? IDOK : IDCANCEL, BN_CLICKED), 0);
        return true;
      });
}

TEST_F(FileCommands, SaveWritesTheChosenFormatAndDepth) {
  HWND document = OpenImageHandle(MakeTestPicture(9, 6), "to save");
  ASSERT_NE(document, nullptr);
  MessageBoxWatcher boxes;
  {
    ScriptedUser user;
    DriveSave(user, 1, 104, Path("saved.png"));  // Bitmap, true colour: ".png" becomes ".bmp"
    SendMessageA(g_app.frame, WM_COMMAND, CMD_SAVE, 0);
    EXPECT_TRUE(user.finished());
  }
  HGLOBAL back = LoadDIB(Path("saved.bmp").c_str());
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(DibPixels(back), DibPixels(CurrentImage(document)));
  DestroyDIB(back);
  auto shown = boxes.boxes();
  ASSERT_EQ(shown.size(), 1u) << boxes.Describe();
  EXPECT_EQ(shown[0].caption, "OK !!!");

  // 256 colours: a paletted file.
  boxes.Clear();
  {
    ScriptedUser user;
    DriveSave(user, 1, 103, Path("eight"));
    SendMessageA(g_app.frame, WM_COMMAND, CMD_SAVE, 0);
  }
  HGLOBAL eight = LoadDIB(Path("eight.bmp").c_str());
  ASSERT_NE(eight, nullptr);
  auto* p = static_cast<char*>(GlobalLock(eight));
  EXPECT_EQ(reinterpret_cast<const BITMAPINFOHEADER*>(p)->biBitCount, 8);
  GlobalUnlock(eight);
  DestroyDIB(eight);
}

TEST_F(FileCommands, SaveRefusesDepthsTheFormatCannotHoldAndEmptyNames) {
  ASSERT_NE(OpenImageHandle(MakeTestPicture(9, 6), "to save"), nullptr);
  MessageBoxWatcher boxes;
  ScriptedUser user;
  // JPEG with 2 colours: the 2-colour button is disabled, so no depth holds.
  DriveSave(user, 0, 101, Path("x.jpg"));
  user.WaitTicks(5);
  DriveSave(user, 1, 104, "");
  user.WaitTicks(5);
  user.Then([] {
    PostMessageA(FindWindowA("#32770", "Save Picture"), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return true;
  });
  SendMessageA(g_app.frame, WM_COMMAND, CMD_SAVE, 0);
  EXPECT_TRUE(user.finished());
  const auto shown = boxes.boxes();
  ASSERT_EQ(shown.size(), 2u) << boxes.Describe();
  EXPECT_EQ(shown[0].text, LoadResString(IDS_SAVE_FORMAT_DEPTH));
  EXPECT_EQ(shown[1].text, "No File Name Given !!!");
  EXPECT_EQ(GetFileAttributesA(Path("x.jpg").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(FileCommands, AnsweringNoToTheOverwriteQuestionLeavesTheFileUntouched) {
  ASSERT_NE(OpenImageHandle(MakeTestPicture(9, 6), "to save"), nullptr);
  const std::string old = "the user's own file";
  WriteBytes(Path("keep.bmp"), old.data(), old.size());
  MessageBoxWatcher boxes;
  boxes.Answer(IDNO);
  {
    ScriptedUser user;
    DriveSave(user, 1, 104, Path("keep.bmp"));
    SendMessageA(g_app.frame, WM_COMMAND, CMD_SAVE, 0);
  }
  const auto bytes = ReadBytes(Path("keep.bmp"));
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), old);
  const auto shown = boxes.boxes();
  ASSERT_EQ(shown.size(), 1u) << boxes.Describe();
  EXPECT_EQ(shown[0].caption, "???");
  EXPECT_EQ(shown[0].text, LoadResString(IDS_OVERWRITE_QUESTION));
}

TEST_F(FileCommands, SavingAGivenImageWritesThatImage) {
  HGLOBAL given = MakeTestPicture(4, 4);
  MessageBoxWatcher boxes;
  {
    ScriptedUser user;
    DriveSave(user, 5, 104, Path("given.tga"));
    SendMessageA(g_app.frame, WM_COMMAND, CMD_SAVE_GIVEN_IMAGE, LPARAM(given));
  }
  HGLOBAL back = LoadDIB(Path("given.tga").c_str());
  ASSERT_NE(back, nullptr) << boxes.Describe();
  EXPECT_EQ(DibPixels(back), DibPixels(given));
  DestroyDIB(back);
  DestroyDIB(given);
}

TEST_F(FileCommands, TheTimerDialogChangesThePaceAtOnceOkStoresCancelRestores) {
  g_app.animationInterval = 3050;
  auto drive = [](ScriptedUser& user, int position, int button, int* seen) {
    user.Then([] { return FindWindowA("#32770", "Animation Speed") != nullptr; })
        .Then([position, seen] {
          HWND d = FindWindowA("#32770", "Animation Speed");
          SendDlgItemMessageA(d, 100, SL_SETPOS, WPARAM(position), 1);
          SendMessageA(d, WM_COMMAND, MAKEWPARAM(100, 0), 0);
          *seen = g_app.animationInterval;
          return true;
        })
        .Then([button] {
          PostMessageA(FindWindowA("#32770", "Animation Speed"), WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
          return true;
        });
  };
  int during = 0;
  {
    ScriptedUser user;
    drive(user, 75, IDCANCEL, &during);
    SendMessageA(g_app.frame, WM_COMMAND, CMD_ANIMATION_INTERVAL, 0);
  }
  EXPECT_EQ(during, 7500);
  EXPECT_EQ(g_app.animationInterval, 3000) << "cancel restores the opening value, in whole tenths";
  {
    ScriptedUser user;
    drive(user, 0, IDOK, &during);  // below the range: the left end
    SendMessageA(g_app.frame, WM_COMMAND, CMD_ANIMATION_INTERVAL, 0);
  }
  char stored[16] = {};
  GetPrivateProfileStringA("Meridian", "Timer", "", stored, sizeof stored, "bexadbms.ini");
  EXPECT_STREQ(stored, "100");
  EXPECT_EQ(g_app.animationInterval, 100);
}

}  // namespace

namespace {

struct ListSearch {
  HWND list = nullptr;
};

BOOL CALLBACK FindFileList(HWND child, LPARAM lParam) {
  char cls[32] = {};
  GetClassNameA(child, cls, sizeof cls);
  if (lstrcmpA(cls, "SysListView32") == 0) {
    reinterpret_cast<ListSearch*>(lParam)->list = child;
    return FALSE;
  }
  return TRUE;
}

HWND OpenDialogWindow() {
  HWND dialog = FindWindowA("#32770", nullptr);
  while (dialog) {
    ListSearch search;
    EnumChildWindows(dialog, FindFileList, LPARAM(&search));
    if (search.list) return dialog;
    dialog = FindWindowExA(nullptr, dialog, "#32770", nullptr);
  }
  return nullptr;
}

void SelectListItem(int index) {
  ListSearch search;
  EnumChildWindows(OpenDialogWindow(), FindFileList, LPARAM(&search));
  LVITEMA item = {};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = 0;
  SendMessageA(search.list, LVM_SETITEMSTATE, WPARAM(-1), LPARAM(&item));
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(search.list, LVM_SETITEMSTATE, WPARAM(index), LPARAM(&item));
}

}  // namespace

// Every file selected in the open dialog opens at once, all into one window;
// OK stays disabled and Cancel keeps the last picture.
TEST_F(FileCommands, TheOpenDialogShowsEachSelectedFileInOneWindow) {
  HGLOBAL a = MakeTestPicture(11, 4), b = MakeTestPicture(6, 9);
  ASSERT_TRUE(SaveDIB(a, Path("one.bmp").c_str()));
  ASSERT_TRUE(SaveDIB(b, Path("two.bmp").c_str()));
  WritePrivateProfileStringA("FunHist", "i1", Path("one.bmp").c_str(), "bexadbms.ini");
  bool okEnabled = true;
  int windowsAfterFirst = 0;
  {
    ScriptedUser user;
    user.Then([] { return OpenDialogWindow() != nullptr; })
        .WaitTicks(5)
        .Then([] {
          SelectListItem(0);
          return true;
        })
        .WaitTicks(3)
        .Then([&] {
          windowsAfterFirst = 0;
          for (HWND c = GetWindow(g_app.mdiClient, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            windowsAfterFirst += RecordOf(c) != nullptr;
          okEnabled = IsWindowEnabled(GetDlgItem(OpenDialogWindow(), IDOK));
          SelectListItem(1);
          return true;
        })
        .WaitTicks(3)
        .Then([] {
          PostMessageA(OpenDialogWindow(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
          return true;
        });
    SendMessageA(g_app.frame, WM_COMMAND, CMD_OPEN, 0);
    EXPECT_TRUE(user.finished());
  }
  WritePrivateProfileStringA("FunHist", "i1", "", "bexadbms.ini");
  EXPECT_FALSE(okEnabled);
  EXPECT_EQ(windowsAfterFirst, 1);
  int windows = 0;
  for (HWND c = GetWindow(g_app.mdiClient, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    windows += RecordOf(c) != nullptr;
  EXPECT_EQ(windows, 1);
  HWND document = ActiveDocument();
  ASSERT_NE(document, nullptr);
  EXPECT_EQ(CurrentSlot(document)->width, 6) << "the window keeps the last picture";
  EXPECT_STREQ(DocumentTitle(document), Path("two.bmp").c_str());
  DestroyDIB(a);
  DestroyDIB(b);
}

// The scanner command runs the scanner library's window; a page "scanned"
// from a file opens as "NewImage"; the frame stays while the window exists.
TEST_F(FileCommands, ScannedPagesOpenAsNewPicturesAndTheLibraryGoesAfterwards) {
  HGLOBAL page = MakeTestPicture(12, 8);
  ASSERT_TRUE(SaveDIB(page, Path("page.bmp").c_str()));
  const std::string pagePath = Path("page.bmp");
  bool frameStayed = false;
  {
    ScriptedUser user;
    user.Then([] { return FindWindowA("BXTwainScanner", nullptr) != nullptr; })
        .Then([&] {
          HWND scanner = FindWindowA("BXTwainScanner", nullptr);
          SetDlgItemTextA(scanner, 100, pagePath.c_str());
          SendMessageA(scanner, WM_COMMAND, MAKEWPARAM(102, BN_CLICKED), 0);
          SendMessageA(g_app.frame, WM_CLOSE, 0, 0);
          frameStayed = IsWindow(g_app.frame) && g_app.scannerWindow == scanner;
          return true;
        })
        .Then([] {
          SendMessageA(FindWindowA("BXTwainScanner", nullptr), WM_COMMAND, MAKEWPARAM(103, BN_CLICKED), 0);
          return true;
        });
    SendMessageA(g_app.frame, WM_COMMAND, CMD_SCANNER, 0);
    EXPECT_TRUE(user.finished());
  }
  EXPECT_TRUE(frameStayed);
  EXPECT_EQ(g_app.scannerWindow, nullptr);
  EXPECT_EQ(GetModuleHandleA("BXTwain.DLL"), nullptr);
  HWND document = ActiveDocument();
  ASSERT_NE(document, nullptr);
  EXPECT_STREQ(DocumentTitle(document), "NewImage");
  EXPECT_EQ(DibPixels(CurrentImage(document)), DibPixels(page));
  DestroyDIB(page);
}
