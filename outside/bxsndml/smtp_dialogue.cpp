#include "smtp_dialogue.h"

#include <cctype>

#include "base64.h"

namespace quillo::bxsndml {
namespace {

bool Positive(const SmtpReply& r) { return r.code >= 200 && r.code < 300; }

std::string Upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

// AUTH methods an EHLO reply offers ("AUTH PLAIN LOGIN", or the old
// "AUTH=LOGIN" form).
void AuthMethods(const SmtpReply& reply, bool& plain, bool& login) {
  plain = login = false;
  for (const std::string& raw : reply.lines) {
    const std::string line = Upper(raw);
    if (line.rfind("AUTH", 0) != 0 || line.size() < 5 || (line[4] != ' ' && line[4] != '=')) continue;
    std::string word;
    for (size_t i = 5; i <= line.size(); ++i) {
      if (i == line.size() || line[i] == ' ') {
        if (word == "PLAIN") plain = true;
        if (word == "LOGIN") login = true;
        word.clear();
      } else {
        word += line[i];
      }
    }
  }
}

}  // namespace

SmtpDialogue::SmtpDialogue(SmtpEnvelope envelope) : envelope_(std::move(envelope)) {}

SmtpDialogue::Step SmtpDialogue::Send(State next, std::string line) {
  state_ = next;
  return {Action::kSend, std::move(line) + "\r\n"};
}

// A refusal still ends politely with QUIT; the result is kept for when the
// goodbye has been answered.
SmtpDialogue::Step SmtpDialogue::Fail(MailError error) {
  result_ = error;
  return Send(State::kQuit, "QUIT");
}

SmtpDialogue::Step SmtpDialogue::SendMailFrom() {
  return Send(State::kMailFrom, "MAIL FROM:<" + envelope_.from + ">");
}

SmtpDialogue::Step SmtpDialogue::AfterHello(bool extended, const SmtpReply& reply) {
  if (envelope_.user.empty()) return SendMailFrom();
  bool plain = false, login = false;
  if (extended) AuthMethods(reply, plain, login);
  if (plain) {
    const std::string token = std::string(1, '\0') + envelope_.user + '\0' + envelope_.password;
    return Send(State::kAuthPlain, "AUTH PLAIN " + Base64(token));
  }
  if (login) return Send(State::kAuthLogin, "AUTH LOGIN");
  return Fail(kMailAuthFailed);
}

SmtpDialogue::Step SmtpDialogue::OnReply(const SmtpReply& reply) {
  switch (state_) {
    case State::kGreeting:
      if (reply.code != 220) return Fail(kMailServerUnavailable);
      return Send(State::kEhlo, "EHLO " + envelope_.heloName);
    case State::kEhlo:
      if (Positive(reply)) return AfterHello(true, reply);
      if (reply.code >= 500) return Send(State::kHelo, "HELO " + envelope_.heloName);
      return Fail(kMailHelloRejected);
    case State::kHelo:
      if (Positive(reply)) return AfterHello(false, reply);
      return Fail(kMailHelloRejected);
    case State::kAuthPlain:
      if (reply.code == 235) return SendMailFrom();
      return Fail(kMailAuthFailed);
    case State::kAuthLogin:
      if (reply.code == 334) return Send(State::kAuthUser, Base64(envelope_.user));
      return Fail(kMailAuthFailed);
    case State::kAuthUser:
      if (reply.code == 334) return Send(State::kAuthPassword, Base64(envelope_.password));
      return Fail(kMailAuthFailed);
    case State::kAuthPassword:
      if (reply.code == 235) return SendMailFrom();
      return Fail(kMailAuthFailed);
    case State::kMailFrom:
      if (!Positive(reply)) return Fail(kMailSenderRejected);
      if (envelope_.recipients.empty()) return Fail(kMailBadArguments);
      recipient_ = 0;
      return Send(State::kRecipient, "RCPT TO:<" + envelope_.recipients[0] + ">");
    case State::kRecipient:
      // One refused recipient stops the send: a mail that silently misses
      // some of its addressees would be reported as sent.
      if (!Positive(reply)) return Fail(kMailRecipientRejected);
      if (++recipient_ < envelope_.recipients.size())
        return Send(State::kRecipient, "RCPT TO:<" + envelope_.recipients[recipient_] + ">");
      state_ = State::kData;
      return {Action::kBeginData, "DATA\r\n"};
    case State::kData:
      if (reply.code != 354) return Fail(kMailMessageRejected);
      state_ = State::kMessage;
      return {Action::kSendMessage, {}};
    case State::kMessage:
      if (!Positive(reply)) return Fail(kMailMessageRejected);
      result_ = kMailOk;
      return Send(State::kQuit, "QUIT");
    case State::kQuit:
    case State::kDone:
      state_ = State::kDone;
      return {Action::kFinish, {}};
  }
  return Abandon(kMailProtocolError);
}

SmtpDialogue::Step SmtpDialogue::Abandon(MailError cause) {
  if (state_ != State::kQuit && state_ != State::kDone) result_ = cause;
  state_ = State::kDone;
  return {Action::kFinish, {}};
}

std::string DotStuff(std::string_view message) {
  std::string out;
  out.reserve(message.size() + message.size() / 64 + 8);
  bool lineStart = true;
  for (size_t i = 0; i < message.size(); ++i) {
    const char c = message[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < message.size() && message[i + 1] == '\n') ++i;
      out += "\r\n";
      lineStart = true;
      continue;
    }
    if (lineStart && c == '.') out += '.';
    out += c;
    lineStart = false;
  }
  if (!lineStart) out += "\r\n";
  out += ".\r\n";
  return out;
}

}  // namespace quillo::bxsndml
