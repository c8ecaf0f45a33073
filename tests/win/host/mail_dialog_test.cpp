// The mail command through the real mail library and a real SMTP server on
// 127.0.0.1 (the bxsndml_server fixture): the picture under its attachment
// name, a gift of a running Water (and its English form), files chosen in
// the file dialog when no picture is open, and a refused recipient or a
// server that never answers leaving the dialog open with the library's text.
#include <winsock2.h>
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <memory>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "app/host/win/effect_host.h"
#include "app/shell/app_state.h"
#include "app/shell/resource_ids.h"
#include "app/shell/win/open_image.h"
#include "contracts/plugin_contract.h"
#include "gift/archive/zip_reader.h"
#include "message_box_watcher.h"
#include "resources/qlo12/qlo12_ids.h"
#include "studio_fixture.h"
#include "water_run.h"
#include "win_test_support.h"

using namespace quillo;
using namespace quillo::test;

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// What the server kept of the message sent by `from`.
std::string Stored(const std::string& from, const std::string& file) {
  std::string folder;
  for (char c : from) folder += isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return ReadAll(std::string(MAIL_SERVER_STATE) + "/mail/" + folder + "/" + file);
}

std::string Port() {
  std::string port = ReadAll(std::string(MAIL_SERVER_STATE) + "/port");
  while (!port.empty() && (port.back() == '\n' || port.back() == '\r')) port.pop_back();
  return port;
}

bool PumpFor(const std::function<bool()>& done, DWORD ms = 20000) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > ms) return false;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(10);
  }
  return true;
}

HWND MailDialog() { return FindWindowA(nullptr, "Send by Mail"); }
HWND RawMailDialog() { return FindWindowA(nullptr, "Send Files by Mail"); }

BOOL CALLBACK FindFileDialog(HWND window, LPARAM found) {
  char name[16] = {};
  GetClassNameA(window, name, sizeof name);
  if (IsWindowVisible(window) && std::string(name) == "#32770" && window != RawMailDialog() &&
      (GetDlgItem(window, 0x480) || GetDlgItem(window, 0x47C))) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

// The open dialog the Add button shows.
HWND FileDialog() {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindFileDialog, reinterpret_cast<LPARAM>(&found));
  return found;
}

LRESULT ListCount() {
  return SendDlgItemMessageA(RawMailDialog(), IDC_MAIL_ATTACHMENTS, LB_GETCOUNT, 0, 0);
}

// Steps: press Add, choose `path` in the open dialog, wait for the list to
// grow by one.
void AddThroughTheFileDialog(ScriptedUser& user, const std::string& path) {
  auto before = std::make_shared<LRESULT>(0);
  user.Then([before] {
    if (!RawMailDialog()) return false;
    *before = ListCount();
    PostMessageA(RawMailDialog(), WM_COMMAND, IDC_MAIL_ADD, 0);
    return true;
  });
  user.Then([path] {
    HWND dialog = FileDialog();
    if (!dialog) return false;
    HWND box = GetDlgItem(dialog, 0x480) ? GetDlgItem(dialog, 0x480) : GetDlgItem(dialog, 0x47C);
    SetWindowTextA(box, path.c_str());
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return true;
  });
  user.Then([before] { return !FileDialog() && ListCount() == *before + 1; });
}

// A last step: a dialog that has not closed within a few seconds is closed,
// so a failed send fails the test instead of leaving it waiting.
void CloseWithinSeconds(ScriptedUser& user, HWND (*dialog)(), int seconds = 10) {
  auto ticks = std::make_shared<int>(0);
  user.Then([=] {
    if (!dialog()) return true;
    if (++*ticks < seconds * 50) return false;
    ADD_FAILURE() << "the dialog did not close";
    PostMessageA(dialog(), WM_COMMAND, IDCANCEL, 0);
    return true;
  });
}

