// Directory helpers and the file and font dialogs of BXCOMM.DLL. Dialogs
// are answered by a scripted user from a thread timer, which runs inside
// the dialog's own message loop.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "contracts/imaging_library.h"
#include "win_test_support.h"

using namespace quillo::test;

namespace {

std::string CurrentDirectory() {
  char buffer[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, buffer);
  return buffer;
}

// Restores the current directory a test changes.
struct KeepDirectory {
  std::string saved = CurrentDirectory();
  ~KeepDirectory() { SetCurrentDirectoryA(saved.c_str()); }
};

BOOL CALLBACK FirstDialog(HWND w, LPARAM out) {
  char cls[32] = {};
  GetClassNameA(w, cls, sizeof cls);
  if (std::string(cls) == "#32770" && IsWindowVisible(w)) {
    *reinterpret_cast<HWND*>(out) = w;
    return FALSE;
  }
  return TRUE;
}

// The visible common dialog of this thread, if any.
HWND FindDialog() {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FirstDialog, reinterpret_cast<LPARAM>(&found));
  return found;
}

// The file-name box of an open or save dialog: an edit (edt1) or a combo
// box (cmb13) depending on the dialog style.
HWND FileNameBox(HWND dialog) {
  if (HWND edit = GetDlgItem(dialog, 0x480)) return edit;
  return GetDlgItem(dialog, 0x47C);
}

