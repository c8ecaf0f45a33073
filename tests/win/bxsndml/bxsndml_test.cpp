// BXSndML.DLL as the studio's mail dialog uses it, against a real SMTP
// server (aiosmtpd, see mail_store.py) and against sockets of the test's own
// that refuse or never answer.
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "win_test_support.h"

using namespace quillo::test;

namespace {

// The codes of outside/bxsndml/mail_error.h the studio shows texts for.
constexpr int kUnknownHost = 3, kConnectionRefused = 4, kTimeout = 5, kRecipientRejected = 11, kBodyUnreadable = 13,
              kAttachmentUnreadable = 14, kCancelled = 16, kBadArguments = 1, kBadServer = 2;

struct MailLibrary {
  HMODULE module = nullptr;
  int(WINAPI* LibOpen)() = nullptr;
  int(WINAPI* LibClose)() = nullptr;
  void(WINAPI* SetTargetWnd)(HWND) = nullptr;
  int(WINAPI* ArgsSendMail)(int, char**) = nullptr;
  int(WINAPI* CmdLineSendMail)(const char*) = nullptr;
  int(WINAPI* SendMail)(const char*) = nullptr;
  int(WINAPI* GetErrorInfo)() = nullptr;
  const char*(WINAPI* MailGetErrorString)(int) = nullptr;
  int(WINAPI* CancelMail)() = nullptr;
};

template <typename F>
void Find(HMODULE m, const char* name, F& f) {
  f = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(m, name)));
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string ServerState() { return MAIL_SERVER_STATE; }

// What mail_store.py kept of the message whose sender was `from`.
std::string Stored(const std::string& from, const std::string& file) {
  std::string folder;
  for (char c : from) folder += isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return ReadFile(ServerState() + "/mail/" + folder + "/" + file);
}

// WM_COMMAND reports from the library: control id and lParam.
struct Report { int id; LPARAM value; };
std::vector<Report> g_reports;
MailLibrary* g_cancelOnFirstChunk = nullptr;

