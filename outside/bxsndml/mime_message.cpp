#include "mime_message.h"

#include <cstdio>

#include "base64.h"

namespace quillo::bxsndml {
namespace {

constexpr size_t kFoldAt = 76;

bool IsAscii(std::string_view s) {
  for (unsigned char c : s)
    if (c >= 0x80) return false;
  return true;
}

bool IsUtf8(std::string_view s) {
  for (size_t i = 0; i < s.size();) {
    const unsigned char c = s[i];
    size_t extra;
    if (c < 0x80) extra = 0;
    else if (c >= 0xC2 && c <= 0xDF) extra = 1;
    else if (c >= 0xE0 && c <= 0xEF) extra = 2;
    else if (c >= 0xF0 && c <= 0xF4) extra = 3;
    else return false;
    for (size_t k = 1; k <= extra; ++k)
      if (i + k >= s.size() || (static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    i += extra + 1;
  }
  return true;
}

// Accumulates one header, folding before a token that would take the
// current line past kFoldAt characters.
class HeaderLine {
 public:
  explicit HeaderLine(std::string_view name) : text_(name), column_(name.size()) { text_ += ':'; ++column_; }
  // `glue` goes before the token on the same line (", " or " "); when the
  // line is folded it becomes a single blank after the fold.
  void Add(std::string_view glue, std::string_view token) {
    if (token.empty()) {  // never fold in front of nothing: no blank-only lines
      text_ += glue;
      column_ += glue.size();
      return;
    }
    const size_t firstLine = token.find("\r\n");
    const size_t head = firstLine == std::string_view::npos ? token.size() : firstLine;
    if (column_ + glue.size() + head > kFoldAt) {
      // keep a comma on this line, move the blank into the fold
      if (!glue.empty() && glue[0] == ',') text_ += ',';
      text_ += "\r\n ";
      column_ = 1;
    } else {
      text_ += glue;
      column_ += glue.size();
    }
    text_ += token;
    const size_t lastLine = token.rfind("\r\n");
    column_ = lastLine == std::string_view::npos ? column_ + token.size() : token.size() - lastLine - 2;
  }
  std::string Finish() { return text_ + "\r\n"; }

 private:
  std::string text_;
  size_t column_;
};

// An address for a header: a name that is not ASCII is encoded, the
// address itself stays as typed.
std::string HeaderAddress(const MailAddress& a, const std::string& legacy) {
  if (IsAscii(a.display)) return a.display;
  const size_t open = a.display.rfind('<');
  std::string_view name = std::string_view(a.display).substr(0, open == std::string::npos ? 0 : open);
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  if (name.size() >= 2 && name.front() == '"' && name.back() == '"') name = name.substr(1, name.size() - 2);
  if (name.empty()) return "<" + a.address + ">";
  return EncodeHeaderWords(name, ChooseCharset(name, legacy)) + " <" + a.address + ">";
}

std::string AddressHeader(std::string_view name, const std::vector<MailAddress>& list,
                          const std::string& legacy) {
  HeaderLine line(name);
  for (size_t i = 0; i < list.size(); ++i) line.Add(i == 0 ? " " : ", ", HeaderAddress(list[i], legacy));
  return line.Finish();
}

std::string TextHeader(std::string_view name, std::string_view text, const std::string& legacy) {
  HeaderLine line(name);
  bool plain = IsAscii(text);
  size_t run = 0;
  for (char c : text) {
    run = c == ' ' ? 0 : run + 1;
    if (run > 70) plain = false;  // a word too long to fold: encode instead
  }
  if (!plain) {
    line.Add(" ", EncodeHeaderWords(text, ChooseCharset(text, legacy)));
    return line.Finish();
  }
  // Fold only at blanks; each word keeps its own leading blank.
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(' ', start);
    if (end == std::string_view::npos) end = text.size();
    line.Add(" ", text.substr(start, end - start));
    start = end + 1;
  }
  return line.Finish();
}

std::string ContentType(std::string_view fileName) {
  const size_t dot = fileName.rfind('.');
  std::string ext;
  if (dot != std::string_view::npos)
    for (char c : fileName.substr(dot + 1)) ext += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  if (ext == "jpg" || ext == "jpeg") return "image/jpeg";
  if (ext == "png") return "image/png";
  if (ext == "gif") return "image/gif";
  if (ext == "bmp") return "image/bmp";
  if (ext == "tif" || ext == "tiff") return "image/tiff";
  if (ext == "txt") return "text/plain";
  if (ext == "zip") return "application/zip";
  return "application/octet-stream";
}

// The file-name parameters of an attachment part: a quoted name for ASCII,
// RFC 2231 percent-encoding otherwise.
std::string FileNameParameter(std::string_view key, std::string_view fileName, const std::string& legacy) {
  std::string out;
  if (IsAscii(fileName)) {
    out = std::string(key) + "=\"";
    for (unsigned char c : fileName) {
      if (c < 0x20 || c == 0x7f) c = '_';
      if (c == '"' || c == '\\') out += '\\';
      out += static_cast<char>(c);
    }
    return out + "\"";
  }
  static constexpr char kHex[] = "0123456789ABCDEF";
  out = std::string(key) + "*=" + ChooseCharset(fileName, legacy) + "''";
  for (unsigned char c : fileName) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '_') {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

// The text part's header lines and encoded content. 7bit when the text is
// ASCII with short lines and cannot contain a boundary ("=_" never appears in
// quoted-printable or base64 output, and every boundary holds it).
std::string TextPart(std::string_view body, const std::string& legacy) {
  const std::string text = NormalizeLineEnds(body);
  bool plain = IsAscii(text) && text.find("=_") == std::string::npos;
  size_t column = 0;
  for (char c : text) {
    column = c == '\n' ? 0 : column + 1;
    if (column > 998) plain = false;
  }
  const std::string charset = ChooseCharset(text, legacy);
  std::string out = "Content-Type: text/plain; charset=" + charset + "\r\n";
  if (plain) return out + "Content-Transfer-Encoding: 7bit\r\n\r\n" + text;
  return out + "Content-Transfer-Encoding: quoted-printable\r\n\r\n" + QuotedPrintable(text);
}

}  // namespace

std::string NormalizeLineEnds(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 32);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out += "\r\n";
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string ChooseCharset(std::string_view text, const std::string& legacy) {
  if (IsAscii(text)) return "us-ascii";
  return IsUtf8(text) ? "utf-8" : legacy;
}

std::string EncodeHeaderWords(std::string_view text, const std::string& charset) {
  const std::string prefix = "=?" + charset + "?B?";
  const size_t room = 75 > prefix.size() + 2 ? 75 - prefix.size() - 2 : 4;
  const size_t perWord = room / 4 * 3 > 0 ? room / 4 * 3 : 3;
  const bool utf8 = charset == "utf-8";
  std::string out;
  for (size_t start = 0; start < text.size();) {
    size_t end = start + perWord < text.size() ? start + perWord : text.size();
    if (utf8)
      while (end > start + 1 && end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    if (!out.empty()) out += "\r\n ";
    out += prefix + Base64(text.substr(start, end - start)) + "?=";
    start = end;
  }
  return out.empty() ? prefix + "?=" : out;
}

std::string QuotedPrintable(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size() * 3 / 2);
  size_t column = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = text[i];
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      out += "\r\n";
      ++i;
      column = 0;
      continue;
    }
    const bool lineEnd = i + 1 == text.size() || text[i + 1] == '\r';
    const bool literal = (c >= 33 && c <= 126 && c != '=') || ((c == ' ' || c == '\t') && !lineEnd);
    const size_t width = literal ? 1 : 3;
    // Leave room for the soft break "=" unless this is the line's last char.
    if (column + width > (lineEnd ? 76 : 75)) {
      out += "=\r\n";
      column = 0;
    }
    if (literal) {
      out += static_cast<char>(c);
    } else {
      out += '=';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
    column += width;
  }
  return out;
}

std::string FormatMailDate(const MailTime& t) {
  static constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const int offset = t.utcOffsetMinutes < 0 ? -t.utcOffsetMinutes : t.utcOffsetMinutes;
  char text[64];
  std::snprintf(text, sizeof text, "%s, %02d %s %04d %02d:%02d:%02d %c%02d%02d",
                kDays[(t.weekday % 7 + 7) % 7], t.day, kMonths[((t.month - 1) % 12 + 12) % 12], t.year,
                t.hour, t.minute, t.second, t.utcOffsetMinutes < 0 ? '-' : '+', offset / 60 % 100,
                offset % 60);
  return text;
}

std::string BaseName(std::string_view path) {
  const size_t slash = path.find_last_of("\\/:");
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string BuildMessage(const MessageInput& in) {
  const std::string& legacy = in.legacyCharset;
  std::string out;
  out += AddressHeader("From", {in.from}, legacy);
  std::vector<MailAddress> sender, replyTo;
  if (in.sender != in.from.display && in.sender != in.from.address && ParseAddressList(in.sender, sender) &&
      sender.size() == 1)
    out += AddressHeader("Sender", sender, legacy);
  if (ParseAddressList(in.replyTo, replyTo) && !replyTo.empty()) out += AddressHeader("Reply-To", replyTo, legacy);
  out += AddressHeader("To", in.to, legacy);
  if (!in.cc.empty()) out += AddressHeader("Cc", in.cc, legacy);
  out += TextHeader("Subject", in.subject, legacy);
  out += "Date: " + FormatMailDate(in.date) + "\r\n";
  out += "Message-ID: " + in.messageId + "\r\n";
  out += "MIME-Version: 1.0\r\n";
  if (in.attachments.empty()) return out + TextPart(in.body, legacy);

  char tag[16];
  std::snprintf(tag, sizeof tag, "%08X", static_cast<unsigned>(in.boundaryTag));
  const std::string boundary = std::string("=_QuilloPart_") + tag;
  out += "Content-Type: multipart/mixed; boundary=\"" + boundary + "\"\r\n\r\n";
  out += "This is a message in MIME format.\r\n";
  out += "--" + boundary + "\r\n" + TextPart(in.body, legacy);
  // The line break before a boundary belongs to the boundary: without this
  // one the body's own last line break would be lost.
  out += "\r\n";
  for (const MailAttachment& a : in.attachments) {
    out += "--" + boundary + "\r\n";
    out += "Content-Type: " + ContentType(a.fileName) + ";\r\n " + FileNameParameter("name", a.fileName, legacy) + "\r\n";
    out += "Content-Transfer-Encoding: base64\r\n";
    out += "Content-Disposition: attachment;\r\n " + FileNameParameter("filename", a.fileName, legacy) + "\r\n\r\n";
    out += Base64Lines(a.data);
  }
  out += "--" + boundary + "--\r\n";
  return out;
}

}  // namespace quillo::bxsndml