// Steps: wait for the dialog, remember its title, type `name` and press OK
// (or Cancel when name is null).
void AnswerDialog(ScriptedUser& user, const char* name, std::string* title) {
  auto dialog = std::make_shared<HWND>(nullptr);
  user.Then([dialog] { return (*dialog = FindDialog()) != nullptr; })
      .WaitTicks(3)
      .Then([dialog, name, title] {
        char text[128] = {};
        GetWindowTextA(*dialog, text, sizeof text);
        if (title) *title = text;
        if (!name) {
          PostMessageA(*dialog, WM_COMMAND, IDCANCEL, 0);
          return true;
        }
        HWND box = FileNameBox(*dialog);
        if (!box) return false;
        SetWindowTextA(box, name);
        PostMessageA(*dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return true;
      });
}

TEST(LibraryDirectoryTest, IsTheFolderOfTheLibrary) {
  const LPSTR dir = GetMeridianDIR();
  ASSERT_TRUE(dir);
  EXPECT_EQ(_stricmp(dir, ProgramDir().c_str()), 0) << dir;
  EXPECT_NE(dir[std::strlen(dir) - 1], '\\');
}

TEST(LibraryDirectoryTest, MyChDirEntersSubdirectoriesAndRefusesOverlongNames) {
  KeepDirectory keep;
  const std::string sub = ProgramDir() + "\\bxcomm_chdir_test";
  CreateDirectoryA(sub.c_str(), nullptr);
  EXPECT_EQ(MyChDir("bxcomm_chdir_test"), 0);
  EXPECT_EQ(_stricmp(CurrentDirectory().c_str(), sub.c_str()), 0);
  SetCurrentDirectoryA(keep.saved.c_str());
  EXPECT_NE(MyChDir("no such folder"), 0);
  EXPECT_NE(MyChDir(nullptr), 0);
  // 399 characters of name: the joined path cannot fit the 400-character
  // buffer; the call fails and nothing changes (no write past the buffer).
  const std::string longName(399, 'a');
  EXPECT_EQ(MyChDir(longName.c_str()), -1);
  EXPECT_EQ(CurrentDirectory(), keep.saved);
  RemoveDirectoryA(sub.c_str());
}

TEST(FileDialogTest, OpenDialogReturnsTheTypedName) {
  const std::string file = ProgramDir() + "\\bxcomm_open_test.bmp";
  HANDLE h = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  CloseHandle(h);
  std::string title;
  LPSTR chosen;
  {
    ScriptedUser user;
    AnswerDialog(user, file.c_str(), &title);
    chosen = MyGetOpenFile(nullptr, "Pictures\0*.bmp;*.jpg\0All\0*.*\0", "Pick a picture");
    EXPECT_TRUE(user.finished());
  }
  ASSERT_TRUE(chosen);
  EXPECT_EQ(_stricmp(chosen, file.c_str()), 0) << chosen;
  EXPECT_EQ(title, "Pick a picture");
  // The same buffer comes back from every wrapper and is overwritten.
  EXPECT_EQ(GetMeridianDIR(), chosen);
  DeleteFileA(file.c_str());
}

TEST(FileDialogTest, CancelGivesNullAndAnEmptyBuffer) {
  LPSTR dir = GetMeridianDIR();
  ASSERT_TRUE(dir && dir[0]);
  LPSTR chosen;
  {
    ScriptedUser user;
    AnswerDialog(user, nullptr, nullptr);
    chosen = MyGetSaveFileEx(nullptr, nullptr, 0, 0);
    EXPECT_TRUE(user.finished());
  }
  EXPECT_EQ(chosen, nullptr);
  EXPECT_EQ(dir[0], '\0');
}

TEST(FileDialogTest, SaveDialogReturnsANewName) {
  const std::string file = ProgramDir() + "\\bxcomm_save_test.png";
  DeleteFileA(file.c_str());
  LPSTR chosen;
  {
    ScriptedUser user;
    AnswerDialog(user, file.c_str(), nullptr);
    chosen = MyGetSaveFile(nullptr, "PNG\0*.png\0", 0);
  }
  ASSERT_TRUE(chosen);
  EXPECT_EQ(_stricmp(chosen, file.c_str()), 0) << chosen;
}

TEST(FileDialogTest, OpenExStartsInTheSubdirectoryAndRefusesOverlongOnes) {
  KeepDirectory keep;
  const std::string sub = ProgramDir() + "\\bxcomm_open_ex";
  CreateDirectoryA(sub.c_str(), nullptr);
  // Without remembered folders the dialog starts in the current directory.
  RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32");
  std::string during;
  {
    ScriptedUser user;
    user.Then([&] {
      if (!FindDialog()) return false;
      during = CurrentDirectory();
      return true;
    });
    AnswerDialog(user, nullptr, nullptr);
    EXPECT_EQ(MyGetOpenFileEx(nullptr, nullptr, "bxcomm_open_ex", "Ex"), nullptr);
  }
  EXPECT_EQ(_stricmp(during.c_str(), sub.c_str()), 0) << during;
  SetCurrentDirectoryA(keep.saved.c_str());
  RemoveDirectoryA(sub.c_str());

  // An over-long sub-directory fails at once, without a dialog.
  const std::string longName(450, 'b');
  bool dialogSeen = false;
  {
    ScriptedUser user(10);
    user.Then([&] {
      if (HWND d = FindDialog()) {
        dialogSeen = true;
        PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
      }
      return false;
    });
    EXPECT_EQ(MyGetOpenFileEx(nullptr, nullptr, longName.c_str(), "Ex"), nullptr);
  }
  EXPECT_FALSE(dialogSeen);
  EXPECT_EQ(CurrentDirectory(), keep.saved);
}

TEST(FontDialogTest, ReturnsAFontOnOkAndNullOnCancel) {
  HFONT start = CreateFontA(-20, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
  HFONT chosen;
  {
    ScriptedUser user;
    auto dialog = std::make_shared<HWND>(nullptr);
    user.Then([dialog] { return (*dialog = FindDialog()) != nullptr; })
        .WaitTicks(3)
        .Then([dialog] {
          PostMessageA(*dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
          return true;
        });
    chosen = GetSelectFont(nullptr, start);
  }
  ASSERT_TRUE(chosen);
  EXPECT_NE(chosen, start);
  LOGFONTA lf{};
  EXPECT_EQ(GetObjectA(chosen, sizeof lf, &lf), int(sizeof lf));
  EXPECT_NE(lf.lfFaceName[0], '\0');
  DeleteObject(chosen);
  {
    ScriptedUser user;
    AnswerDialog(user, nullptr, nullptr);
    EXPECT_EQ(GetSelectFont(nullptr, nullptr), nullptr);
  }
  DeleteObject(start);
}

}  // namespace