std::string TempFile(const std::string& name, const std::string& bytes) {
  char folder[MAX_PATH];
  GetTempPathA(sizeof folder, folder);
  const std::string path = std::string(folder) + name;
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

LRESULT SelectListed(const std::string& path) {
  HWND list = GetDlgItem(RawMailDialog(), IDC_MAIL_ATTACHMENTS);
  const LRESULT index = SendMessageA(list, LB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(path.c_str()));
  SendMessageA(list, LB_SETCURSEL, WPARAM(index), 0);
  return index;
}

void Fill(HWND dialog, const std::string& from, const std::string& to, const char* attachment,
          const std::string& server = "127.0.0.1:" + Port()) {
  SetDlgItemTextA(dialog, IDC_MAIL_SERVER, server.c_str());
  SetDlgItemTextA(dialog, IDC_MAIL_ADDRESS, from.c_str());
  SetDlgItemTextA(dialog, IDC_MAIL_TO, to.c_str());
  SetDlgItemTextA(dialog, IDC_MAIL_CC, "carol@z.test");
  SetDlgItemTextA(dialog, IDC_MAIL_SUBJECT, "A picture for you");
  SetDlgItemTextA(dialog, IDC_MAIL_BODY, "Hello,\r\nhere it is.\r\n");
  if (attachment) SetDlgItemTextA(dialog, IDC_MAIL_ATTACHMENT_NAME, attachment);
}

class MailDialogs : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { started_ = StartStudioOnce(); }
  void SetUp() override {
    ASSERT_EQ(started_, -1);
    ASSERT_FALSE(Port().empty()) << "no SMTP server (the bxsndml_server fixture starts it)";
    for (const char* key : {"Server", "Address", "To", "Cc"})
      WritePrivateProfileStringA("Mail", key, nullptr, "bexadbms.ini");
    ASSERT_NE(OpenImageHandle(MakeTestPicture(64, 48), "mail source"), nullptr);
    PumpMessages();
  }
  void TearDown() override {
    CloseAllDocuments();
    for (const char* key : {"Server", "Address", "To", "Cc"})
      WritePrivateProfileStringA("Mail", key, nullptr, "bexadbms.ini");
  }
  static inline int started_ = 0;
};

// The dialogs are modal: the steps run from timers inside their loops.
TEST_F(MailDialogs, ThePictureArrivesUnderItsAttachmentNameAndTheSettingsAreKept) {
  MessageBoxWatcher boxes;
  std::string picture;
  ScriptedUser user;
  user.Then([] {
    PostMessageA(g_app.frame, WM_COMMAND, CMD_MAIL_GIFT, 0);
    return true;
  });
  user.Then([&] {
    HWND dialog = MailDialog();
    if (!dialog) return false;
    picture = ReadAll(ProgramDir() + "\\Temp\\Mail.jpg").substr(0, 2);
    Fill(dialog, "picture@quillo.test", "ann@x.test, bob@y.test", "photo.png");
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    return true;
  });
  ASSERT_TRUE(PumpFor([&] { return user.finished() && !MailDialog(); })) << boxes.Describe();
  EXPECT_EQ(picture, "\xFF\xD8");
  ASSERT_EQ(boxes.boxes().size(), 1u) << boxes.Describe();
  EXPECT_EQ(boxes.boxes()[0].text, LoadResString(IDS_MAIL_SENT));
  EXPECT_EQ(Stored("picture@quillo.test", "envelope.txt"),
            "from picture@quillo.test\nto ann@x.test\nto bob@y.test\nto carol@z.test\n");
  EXPECT_EQ(Stored("picture@quillo.test", "body.bin"), "Hello,\r\nhere it is.\r\n");
  EXPECT_EQ(Stored("picture@quillo.test", "attachments/photo.png.jpg").substr(0, 2), "\xFF\xD8");
  char server[100] = {};
  GetPrivateProfileStringA("Mail", "Server", "", server, sizeof server, "bexadbms.ini");
  EXPECT_EQ(server, "127.0.0.1:" + Port());
  EXPECT_EQ(GetFileAttributesA((ProgramDir() + "\\Temp\\Mail.jpg").c_str()), INVALID_FILE_ATTRIBUTES);
}

