#include "mail_error.h"

namespace quillo::bxsndml {

const char* MailErrorText(int code) {
  switch (code) {
    case kMailOk: return "The mail was sent.";
    case kMailBadArguments: return "The mail could not be sent: an address or another field is missing or not usable.";
    case kMailBadServer: return "The mail server must be given as a name or a name followed by a colon and a port number.";
    case kMailUnknownHost: return "The mail server could not be found. Check the server name.";
    case kMailConnectionRefused: return "The mail server refused the connection. Check the server name and port.";
    case kMailTimeout: return "The mail server does not answer.";
    case kMailConnectionLost: return "The connection to the mail server was lost.";
    case kMailServerUnavailable: return "The mail server is not accepting mail at the moment.";
    case kMailHelloRejected: return "The mail server refused to talk to this computer.";
    case kMailAuthFailed: return "The mail server refused the user name or password.";
    case kMailSenderRejected: return "The mail server refused the sender address.";
    case kMailRecipientRejected: return "The mail server refused a recipient address.";
    case kMailMessageRejected: return "The mail server refused the message.";
    case kMailBodyUnreadable: return "The message text could not be read.";
    case kMailAttachmentUnreadable: return "An attached file could not be read.";
    case kMailTooLarge: return "The message is too large to send.";
    case kMailCancelled: return "Sending was cancelled.";
    case kMailProtocolError: return "The mail server gave an answer that could not be understood.";
    case kMailNetworkUnavailable: return "The network is not available.";
    case kMailBusy: return "Another mail is being sent.";
    default: return nullptr;
  }
}

}  // namespace quillo::bxsndml
