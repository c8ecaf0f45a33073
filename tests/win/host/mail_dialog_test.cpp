// The mail command through the real mail library and a real SMTP server on
// 127.0.0.1 (the bxsndml_server fixture): the picture under its attachment
// name, a gift of a running Water, and a refused recipient leaving the
// dialog open with the library's text.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
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

void Fill(HWND dialog, const std::string& from, const std::string& to, const char* attachment) {
  SetDlgItemTextA(dialog, IDC_MAIL_SERVER, ("127.0.0.1:" + Port()).c_str());
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

TEST_F(MailDialogs, ARefusedRecipientShowsTheLibrarysTextAndTheDialogStays) {
  MessageBoxWatcher boxes;
  bool stayed = false;
  ScriptedUser user;
  user.Then([] {
    PostMessageA(g_app.frame, WM_COMMAND, CMD_MAIL_GIFT, 0);
    return true;
  });
  user.Then([&] {
    HWND dialog = MailDialog();
    if (!dialog) return false;
    Fill(dialog, "refusing@quillo.test", "refused@x.test", nullptr);
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    return true;
  });
  user.Then([&] { return !boxes.boxes().empty(); }).WaitTicks(3).Then([&] {
    stayed = MailDialog() != nullptr;
    PostMessageA(MailDialog(), WM_COMMAND, IDCANCEL, 0);
    return true;
  });
  ASSERT_TRUE(PumpFor([&] { return user.finished() && !MailDialog(); })) << boxes.Describe();
  EXPECT_TRUE(stayed) << "the dialog stays for another try";
  ASSERT_FALSE(boxes.boxes().empty());
  EXPECT_NE(boxes.boxes()[0].text, LoadResString(IDS_MAIL_SENT));
  EXPECT_FALSE(boxes.boxes()[0].text.empty());
}

// A running Water goes as a gift program: the attachment is the gift, an
// archive holding the package under "_" + its name.
TEST_F(MailDialogs, ARunningEffectIsMailedAsAGiftProgram) {
  MessageBoxWatcher boxes;
  auto playing = WaterPlaying;
  auto cancel = CancelWater;
  ScriptedUser user;
  user.Then(playing).WaitTicks(3).Then([] {
    PostMessageA(g_app.frame, WM_COMMAND, CMD_MAIL_GIFT, 0);
    return true;
  });
  user.Then([] {
    HWND dialog = MailDialog();
    if (!dialog) return false;
    Fill(dialog, "gift@quillo.test", "ann@x.test", "Gift.exe");
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    return true;
  });
  user.Then([] { return MailDialog() == nullptr; }).Then(cancel).Then([playing] { return !playing(); }).Then(cancel);
  RunEffect(WaterRecord());
  EXPECT_TRUE(user.finished());
  ASSERT_EQ(boxes.boxes().size(), 1u) << boxes.Describe();
  EXPECT_EQ(boxes.boxes()[0].text, LoadResString(IDS_MAIL_SENT));
  const std::string gift = Stored("gift@quillo.test", "attachments/Gift.exe");
  std::vector<gift::ZipMember> members;
  ASSERT_EQ(gift::ReadZip(reinterpret_cast<const uint8_t*>(gift.data()), gift.size(), gift::ZipLimits{}, &members),
            gift::ZipError::kNone);
  bool record = false, player = false;
  for (const auto& m : members) {
    record = record || m.name == "_Gift.SSD";
    player = player || m.name == "_Gift.EXE";
  }
  EXPECT_TRUE(record && player);
  EXPECT_EQ(GetFileAttributesA((ProgramDir() + "\\Temp\\Gift.exe").c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