// Sends the picture to `to` through `server`, which fails: what the message
// box said, and whether the dialog was still there after it. With `retryTo`
// the same dialog then sends again to that address through the test server
// (as "photo.png"), else it is closed.
struct Failure {
  std::string text;
  bool stayed = false;
};
Failure FailedSend(const std::string& server, const std::string& from, const std::string& to,
                   const std::string& retryTo = {}) {
  MessageBoxWatcher boxes;
  Failure failure;
  ScriptedUser user;
  user.Then([] {
    PostMessageA(g_app.frame, WM_COMMAND, CMD_MAIL_GIFT, 0);
    return true;
  });
  user.Then([&] {
    HWND dialog = MailDialog();
    if (!dialog) return false;
    Fill(dialog, from, to, "first try.png", server);
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    return true;
  });
  user.Then([&] { return !boxes.boxes().empty(); }).WaitTicks(3).Then([&] {
    failure.stayed = MailDialog() != nullptr;
    if (retryTo.empty()) {
      PostMessageA(MailDialog(), WM_COMMAND, IDCANCEL, 0);
    } else {
      Fill(MailDialog(), from, retryTo, "photo.png");
      PostMessageA(MailDialog(), WM_COMMAND, IDOK, 0);
    }
    return true;
  });
  EXPECT_TRUE(PumpFor([&] { return user.finished() && !MailDialog(); })) << boxes.Describe();
  EXPECT_EQ(boxes.boxes().size(), retryTo.empty() ? 1u : 2u) << boxes.Describe();
  if (!boxes.boxes().empty()) failure.text = boxes.boxes()[0].text;
  return failure;
}

// The library's own text for an error code.
std::string LibraryText(int code) {
  HMODULE library = LoadLibraryA((ProgramDir() + "\\BXSndML.DLL").c_str());
  auto text = reinterpret_cast<const char*(WINAPI*)(int)>(reinterpret_cast<void*>(GetProcAddress(library, "MailGetErrorString")));
  std::string result = text ? text(code) : "";
  FreeLibrary(library);
  return result;
}

