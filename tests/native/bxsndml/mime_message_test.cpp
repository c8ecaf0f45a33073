// The message text: headers, encodings and the multipart layout, checked by
// decoding what was built.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "outside/bxsndml/base64.h"
#include "outside/bxsndml/mime_message.h"

using namespace quillo::bxsndml;

namespace {

std::string DecodeBase64(std::string_view text) {
  std::string out;
  unsigned bits = 0, count = 0;
  for (char c : text) {
    int v = c >= 'A' && c <= 'Z' ? c - 'A' : c >= 'a' && c <= 'z' ? c - 'a' + 26
          : c >= '0' && c <= '9' ? c - '0' + 52 : c == '+' ? 62 : c == '/' ? 63 : -1;
    if (v < 0) continue;
    bits = bits << 6 | static_cast<unsigned>(v);
    if (++count % 4 == 0) {
      out += static_cast<char>(bits >> 16);
      out += static_cast<char>(bits >> 8);
      out += static_cast<char>(bits);
      bits = 0;
    }
  }
  if (count % 4 == 2) out += static_cast<char>(bits >> 4);
  if (count % 4 == 3) out += static_cast<char>(bits >> 10), out += static_cast<char>(bits >> 2);
  return out;
}

std::string DecodeQuotedPrintable(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '=' && text.substr(i + 1, 2) == "\r\n") {
      i += 2;
    } else if (text[i] == '=') {
      out += static_cast<char>(std::stoi(std::string(text.substr(i + 1, 2)), nullptr, 16));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

// Lines split at CRLF; a bare CR or LF anywhere fails the test.
std::vector<std::string> Lines(const std::string& message) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t i = 0; i < message.size(); ++i) {
    if (message[i] == '\r' && i + 1 < message.size() && message[i + 1] == '\n') {
      lines.push_back(message.substr(start, i - start));
      start = ++i + 1;
    } else {
      EXPECT_FALSE(message[i] == '\r' || message[i] == '\n') << "bare line break at " << i;
    }
  }
  EXPECT_EQ(start, message.size()) << "message does not end with CRLF";
  return lines;
}

// The unfolded value of a header in the top header block.
std::string Header(const std::string& message, const std::string& name) {
  const std::vector<std::string> lines = Lines(message);
  std::string value;
  bool in = false;
  for (const std::string& line : lines) {
    if (line.empty()) break;
    if (line[0] == ' ' || line[0] == '\t') {
      if (in) value += line;
      continue;
    }
    in = line.rfind(name + ":", 0) == 0;
    if (in) value = line.substr(name.size() + 1);
  }
  return value;
}

// Joins the decoded payloads of "=?cs?B?...?=" words.
std::string DecodeWords(const std::string& value, std::string* charset = nullptr) {
  std::string out;
  for (size_t at = value.find("=?"); at != std::string::npos; at = value.find("=?", at + 2)) {
    const size_t q1 = value.find('?', at + 2), end = value.find("?=", q1 + 3);
    if (charset) *charset = value.substr(at + 2, q1 - at - 2);
    out += DecodeBase64(value.substr(q1 + 3, end - q1 - 3));
    at = end;
  }
  return out;
}

MessageInput Sample() {
  MessageInput in;
  in.from = {"Me <me@x.test>", "me@x.test"};
  in.to = {{"ann@x.test", "ann@x.test"}, {"Bob <bob@y.test>", "bob@y.test"}};
  in.cc = {{"cc@z.test", "cc@z.test"}};
  in.subject = "Look at this";
  in.body = "Hello,\n.a line with a dot\nbye\n";
  in.date = {2025, 3, 4, 14, 3, 7, 2, 60};
  in.messageId = "<1.2@x.test>";
  in.boundaryTag = 0xABCDEF01;
  return in;
}

TEST(MimeMessage, MultipartCarriesBodyAndBinaryAttachmentIntact) {
  MessageInput in = Sample();
  std::string binary;
  for (int i = 0; i < 1000; ++i) binary += static_cast<char>(i * 7 % 256);
  in.attachments = {{"Gift.exe", binary}, {"pic.JPG", "xy"}};
  const std::string m = BuildMessage(in);

  EXPECT_EQ(Header(m, "From"), " Me <me@x.test>");
  EXPECT_EQ(Header(m, "To"), " ann@x.test, Bob <bob@y.test>");
  EXPECT_EQ(Header(m, "Cc"), " cc@z.test");
  EXPECT_EQ(Header(m, "Subject"), " Look at this");
  EXPECT_EQ(Header(m, "Date"), " Tue, 04 Mar 2025 14:03:07 +0100");
  EXPECT_EQ(Header(m, "Message-ID"), " <1.2@x.test>");
  EXPECT_EQ(Header(m, "MIME-Version"), " 1.0");
  EXPECT_NE(Header(m, "Content-Type").find("multipart/mixed; boundary=\"=_QuilloPart_ABCDEF01\""),
            std::string::npos);

  for (const std::string& line : Lines(m)) {
    EXPECT_LE(line.size(), 76u) << line;
    for (unsigned char c : line) EXPECT_LT(c, 0x80);
  }
  // Split at the boundary: preamble, body part, two attachments, end.
  std::vector<std::string> parts;
  const std::string delimiter = "\r\n--=_QuilloPart_ABCDEF01";
  for (size_t at = m.find(delimiter); at != std::string::npos;) {
    const size_t next = m.find(delimiter, at + delimiter.size());
    parts.push_back(m.substr(at + delimiter.size(), next == std::string::npos ? std::string::npos : next - at - delimiter.size()));
    at = next;
  }
  ASSERT_EQ(parts.size(), 4u);
  EXPECT_EQ(parts[3], "--\r\n");
  EXPECT_NE(parts[0].find("Content-Type: text/plain; charset=us-ascii"), std::string::npos);
  EXPECT_NE(parts[0].find("\r\n\r\nHello,\r\n.a line with a dot\r\nbye\r\n"), std::string::npos);
  EXPECT_NE(parts[1].find("application/octet-stream"), std::string::npos);
  EXPECT_NE(parts[1].find("filename=\"Gift.exe\""), std::string::npos);
  EXPECT_NE(parts[2].find("image/jpeg"), std::string::npos);
  const size_t payload = parts[1].find("\r\n\r\n");
  EXPECT_EQ(DecodeBase64(parts[1].substr(payload + 4)), binary);
}