LRESULT CALLBACK ProgressProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) {
    g_reports.push_back({LOWORD(wParam), lParam});
    if (g_cancelOnFirstChunk && LOWORD(wParam) == 102) g_cancelOnFirstChunk->CancelMail();
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

class MailTest : public ::testing::Test {
 protected:
  void SetUp() override {
    lib_.module = LoadLibraryA((ProgramDir() + "\\BXSndML.DLL").c_str());
    ASSERT_NE(lib_.module, nullptr);
    Find(lib_.module, "LibOpen", lib_.LibOpen);
    Find(lib_.module, "LibClose", lib_.LibClose);
    Find(lib_.module, "SetTargetWnd", lib_.SetTargetWnd);
    Find(lib_.module, "ArgsSendMail", lib_.ArgsSendMail);
    Find(lib_.module, "CmdLineSendMail", lib_.CmdLineSendMail);
    Find(lib_.module, "SendMail", lib_.SendMail);
    Find(lib_.module, "GetErrorInfo", lib_.GetErrorInfo);
    Find(lib_.module, "MailGetErrorString", lib_.MailGetErrorString);
    Find(lib_.module, "CancelMail", lib_.CancelMail);
    ASSERT_TRUE(lib_.LibOpen && lib_.LibClose && lib_.SetTargetWnd && lib_.ArgsSendMail &&
                lib_.CmdLineSendMail && lib_.SendMail && lib_.GetErrorInfo && lib_.MailGetErrorString &&
                lib_.CancelMail);
    ASSERT_GE(lib_.LibOpen(), 0);
    port_ = ReadFile(ServerState() + "/port");
    while (!port_.empty() && (port_.back() == '\n' || port_.back() == '\r')) port_.pop_back();
    ASSERT_FALSE(port_.empty()) << "no SMTP server (the bxsndml_server fixture starts it)";
    SetEnvironmentVariableA("BXSNDML_TIMEOUT_MS", "5000");

    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    dir_ = std::string(temp) + "bxsndml_test";
    CreateDirectoryA(dir_.c_str(), nullptr);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ProgressProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "MailProgressWindow";
    RegisterClassA(&wc);
    window_ = CreateWindowA("MailProgressWindow", "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                            wc.hInstance, nullptr);
    ASSERT_NE(window_, nullptr);
    lib_.SetTargetWnd(window_);
    g_reports.clear();
    g_cancelOnFirstChunk = nullptr;
  }
  void TearDown() override {
    g_cancelOnFirstChunk = nullptr;
    if (window_) DestroyWindow(window_);
    if (lib_.module) {
      if (lib_.LibClose) lib_.LibClose();
      FreeLibrary(lib_.module);
    }
  }

  // The argument array the studio's gift dialog passes, plus extras.
  int Send(const std::string& server, const std::string& from, const std::string& to,
           const std::string& subject, const std::string& bodyPath,
           const std::vector<std::string>& extra = {}) {
    const std::string at = from.substr(from.find('@') + 1);
    std::vector<std::string> args = {at, "-b", bodyPath, "-r", to, "-s", subject, "-X", server,
                                     "-f", from, "-R", from, "-D", "localhost", "-S", from};
    args.insert(args.end(), extra.begin(), extra.end());
    std::vector<char*> pointers;
    for (std::string& a : args) pointers.push_back(a.data());
    return lib_.ArgsSendMail(static_cast<int>(pointers.size()), pointers.data());
  }
  std::string Server() const { return "127.0.0.1:" + port_; }
  std::string Body(const std::string& text) {
    const std::string path = dir_ + "\\body.tmp";
    WriteFile(path, text);
    return path;
  }

  MailLibrary lib_;
  std::string port_, dir_;
  HWND window_ = nullptr;
};

TEST_F(MailTest, DeliversRecipientsSubjectBodyAndBinaryAttachmentWithProgress) {
  std::string picture;
  for (int i = 0; i < 150000; ++i) picture += static_cast<char>((i * 131 + i / 256) & 0xFF);
  const std::string picturePath = dir_ + "\\Eff01234.exe";
  WriteFile(picturePath, picture);
  const std::string body = "Hello,\r\n.this line starts with a dot\r\n.\r\nand " + std::string(150, 'w') + "\r\n";
  const std::string subject = "Gr\xC3\xBC\xC3\x9F" "e from Quillo \xE2\x9C\x93";

  ASSERT_EQ(Send(Server(), "delivery@quillo.test", "ann@x.test, Bob <bob@y.test>", subject, Body(body),
                 {"-a", picturePath, "-c", "cc1@z.test; cc2@z.test"}),
            0)
      << lib_.MailGetErrorString(lib_.GetErrorInfo());
  EXPECT_EQ(lib_.GetErrorInfo(), 0);

  EXPECT_EQ(Stored("delivery@quillo.test", "envelope.txt"),
            "from delivery@quillo.test\nto ann@x.test\nto bob@y.test\nto cc1@z.test\nto cc2@z.test\n");
  const std::string headers = Stored("delivery@quillo.test", "headers.txt");
  EXPECT_NE(headers.find("Subject: " + subject + "\n"), std::string::npos) << headers;
  EXPECT_NE(headers.find("To: ann@x.test, Bob <bob@y.test>\n"), std::string::npos) << headers;
  EXPECT_NE(headers.find("Cc: cc1@z.test, cc2@z.test\n"), std::string::npos) << headers;
  for (const char* name : {"\nDate: ", "\nMessage-ID: <", "@quillo.test>\n", "\nMIME-Version: 1.0\n"})
    EXPECT_NE(headers.find(name), std::string::npos) << name;
  EXPECT_EQ(Stored("delivery@quillo.test", "body.bin"), body);
  EXPECT_TRUE(Stored("delivery@quillo.test", "attachments/Eff01234.exe") == picture)
      << "attachment differs";

  // 101 with the total first, then 102 rising to exactly that total.
  ASSERT_GE(g_reports.size(), 3u);
  EXPECT_EQ(g_reports[0].id, 101);
  const LPARAM total = g_reports[0].value;
  EXPECT_GT(total, static_cast<LPARAM>(picture.size()));
  LPARAM last = 0;
  for (size_t i = 1; i < g_reports.size(); ++i) {
    EXPECT_EQ(g_reports[i].id, 102);
    EXPECT_GT(g_reports[i].value, last);
    last = g_reports[i].value;
  }
  EXPECT_EQ(last, total);
}

TEST_F(MailTest, RefusedRecipientStopsTheSendWithItsCode) {
  EXPECT_EQ(Send(Server(), "refusal@quillo.test", "ann@x.test, refused@x.test", "x", Body("x\r\n")),
            kRecipientRejected);
  EXPECT_EQ(lib_.GetErrorInfo(), kRecipientRejected);
  const char* text = lib_.MailGetErrorString(kRecipientRejected);
  ASSERT_NE(text, nullptr);
  EXPECT_NE(std::string(text).find("recipient"), std::string::npos);
  EXPECT_EQ(Stored("refusal@quillo.test", "envelope.txt"), "") << "a partial mail went out";
  EXPECT_TRUE(g_reports.empty());
}

TEST_F(MailTest, CancelDuringTheMessageSendsNothing) {
  g_cancelOnFirstChunk = &lib_;
  const std::string big = dir_ + "\\big.bin";
  WriteFile(big, std::string(100000, 'z'));
  EXPECT_EQ(Send(Server(), "cancel@quillo.test", "ann@x.test", "x", Body("x"), {"-a", big}), kCancelled);
  EXPECT_EQ(Stored("cancel@quillo.test", "envelope.txt"), "");
  EXPECT_EQ(g_reports.size(), 2u);  // the total and the one chunk before the cancel was seen
}

TEST_F(MailTest, DeadOrMissingServersFailInTime) {
  WSADATA data;
  ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
  // A listening socket that never accepts: the connection completes in the
  // backlog, and no greeting ever comes.
  SOCKET silent = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(bind(silent, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(listen(silent, 4), 0);
  int length = sizeof address;
  getsockname(silent, reinterpret_cast<sockaddr*>(&address), &length);
  const std::string silentServer = "127.0.0.1:" + std::to_string(ntohs(address.sin_port));

  SetEnvironmentVariableA("BXSNDML_TIMEOUT_MS", "800");
  const DWORD start = GetTickCount();
  EXPECT_EQ(Send(silentServer, "me@quillo.test", "ann@x.test", "x", Body("x")), kTimeout);
  const DWORD took = GetTickCount() - start;
  EXPECT_GE(took, 700u);
  EXPECT_LT(took, 4000u);
  closesocket(silent);  // its port now has nobody listening

  EXPECT_EQ(Send(silentServer, "me@quillo.test", "ann@x.test", "x", Body("x")), kConnectionRefused);
  EXPECT_EQ(Send("nosuchhost.invalid", "me@quillo.test", "ann@x.test", "x", Body("x")), kUnknownHost);
  EXPECT_NE(lib_.MailGetErrorString(kConnectionRefused), nullptr);
  EXPECT_NE(lib_.MailGetErrorString(kTimeout), nullptr);
  WSACleanup();
}

TEST_F(MailTest, LocalProblemsAreFoundBeforeConnecting) {
  // Port 9 on loopback: the checks below must fail before any connection.
  const std::string nowhere = "127.0.0.1:9";
  EXPECT_EQ(Send(nowhere, "me@quillo.test", "ann@x.test", "x", dir_ + "\\no such body.tmp"), kBodyUnreadable);
  EXPECT_EQ(Send(nowhere, "me@quillo.test", "ann@x.test", "x", Body("x"), {"-a", dir_ + "\\missing.jpg"}),
            kAttachmentUnreadable);
  EXPECT_EQ(Send("127.0.0.1:70000", "me@quillo.test", "ann@x.test", "x", Body("x")), kBadServer);
  EXPECT_EQ(Send(nowhere, "me@quillo.test", "", "x", Body("x")), kBadArguments);
  EXPECT_EQ(lib_.ArgsSendMail(0, nullptr), kBadArguments);
  EXPECT_EQ(lib_.MailGetErrorString(12345), nullptr);
  EXPECT_EQ(lib_.CancelMail(), 0);  // nothing under way
  // The command-line export reads the same options.
  EXPECT_EQ(lib_.CmdLineSendMail(("-r ann@x.test -X " + Server() + " -f cmdline@quillo.test -s \"Two words\"").c_str()),
            0);
  EXPECT_EQ(Stored("cmdline@quillo.test", "envelope.txt"), "from cmdline@quillo.test\nto ann@x.test\n");
}

}  // namespace