TEST_F(MailDialogs, ARefusedRecipientOrASilentServerShowsTheLibrarysTextAndTheDialogStays) {
  constexpr int kTimeout = 5, kRecipientRejected = 11;
  const Failure refused = FailedSend("127.0.0.1:" + Port(), "retrying@quillo.test", "refused@x.test", "ann@x.test");
  EXPECT_TRUE(refused.stayed) << "the dialog stays for another try";
  EXPECT_EQ(refused.text, LibraryText(kRecipientRejected));
  EXPECT_EQ(Stored("retrying@quillo.test", "attachments/photo.png.jpg").substr(0, 2), "\xFF\xD8")
      << "the second try still has the picture";

  // A listening socket that never accepts: connected in the backlog, no
  // greeting ever comes, and the wait ends after the library's timeout.
  WSADATA data;
  ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
  SOCKET silent = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(bind(silent, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(listen(silent, 4), 0);
  int length = sizeof address;
  getsockname(silent, reinterpret_cast<sockaddr*>(&address), &length);
  SetEnvironmentVariableA("BXSNDML_TIMEOUT_MS", "800");
  const Failure timedOut =
      FailedSend("127.0.0.1:" + std::to_string(ntohs(address.sin_port)), "silent@quillo.test", "ann@x.test");
  SetEnvironmentVariableA("BXSNDML_TIMEOUT_MS", nullptr);
  closesocket(silent);
  WSACleanup();
  EXPECT_TRUE(timedOut.stayed);
  EXPECT_EQ(timedOut.text, LibraryText(kTimeout));
  EXPECT_NE(timedOut.text, refused.text);
}

// Mails a gift of a running Water from `from` under `name` (English ticked
// when asked): the boxes shown and the members of the gift that arrived.
struct MailedGift {
  std::vector<std::string> boxes;
  std::vector<gift::ZipMember> members;
  gift::ZipError error = gift::ZipError::kNone;
};
MailedGift MailGiftOfRunningWater(const std::string& from, const std::string& name, bool english) {
  MessageBoxWatcher boxes;
  auto playing = WaterPlaying;
  auto cancel = CancelWater;
  ScriptedUser user;
  user.Then(playing).WaitTicks(3).Then([] {
    PostMessageA(g_app.frame, WM_COMMAND, CMD_MAIL_GIFT, 0);
    return true;
  });
  user.Then([&] {
    HWND dialog = MailDialog();
    if (!dialog) return false;
    Fill(dialog, from, "ann@x.test", name.c_str());
    if (english) CheckDlgButton(dialog, IDC_MAIL_ENGLISH, BST_CHECKED);
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    return true;
  });
  user.Then([] { return MailDialog() == nullptr; }).Then(cancel).Then([playing] { return !playing(); }).Then(cancel);
  RunEffect(WaterRecord());
  EXPECT_TRUE(user.finished());
  MailedGift mailed;
  for (const auto& box : boxes.boxes()) mailed.boxes.push_back(box.text);
  const std::string gift = Stored(from, "attachments/" + name);
  mailed.error = gift::ReadZip(reinterpret_cast<const uint8_t*>(gift.data()), gift.size(), gift::ZipLimits{},
                               &mailed.members);
  return mailed;
}

std::string Member(const MailedGift& gift, const std::string& name) {
  for (const auto& m : gift.members)
    if (m.name == name) return std::string(m.bytes.begin(), m.bytes.end());
  return "<missing>";
}

// A running Water goes as a gift program: the attachment is the gift, an
// archive holding the package under "_" + its name.
TEST_F(MailDialogs, ARunningEffectIsMailedAsAGiftProgram) {
  const MailedGift gift = MailGiftOfRunningWater("gift@quillo.test", "Gift.exe", false);
  EXPECT_EQ(gift.boxes, std::vector<std::string>{LoadResString(IDS_MAIL_SENT)});
  ASSERT_EQ(gift.error, gift::ZipError::kNone);
  EXPECT_NE(Member(gift, "_Gift.SSD"), "<missing>");
  EXPECT_EQ(Member(gift, "_Gift.EXE"), ReadAll(ProgramDir() + "\\GiftUtil.EXE"));
  EXPECT_EQ(Member(gift, "POSY.R"), ReadAll(ProgramDir() + "\\Posy.R"));
  EXPECT_EQ(GetFileAttributesA((ProgramDir() + "\\Temp\\Gift.exe").c_str()), INVALID_FILE_ATTRIBUTES);
}

// The English gift takes each member from the "English" folder when it has
// a copy there.
TEST_F(MailDialogs, TheEnglishGiftTakesTheEnglishCopies) {
  const std::string folder = ProgramDir() + "\\English";
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string english = "English resources, not a module";
  std::ofstream(folder + "\\Posy.R", std::ios::binary) << english;
  const MailedGift gift = MailGiftOfRunningWater("english@quillo.test", "English.exe", true);
  DeleteFileA((folder + "\\Posy.R").c_str());
  RemoveDirectoryA(folder.c_str());
  EXPECT_EQ(gift.boxes, std::vector<std::string>{LoadResString(IDS_MAIL_SENT)});
  ASSERT_EQ(gift.error, gift::ZipError::kNone);
  EXPECT_EQ(Member(gift, "POSY.R"), english);
  EXPECT_EQ(Member(gift, "_English.EXE"), ReadAll(ProgramDir() + "\\GiftUtil.EXE"))
      << "files without an English copy stay";
}

// Without an open picture the command sends any files: added through the
// open dialog, removed from the list, sent as they are.
TEST_F(MailDialogs, FilesChosenInTheFileDialogGoAsTheyAre) {
  CloseAllDocuments();
  const std::string first = TempFile("mail first.bin", std::string("\0\1\2\xFF binary\r\n", 14));
  const std::string second = TempFile("mail second.txt", "taken out again");
  const std::string third = TempFile("mail third.txt", std::string(70000, 'q'));
  MessageBoxWatcher boxes;
  LRESULT removed = LB_ERR;
  ScriptedUser user;
  user.Then([] {
    PostMessageA(g_app.frame, WM_COMMAND, CMD_MAIL_GIFT, 0);
    return true;
  });
  for (const std::string& path : {first, second, third}) AddThroughTheFileDialog(user, path);
  user.Then([&] {
    removed = SelectListed(second);
    PostMessageA(RawMailDialog(), WM_COMMAND, IDC_MAIL_REMOVE, 0);
    return true;
  });
  user.Then([] { return ListCount() == 2; }).Then([] {
    HWND dialog = RawMailDialog();
    Fill(dialog, "files@quillo.test", "ann@x.test", nullptr);
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    return true;
  });
  CloseWithinSeconds(user, RawMailDialog);
  ASSERT_TRUE(PumpFor([&] { return user.finished() && !RawMailDialog(); })) << boxes.Describe();
  EXPECT_NE(removed, LB_ERR);
  ASSERT_EQ(boxes.boxes().size(), 1u) << boxes.Describe();
  EXPECT_EQ(boxes.boxes()[0].text, LoadResString(IDS_MAIL_SENT));
  EXPECT_EQ(Stored("files@quillo.test", "attachments/mail first.bin"), ReadAll(first));
  EXPECT_EQ(Stored("files@quillo.test", "attachments/mail third.txt"), ReadAll(third));
  EXPECT_EQ(Stored("files@quillo.test", "attachments/mail second.txt"), "");
  EXPECT_EQ(Stored("files@quillo.test", "body.bin"), "Hello,\r\nhere it is.\r\n");
  for (const std::string& path : {first, second, third}) DeleteFileA(path.c_str());
}

// The list holds at most 64 files: Add greys at the limit, Remove brings it
// back.
TEST_F(MailDialogs, TheFileListStopsAtSixtyFour) {
  CloseAllDocuments();
  const std::string file = TempFile("mail limit.txt", "x");
  bool greyedAtLimit = false, enabledAfterRemove = false;
  LRESULT atLimit = 0;
  ScriptedUser user;
  user.Then([] {
    PostMessageA(g_app.frame, WM_COMMAND, CMD_MAIL_GIFT, 0);
    return true;
  });
  user.Then([] {
    HWND list = GetDlgItem(RawMailDialog(), IDC_MAIL_ATTACHMENTS);
    if (!list) return false;
    for (int i = 0; i < 63; ++i) SendMessageA(list, LB_ADDSTRING, 0, LPARAM(("C:\\listed " + std::to_string(i)).c_str()));
    return true;
  });
  AddThroughTheFileDialog(user, file);
  user.Then([&] {
    atLimit = ListCount();
    greyedAtLimit = !IsWindowEnabled(GetDlgItem(RawMailDialog(), IDC_MAIL_ADD));
    SelectListed(file);
    PostMessageA(RawMailDialog(), WM_COMMAND, IDC_MAIL_REMOVE, 0);
    return true;
  });
  user.Then([&] {
    if (ListCount() != 63) return false;
    enabledAfterRemove = IsWindowEnabled(GetDlgItem(RawMailDialog(), IDC_MAIL_ADD));
    PostMessageA(RawMailDialog(), WM_COMMAND, IDCANCEL, 0);
    return true;
  });
  CloseWithinSeconds(user, RawMailDialog);
  ASSERT_TRUE(PumpFor([&] { return user.finished() && !RawMailDialog(); }));
  DeleteFileA(file.c_str());
  EXPECT_EQ(atLimit, 64);
  EXPECT_TRUE(greyedAtLimit);
  EXPECT_TRUE(enabledAfterRemove);
}

}  // namespace
