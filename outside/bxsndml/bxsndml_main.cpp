// BXSndML.DLL: the studio's mail library. The studio loads it for a mail
// dialog, names the dialog as the progress window and sends synchronously
// through ArgsSendMail; everything runs on the caller's thread.
#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <new>
#include <string>
#include <vector>

#include "mail_error.h"
#include "mail_request.h"
#include "mail_sender.h"

using namespace quillo::bxsndml;

namespace {

HWND g_target = nullptr;
std::atomic<bool> g_cancel{false};
int g_lastError = kMailOk;
// The studio drains its message queue on every progress report, so a second
// click on Send could re-enter the library in the middle of a send.
bool g_sending = false;
int g_openCount = 0;

int Run(const std::vector<std::string>& args) {
  if (g_sending) return kMailBusy;  // leaves the running send's last error alone
  MailRequest request;
  MailError result = ParseMailArgs(args, request);
  if (result == kMailOk) {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) {
      result = kMailNetworkUnavailable;
    } else {
      g_sending = true;
      g_cancel = false;
      SendContext context;
      context.target = g_target;
      context.cancel = &g_cancel;
      context.timeoutMs = MailTimeoutMs();
      try {
        result = SendMailRequest(request, context);
      } catch (const std::bad_alloc&) {
        result = kMailTooLarge;  // no exception may cross into the caller
      }
      g_sending = false;
      WSACleanup();
    }
  }
  g_lastError = result;
  return result;
}

int RunCommandLine(const char* line) {
  if (!line) return g_lastError = kMailBadArguments;
  return Run(CommandLineToArgs(line));
}

}  // namespace

extern "C" {

// 0 when Winsock is there; negative when mail cannot work on this machine.
int WINAPI LibOpen(void) {
  WSADATA data;
  if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return -1;
  ++g_openCount;
  g_lastError = kMailOk;
  return 0;
}

int WINAPI LibClose(void) {
  if (g_openCount > 0) {
    --g_openCount;
    WSACleanup();
  }
  g_target = nullptr;
  return 0;
}

void WINAPI SetTargetWnd(HWND window) { g_target = window; }

// args[0] is the sender's domain, then option letters each with a value:
// -b body file, -r To, -c Cc, -s subject, -X server[:port], -f from,
// -R reply-to, -D own host name, -S sender, -a attachment (repeatable),
// -U user and -P password to log in with AUTH PLAIN or LOGIN.
int WINAPI ArgsSendMail(int count, char** args) {
  if (count < 1 || !args) return g_lastError = kMailBadArguments;
  std::vector<std::string> list;
  for (int i = 0; i < count; ++i) {
    if (!args[i]) return g_lastError = kMailBadArguments;
    list.emplace_back(args[i]);
  }
  return Run(list);
}

// The same options as one command line ("-r a@x -s \"Hello there\" ..."),
// optionally preceded by the sender's domain.
int WINAPI CmdLineSendMail(const char* commandLine) { return RunCommandLine(commandLine); }
int WINAPI SendMail(const char* commandLine) { return RunCommandLine(commandLine); }

int WINAPI GetErrorInfo(void) { return g_lastError; }

const char* WINAPI MailGetErrorString(int code) { return MailErrorText(code); }

// Asks a running send to stop at its next network step; 1 when a send was
// under way.
int WINAPI CancelMail(void) {
  if (!g_sending) return 0;
  g_cancel = true;
  return 1;
}

}  // extern "C"

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
