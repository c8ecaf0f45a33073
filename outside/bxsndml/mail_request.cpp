#include "mail_request.h"

#include <cstdlib>

namespace quillo::bxsndml {
namespace {

constexpr size_t kMaxAddressLength = 254;

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

bool HasControl(std::string_view s) {
  for (unsigned char c : s)
    if (c < 0x20 || c == 0x7f) return true;
  return false;
}

// A bare address goes into "MAIL FROM:<...>" and "RCPT TO:<...>": nothing
// that could end the command or the brackets early.
bool UsableAddress(std::string_view a) {
  if (a.empty() || a.size() > kMaxAddressLength) return false;
  for (unsigned char c : a)
    if (c <= 0x20 || c == 0x7f || c == '<' || c == '>' || c == '"' || c == '(' || c == ')' ||
        c == ',' || c == ';')
      return false;
  return true;
}

// A domain or host name used in EHLO and the Message-ID.
bool UsableName(std::string_view s) {
  if (s.empty() || s.size() > 255) return false;
  for (unsigned char c : s)
    if (c <= 0x20 || c >= 0x7f || c == '<' || c == '>' || c == '@') return false;
  return true;
}

bool ParseOneAddress(std::string_view item, MailAddress& out) {
  item = Trim(item);
  if (HasControl(item)) return false;
  std::string_view bare = item;
  const size_t open = item.rfind('<');
  if (open != std::string_view::npos) {
    const size_t close = item.find('>', open);
    if (close == std::string_view::npos || Trim(item.substr(close + 1)).size() != 0) return false;
    bare = Trim(item.substr(open + 1, close - open - 1));
  } else if (item.find('>') != std::string_view::npos) {
    return false;
  }
  if (!UsableAddress(bare)) return false;
  out.display = std::string(item);
  out.address = std::string(bare);
  return true;
}

// Header text such as the subject: a typed line break must not start a new
// header, so control characters become blanks.
std::string OneLine(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = ' ';
  return out;
}

}  // namespace

bool ParseAddressList(std::string_view text, std::vector<MailAddress>& out) {
  bool quoted = false, bracket = false;
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    const char c = i < text.size() ? text[i] : ',';
    if (c == '"' && !bracket) quoted = !quoted;
    else if (c == '<' && !quoted) bracket = true;
    else if (c == '>' && !quoted) bracket = false;
    else if (i == text.size() || ((c == ',' || c == ';') && !quoted && !bracket)) {
      const std::string_view item = Trim(text.substr(start, i - start));
      start = i + 1;
      if (item.empty()) continue;
      MailAddress address;
      if (!ParseOneAddress(item, address)) return false;
      out.push_back(std::move(address));
    }
  }
  return !quoted && !bracket;
}

MailError ParseServer(std::string_view text, ServerAddress& server) {
  text = Trim(text);
  std::string_view host = text, port;
  if (!text.empty() && text.front() == '[') {
    const size_t close = text.find(']');
    if (close == std::string_view::npos) return kMailBadServer;
    host = text.substr(1, close - 1);
    std::string_view rest = text.substr(close + 1);
    if (!rest.empty()) {
      if (rest.front() != ':') return kMailBadServer;
      port = rest.substr(1);
      if (port.empty()) return kMailBadServer;
    }
  } else {
    const size_t colon = text.find(':');
    if (colon != std::string_view::npos && text.find(':', colon + 1) == std::string_view::npos) {
      host = text.substr(0, colon);
      port = text.substr(colon + 1);
      if (port.empty()) return kMailBadServer;
    }
    // Two colons or more and no brackets: a bare IPv6 address on port 25.
  }
  if (host.empty() || host.size() > 255) return kMailBadServer;
  for (unsigned char c : host)
    if (c <= 0x20 || c >= 0x7f || c == '/' || c == '@' || c == '[' || c == ']') return kMailBadServer;
  int value = 25;
  if (!port.empty()) {
    if (port.size() > 5) return kMailBadServer;
    value = 0;
    for (char c : port) {
      if (c < '0' || c > '9') return kMailBadServer;
      value = value * 10 + (c - '0');
    }
    if (value < 1 || value > 65535) return kMailBadServer;
  }
  server.host = std::string(host);
  server.port = value;
  return kMailOk;
}

MailError ParseMailArgs(const std::vector<std::string>& args, MailRequest& request) {
  if (args.empty()) return kMailBadArguments;
  request = MailRequest{};
  request.senderDomain = args[0];
  std::string fromText;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& word = args[i];
    if (word.size() != 2 || word[0] != '-') continue;  // stray word
    const char letter = word[1];
    static constexpr std::string_view kWithValue = "brsXfRDSca" "UP";
    if (kWithValue.find(letter) == std::string_view::npos) continue;  // unknown option
    if (i + 1 >= args.size()) return kMailBadArguments;
    const std::string& value = args[++i];
    switch (letter) {
      case 'b': request.bodyPath = value; break;
      case 'r': if (!ParseAddressList(value, request.to)) return kMailBadArguments; break;
      case 'c': if (!ParseAddressList(value, request.cc)) return kMailBadArguments; break;
      case 's': request.subject = OneLine(value); break;
      case 'X': request.server = std::string(Trim(value)); break;
      case 'f': fromText = value; break;
      case 'R': request.replyTo = std::string(Trim(value)); break;
      case 'D': request.heloName = std::string(Trim(value)); break;
      case 'S': request.sender = std::string(Trim(value)); break;
      case 'a': if (!value.empty()) request.attachments.push_back(value); break;
      case 'U': request.user = value; break;
      case 'P': request.password = value; break;
    }
  }
  if (request.to.empty() || request.server.empty()) return kMailBadArguments;
  if (!ParseOneAddress(fromText, request.from)) return kMailBadArguments;
  // Reply-To and Sender are header texts only; a bad one is dropped rather
  // than refusing the whole mail.
  MailAddress check;
  if (!request.replyTo.empty() && !ParseOneAddress(request.replyTo, check)) request.replyTo.clear();
  if (!request.sender.empty() && !ParseOneAddress(request.sender, check)) request.sender.clear();
  if (request.heloName.empty()) request.heloName = "localhost";
  if (!UsableName(request.heloName)) return kMailBadArguments;
  if (!UsableName(request.senderDomain)) {
    const size_t at = request.from.address.rfind('@');
    const std::string fromDomain = at == std::string::npos ? "" : request.from.address.substr(at + 1);
    request.senderDomain = UsableName(fromDomain) ? fromDomain : request.heloName;
  }
  return kMailOk;
}

std::vector<std::string> SplitCommandLine(std::string_view line) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false, quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '"') {
      if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
        word += '"';
        ++i;
      } else {
        quoted = !quoted;
      }
      inWord = true;
    } else if ((c == ' ' || c == '\t' || c == '\r' || c == '\n') && !quoted) {
      if (inWord) words.push_back(std::move(word));
      word.clear();
      inWord = false;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (inWord) words.push_back(std::move(word));
  return words;
}

std::vector<std::string> CommandLineToArgs(std::string_view line) {
  std::vector<std::string> args = SplitCommandLine(line);
  if (args.empty() || (args[0].size() == 2 && args[0][0] == '-')) args.insert(args.begin(), "");
  return args;
}

}  // namespace quillo::bxsndml
