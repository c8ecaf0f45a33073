// The client side of one SMTP session as a state machine over the server's
// replies: greeting, EHLO (HELO when EHLO is refused with a 5xx), optional
// AUTH PLAIN or LOGIN, MAIL FROM, one RCPT TO per recipient, DATA, the
// message, QUIT. It never touches a socket: each reply gives the next step.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "mail_error.h"
#include "smtp_reply.h"

namespace quillo::bxsndml {

struct SmtpEnvelope {
  std::string heloName;
  std::string from;                     // bare address
  std::vector<std::string> recipients;  // every To and Cc address
  std::string user;                     // AUTH only when not empty
  std::string password;
};

class SmtpDialogue {
 public:
  enum class Action {
    kSend,         // send `line` and wait for the next reply
    kBeginData,    // send `line` (the DATA command) and wait; the message follows its 354
    kSendMessage,  // send the dot-stuffed message and wait for the reply
    kFinish,       // close the connection; result() is the outcome
  };
  struct Step {
    Action action;
    std::string line;  // ends with CRLF
  };

  explicit SmtpDialogue(SmtpEnvelope envelope);

  // The first reply is the greeting.
  Step OnReply(const SmtpReply& reply);
  // The conversation broke off (timeout, closed connection, garbage): the
  // result is `cause`, unless the message was already accepted and only the
  // goodbye was missing.
  Step Abandon(MailError cause);

  MailError result() const { return result_; }
  bool finished() const { return state_ == State::kDone; }

 private:
  enum class State {
    kGreeting, kEhlo, kHelo, kAuthPlain, kAuthLogin, kAuthUser, kAuthPassword,
    kMailFrom, kRecipient, kData, kMessage, kQuit, kDone,
  };
  Step Fail(MailError error);
  Step AfterHello(bool extended, const SmtpReply& reply);
  Step SendMailFrom();
  Step Send(State next, std::string line);

  SmtpEnvelope envelope_;
  State state_ = State::kGreeting;
  size_t recipient_ = 0;
  MailError result_ = kMailProtocolError;
};

// The message as sent after DATA's 354: every line end made CRLF, a dot
// doubled at the start of every line, and the closing "." line appended.
std::string DotStuff(std::string_view message);

}  // namespace quillo::bxsndml
