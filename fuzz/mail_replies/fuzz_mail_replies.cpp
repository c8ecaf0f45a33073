// libFuzzer target: whatever a server sends, in whatever pieces, the reply
// reader and the SMTP dialogue stay bounded and consistent; the same bytes
// as a command line and as a server text go through the request parsers.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "outside/bxsndml/mail_request.h"
#include "outside/bxsndml/smtp_dialogue.h"

using namespace quillo::bxsndml;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const size_t piece = data[0] % 16 + 1;  // how the bytes arrive from the network
  const bool withLogin = data[0] & 0x80;
  const char* text = reinterpret_cast<const char*>(data + 1);
  const size_t length = size - 1;

  SmtpDialogue dialogue({"localhost", "me@x.test", {"a@x.test", "b@y.test"}, withLogin ? "me" : "", "pw"});
  SmtpReplyReader reader;
  bool messageSent = false, finished = false;
  size_t replies = 0;
  for (size_t at = 0; at < length && !finished; at += piece) {
    const size_t n = length - at < piece ? length - at : piece;
    if (!reader.Feed(text + at, n)) {
      dialogue.Abandon(kMailProtocolError);
      finished = true;
      break;
    }
    while (reader.HasReply() && !finished) {
      const SmtpReply reply = reader.TakeReply();
      if (reply.code < 200 || reply.code > 599 || reply.lines.empty() ||
          reply.lines.size() > SmtpReplyReader::kMaxLinesPerReply)
        __builtin_trap();
      ++replies;
      const SmtpDialogue::Step step = dialogue.OnReply(reply);
      if (step.action == SmtpDialogue::Action::kFinish) finished = true;
      if (step.action == SmtpDialogue::Action::kSendMessage) messageSent = true;
      // Every command is one line: no CR or LF before its own CRLF.
      if (step.action == SmtpDialogue::Action::kSend || step.action == SmtpDialogue::Action::kBeginData) {
        const std::string& line = step.line;
        if (line.size() < 2 || line.find_first_of("\r\n") != line.size() - 2) __builtin_trap();
      }
    }
  }
  if (!finished) dialogue.Abandon(kMailTimeout);
  if (!dialogue.finished()) __builtin_trap();
  // Success only when the message went out and the server took it.
  if (dialogue.result() == kMailOk && !messageSent) __builtin_trap();
  // The longest session (greeting, EHLO, 3 AUTH steps, MAIL, 2 RCPT, DATA,
  // message, QUIT) takes 11 replies; more are never asked for.
  if (replies > 11) __builtin_trap();

  const std::string_view input(text, length);
  MailRequest request;
  if (ParseMailArgs(CommandLineToArgs(input), request) == kMailOk) {
    if (request.to.empty() || request.server.empty()) __builtin_trap();
    for (const MailAddress& a : request.to)
      if (a.address.empty() || a.address.find_first_of("\r\n <>") != std::string::npos) __builtin_trap();
  }
  ServerAddress server;
  if (ParseServer(input, server) == kMailOk && (server.host.empty() || server.port < 1 || server.port > 65535))
    __builtin_trap();

  const std::string stuffed = DotStuff(input);
  if (stuffed.size() < 3 || stuffed.compare(stuffed.size() - 3, 3, ".\r\n") != 0) __builtin_trap();
  return 0;
}
