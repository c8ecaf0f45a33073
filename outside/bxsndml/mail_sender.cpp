#include "mail_sender.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "mail_connection.h"
#include "mime_message.h"
#include "smtp_dialogue.h"

namespace quillo::bxsndml {
namespace {

// One mail carries at most this much raw file data. The message is held in
// memory twice (built and dot-stuffed), a third larger than the files, which
// a 32-bit process must still be able to hold; servers refuse far less.
constexpr ULONGLONG kMaxFileBytes = 64ull << 20;
constexpr size_t kChunkBytes = 8192;

enum class ReadResult { kOk, kUnreadable, kTooLarge };

ReadResult ReadWholeFile(const std::string& path, ULONGLONG budget, std::string& out) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return ReadResult::kUnreadable;
  LARGE_INTEGER size{};
  ReadResult result = ReadResult::kOk;
  if (!GetFileSizeEx(file, &size)) {
    result = ReadResult::kUnreadable;
  } else if (static_cast<ULONGLONG>(size.QuadPart) > budget) {
    result = ReadResult::kTooLarge;
  } else {
    out.resize(static_cast<size_t>(size.QuadPart));
    size_t done = 0;
    while (done < out.size()) {
      DWORD got = 0;
      const DWORD want = static_cast<DWORD>(out.size() - done > (1u << 20) ? (1u << 20) : out.size() - done);
      if (!ReadFile(file, &out[done], want, &got, nullptr) || got == 0) break;
      done += got;
    }
    if (done != out.size()) result = ReadResult::kUnreadable;
  }
  CloseHandle(file);
  return result;
}

std::string LegacyCharset() {
  const UINT cp = GetACP();
  switch (cp) {
    case 932: return "shift_jis";
    case 936: return "gbk";
    case 949: return "ks_c_5601-1987";
    case 950: return "big5";
    case 65001: return "windows-1252";  // text that is valid UTF-8 is labelled so anyway
    default: return "windows-" + std::to_string(cp);
  }
}

MailTime LocalMailTime() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  TIME_ZONE_INFORMATION zone;
  const DWORD mode = GetTimeZoneInformation(&zone);
  LONG bias = zone.Bias;
  if (mode == TIME_ZONE_ID_DAYLIGHT) bias += zone.DaylightBias;
  else if (mode == TIME_ZONE_ID_STANDARD) bias += zone.StandardBias;
  if (mode == TIME_ZONE_ID_INVALID) bias = 0;
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wDayOfWeek,
          static_cast<int>(-bias)};
}

std::string MakeMessageId(const std::string& domain, uint32_t& tag) {
  static LONG counter = 0;
  FILETIME ft;
  GetSystemTimeAsFileTime(&ft);
  const LONG n = InterlockedIncrement(&counter);
  tag = ft.dwLowDateTime ^ (GetCurrentProcessId() << 16) ^ static_cast<uint32_t>(n);
  char text[96];
  std::snprintf(text, sizeof text, "<%08lX%08lX.%lX.%lX@", static_cast<unsigned long>(ft.dwHighDateTime),
                static_cast<unsigned long>(ft.dwLowDateTime), static_cast<unsigned long>(GetCurrentProcessId()),
                static_cast<unsigned long>(n));
  return text + domain + ">";
}

void Report(HWND target, int id, size_t value) {
  if (target && IsWindow(target))
    SendMessageA(target, WM_COMMAND, MAKEWPARAM(id, 0), static_cast<LPARAM>(value));
}

// Reads the files and builds the dot-stuffed message text.
MailError PrepareMessage(const MailRequest& request, std::string& data) {
  MessageInput input;
  input.from = request.from;
  input.to = request.to;
  input.cc = request.cc;
  input.replyTo = request.replyTo;
  input.sender = request.sender;
  input.subject = request.subject;
  input.legacyCharset = LegacyCharset();
  input.date = LocalMailTime();
  input.messageId = MakeMessageId(request.senderDomain, input.boundaryTag);
  ULONGLONG budget = kMaxFileBytes;
  if (!request.bodyPath.empty()) {
    const ReadResult r = ReadWholeFile(request.bodyPath, budget, input.body);
    if (r != ReadResult::kOk) return r == ReadResult::kTooLarge ? kMailTooLarge : kMailBodyUnreadable;
    budget -= input.body.size();
  }
  for (const std::string& path : request.attachments) {
    MailAttachment a;
    a.fileName = BaseName(path);
    const ReadResult r = ReadWholeFile(path, budget, a.data);
    if (r != ReadResult::kOk) return r == ReadResult::kTooLarge ? kMailTooLarge : kMailAttachmentUnreadable;
    budget -= a.data.size();
    input.attachments.push_back(std::move(a));
  }
  data = DotStuff(BuildMessage(input));
  return kMailOk;
}

MailError SendMessageText(MailConnection& connection, const std::string& data, const SendContext& context) {
  for (size_t done = 0; done < data.size();) {
    if (context.cancel->load()) return kMailCancelled;
    const size_t piece = data.size() - done < kChunkBytes ? data.size() - done : kChunkBytes;
    const MailError sent = connection.Send(data.data() + done, piece);
    if (sent != kMailOk) return sent;
    done += piece;
    Report(context.target, kProgressDoneId, done);
  }
  return kMailOk;
}

}  // namespace

unsigned MailTimeoutMs() {
  char text[16] = {};
  const DWORD n = GetEnvironmentVariableA("BXSNDML_TIMEOUT_MS", text, sizeof text);
  if (n > 0 && n < sizeof text) {
    char* end = nullptr;
    const unsigned long value = std::strtoul(text, &end, 10);
    if (end && *end == '\0' && value >= 100 && value <= 600000) return static_cast<unsigned>(value);
  }
  return 20000;
}

MailError SendMailRequest(const MailRequest& request, const SendContext& context) {
  ServerAddress server;
  if (const MailError e = ParseServer(request.server, server); e != kMailOk) return e;
  std::string data;
  if (const MailError e = PrepareMessage(request, data); e != kMailOk) return e;

  SmtpEnvelope envelope{request.heloName, request.from.address, {}, request.user, request.password};
  for (const MailAddress& a : request.to) envelope.recipients.push_back(a.address);
  for (const MailAddress& a : request.cc) envelope.recipients.push_back(a.address);

  MailConnection connection(context.timeoutMs, *context.cancel);
  if (const MailError e = connection.Connect(server.host, server.port); e != kMailOk) return e;

  SmtpDialogue dialogue(std::move(envelope));
  SmtpReplyReader reader;
  char buffer[2048];
  for (;;) {
    while (!reader.HasReply()) {
      size_t received = 0;
      MailError e = connection.Receive(buffer, sizeof buffer, received);
      if (e == kMailOk && !reader.Feed(buffer, received)) e = kMailProtocolError;
      if (e != kMailOk) return dialogue.Abandon(e), dialogue.result();
    }
    const SmtpDialogue::Step step = dialogue.OnReply(reader.TakeReply());
    if (step.action == SmtpDialogue::Action::kFinish) return dialogue.result();
    // A cancel after the server took the message cannot unsend it.
    if (context.cancel->load()) return dialogue.result() == kMailOk ? kMailOk : kMailCancelled;
    if (step.action == SmtpDialogue::Action::kBeginData) Report(context.target, kProgressTotalId, data.size());
    const MailError e = step.action == SmtpDialogue::Action::kSendMessage
                            ? SendMessageText(connection, data, context)
                            : connection.Send(step.line.data(), step.line.size());
    if (e != kMailOk) return dialogue.Abandon(e), dialogue.result();
  }
}

}  // namespace quillo::bxsndml
