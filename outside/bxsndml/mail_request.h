// The mail request a caller hands the library, parsed from the argument
// array the studio builds (index 0 the sender's domain, then option letters
// each followed by one value) or from a command line of the same options.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "mail_error.h"

namespace quillo::bxsndml {

// One address as typed ("Ann <ann@example.org>" or "ann@example.org"):
// the text for the header and the bare address for the envelope.
struct MailAddress {
  std::string display;
  std::string address;
};

struct MailRequest {
  std::string senderDomain;              // index 0: names the Message-ID
  std::string bodyPath;                  // -b
  std::vector<MailAddress> to;           // -r, repeatable, lists split on , and ;
  std::vector<MailAddress> cc;           // -c, same
  std::string subject;                   // -s
  std::string server;                    // -X "host" or "host:port"
  MailAddress from;                      // -f
  std::string replyTo;                   // -R (header text, optional)
  std::string heloName = "localhost";    // -D
  std::string sender;                    // -S (header text when it differs from From)
  std::vector<std::string> attachments;  // -a, repeatable
  std::string user;                      // -U: log in with AUTH when given
  std::string password;                  // -P
};

struct ServerAddress {
  std::string host;
  int port = 25;
};

// Parses the argument array. Unknown options and stray words are skipped;
// an option without a value, a missing To, From or server, or an address
// with spaces or control characters gives kMailBadArguments.
MailError ParseMailArgs(const std::vector<std::string>& args, MailRequest& request);

// Splits "a@x, b@y; Name <c@z>" into addresses; false when an entry is not
// usable (empty entries are skipped).
bool ParseAddressList(std::string_view text, std::vector<MailAddress>& out);

// "host", "host:port", "[v6]", "[v6]:port" or a bare IPv6 address.
MailError ParseServer(std::string_view text, ServerAddress& server);

// Splits a command line at blanks; double quotes group words (a doubled
// quote inside them is a literal one). Backslashes are plain characters so
// Windows paths pass unchanged.
std::vector<std::string> SplitCommandLine(std::string_view line);

// A command line holds the options only, optionally preceded by the
// sender's domain: turns it into the argument array ParseMailArgs takes.
std::vector<std::string> CommandLineToArgs(std::string_view line);

}  // namespace quillo::bxsndml
