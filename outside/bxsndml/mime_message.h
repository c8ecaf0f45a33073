// Builds the Internet message the library sends: headers (From, To, Cc,
// Subject, Date, Message-ID, MIME-Version, optional Reply-To and Sender),
// then either one text/plain body or multipart/mixed with the body first and
// one base64 part per attachment. CRLF line ends throughout; no line longer
// than 76 characters except unbreakable header words; only 7-bit bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "mail_request.h"

namespace quillo::bxsndml {

struct MailAttachment {
  std::string fileName;  // without directory
  std::string data;
};

struct MailTime {
  int year = 1970, month = 1, day = 1;  // month 1..12
  int hour = 0, minute = 0, second = 0;
  int weekday = 4;                      // 0 = Sunday
  int utcOffsetMinutes = 0;             // local time minus UTC
};

struct MessageInput {
  MailAddress from;
  std::vector<MailAddress> to, cc;
  std::string replyTo, sender;  // header texts, may be empty
  std::string subject;
  std::string body;             // as read from the body file
  std::vector<MailAttachment> attachments;
  MailTime date;
  std::string messageId;        // "<...@...>"
  std::string legacyCharset = "windows-1252";  // the sender's code page, for text that is not UTF-8
  uint32_t boundaryTag = 0;
};

std::string BuildMessage(const MessageInput& input);

// "Tue, 04 Mar 2025 14:03:07 +0100"
std::string FormatMailDate(const MailTime& time);

// "us-ascii" for pure ASCII, "utf-8" for valid UTF-8, otherwise `legacy`.
std::string ChooseCharset(std::string_view text, const std::string& legacy);

// RFC 2047 encoded words ("=?charset?B?...?="), each at most 75 characters,
// joined by CRLF SP; UTF-8 sequences are never split between words.
std::string EncodeHeaderWords(std::string_view text, const std::string& charset);

// Quoted-printable with CRLF line ends and lines of at most 76 characters.
std::string QuotedPrintable(std::string_view text);

// Makes every line end CRLF (lone CR, lone LF and CRLF alike).
std::string NormalizeLineEnds(std::string_view text);

// The file name of a path ("C:\x\y.jpg" and "/x/y.jpg" give "y.jpg").
std::string BaseName(std::string_view path);

}  // namespace quillo::bxsndml
