// Result codes of a mail send and the texts the studio shows for them.
// 0 is success; every failure has its own positive code so a caller can
// tell a typing mistake (bad arguments) from a network or server problem.
#pragma once

namespace quillo::bxsndml {

enum MailError : int {
  kMailOk = 0,
  kMailBadArguments = 1,        // missing option value, empty To, unusable address
  kMailBadServer = 2,           // server text not "host" or "host:port" with a port 1..65535
  kMailUnknownHost = 3,         // the server name does not resolve
  kMailConnectionRefused = 4,   // nothing listens on the server's port
  kMailTimeout = 5,             // the server does not answer in time
  kMailConnectionLost = 6,      // the server closed the connection mid-dialogue
  kMailServerUnavailable = 7,   // greeting other than 220
  kMailHelloRejected = 8,       // EHLO and HELO both refused
  kMailAuthFailed = 9,          // user name or password refused, or no usable method
  kMailSenderRejected = 10,     // MAIL FROM refused
  kMailRecipientRejected = 11,  // a RCPT TO refused
  kMailMessageRejected = 12,    // DATA or the message itself refused
  kMailBodyUnreadable = 13,     // the body file cannot be read
  kMailAttachmentUnreadable = 14,
  kMailTooLarge = 15,           // message beyond what one send can carry
  kMailCancelled = 16,
  kMailProtocolError = 17,      // the server's replies are not SMTP
  kMailNetworkUnavailable = 18, // Winsock cannot start or a socket cannot be made
  kMailBusy = 19,               // a send is already under way (re-entered from a progress report)
};

// Text for a code, or null for a code this library never returns.
const char* MailErrorText(int code);

}  // namespace quillo::bxsndml