TEST(MimeMessage, PlainTextWithoutAttachments) {
  const std::string m = BuildMessage(Sample());
  EXPECT_EQ(Header(m, "Content-Type"), " text/plain; charset=us-ascii");
  EXPECT_FALSE(Header(m, "Cc").empty());
  EXPECT_NE(m.find("\r\n\r\nHello,\r\n.a line with a dot\r\nbye\r\n"), std::string::npos);
}

TEST(MimeMessage, BodyThatCouldHoldABoundaryIsQuoted) {
  MessageInput in = Sample();
  in.attachments = {{"a.bin", "x"}};
  in.body = "--=_QuilloPart_ABCDEF01--\r\n" + std::string(200, 'y') + " \r\nGr\xFC\xDF" "e";
  const std::string m = BuildMessage(in);
  const size_t start = m.find("quoted-printable\r\n\r\n");
  ASSERT_NE(start, std::string::npos);
  EXPECT_NE(m.find("charset=windows-1252"), std::string::npos);  // not UTF-8: the sender's code page
  const size_t end = m.find("\r\n--=_QuilloPart_ABCDEF01\r\n", start);
  ASSERT_NE(end, std::string::npos);
  EXPECT_EQ(DecodeQuotedPrintable(m.substr(start + 20, end - start - 20)), in.body);
  for (const std::string& line : Lines(m)) EXPECT_LE(line.size(), 76u);
}

TEST(MimeMessage, NonAsciiSubjectAndNamesAreEncodedWords) {
  MessageInput in = Sample();
  std::string subject;
  for (int i = 0; i < 12; ++i) subject += "Grüße aus Köln ✓ ";  // UTF-8, several lines long
  in.subject = subject;
  in.to = {{"Jürgen <j@x.test>", "j@x.test"}};
  in.attachments = {{"Straße.jpg", "x"}};
  const std::string m = BuildMessage(in);
  std::string charset;
  EXPECT_EQ(DecodeWords(Header(m, "Subject"), &charset), subject);
  EXPECT_EQ(charset, "utf-8");
  EXPECT_EQ(DecodeWords(Header(m, "To")), "Jürgen");
  EXPECT_NE(Header(m, "To").find("<j@x.test>"), std::string::npos);
  EXPECT_NE(m.find("filename*=utf-8''Stra%C3%9Fe.jpg"), std::string::npos);
  for (const std::string& line : Lines(m)) EXPECT_LE(line.size(), 76u) << line;
  // No word splits a UTF-8 sequence: each word decodes on its own.
  const std::string words = EncodeHeaderWords(subject, "utf-8");
  for (size_t at = words.find("=?"), end; at != std::string::npos; at = words.find("=?", end + 2)) {
    end = words.find("?=", at + 10);
    const std::string one = DecodeWords(words.substr(at, end + 2 - at));
    EXPECT_NE(static_cast<unsigned char>(one[0]) & 0xC0, 0x80u);
    const unsigned char last = one.back();
    EXPECT_TRUE(last < 0x80 || (last & 0xC0) == 0x80) << "word ends inside a sequence";
  }
}

TEST(MimeMessage, LongRecipientListsFold) {
  MessageInput in = Sample();
  in.to.clear();
  for (int i = 0; i < 60; ++i) {
    const std::string a = "person" + std::to_string(i) + "@example.test";
    in.to.push_back({a, a});
  }
  const std::string m = BuildMessage(in);
  for (const std::string& line : Lines(m)) EXPECT_LE(line.size(), 76u) << line;
  const std::string to = Header(m, "To");
  EXPECT_NE(to.find("person0@example.test, person1@example.test"), std::string::npos);
  EXPECT_NE(to.find("person59@example.test"), std::string::npos);
  size_t commas = 0;
  for (char c : to) commas += c == ',';
  EXPECT_EQ(commas, 59u);
}

TEST(MimeMessage, Base64LinesAndDates) {
  EXPECT_EQ(Base64(""), "");
  EXPECT_EQ(Base64("f"), "Zg==");
  EXPECT_EQ(Base64("fo"), "Zm8=");
  EXPECT_EQ(Base64("foo"), "Zm9v");
  const std::string lines = Base64Lines(std::string(200, '\xFF'));
  EXPECT_EQ(lines.substr(0, 78), std::string(76, '/') + "\r\n");
  EXPECT_EQ(FormatMailDate({1999, 12, 31, 23, 59, 58, 5, -330}), "Fri, 31 Dec 1999 23:59:58 -0530");
  EXPECT_EQ(BaseName("C:\\Temp\\Gift.exe"), "Gift.exe");
  EXPECT_EQ(BaseName("/tmp/x/pic.jpg"), "pic.jpg");
  EXPECT_EQ(BaseName("D:pic.jpg"), "pic.jpg");
}

}  // namespace
