// The argument array and command line the studio hands the mail library,
// and the server text it carries.
#include <gtest/gtest.h>

#include <algorithm>

#include "outside/bxsndml/mail_request.h"

using namespace quillo::bxsndml;

namespace {

// The array the studio's gift dialog builds, with a Cc and an attachment.
std::vector<std::string> StudioArgs() {
  return {"example.org", "-b", "Temp\\body.tmp", "-r", "ann@x.test, bob@y.test; Cy <cy@z.test>",
          "-s", "Look!", "-X", "mail.x.test:2525", "-f", "me@example.org", "-R", "me@example.org",
          "-D", "localhost", "-S", "me@example.org", "-a", "Temp\\Gift.exe", "-c", "dee@x.test"};
}

TEST(MailArgs, StudioArrayGivesEveryField) {
  MailRequest r;
  ASSERT_EQ(ParseMailArgs(StudioArgs(), r), kMailOk);
  EXPECT_EQ(r.senderDomain, "example.org");
  EXPECT_EQ(r.bodyPath, "Temp\\body.tmp");
  ASSERT_EQ(r.to.size(), 3u);
  EXPECT_EQ(r.to[0].address, "ann@x.test");
  EXPECT_EQ(r.to[1].address, "bob@y.test");
  EXPECT_EQ(r.to[2].address, "cy@z.test");
  EXPECT_EQ(r.to[2].display, "Cy <cy@z.test>");
  ASSERT_EQ(r.cc.size(), 1u);
  EXPECT_EQ(r.cc[0].address, "dee@x.test");
  EXPECT_EQ(r.subject, "Look!");
  EXPECT_EQ(r.server, "mail.x.test:2525");
  EXPECT_EQ(r.from.address, "me@example.org");
  EXPECT_EQ(r.heloName, "localhost");
  ASSERT_EQ(r.attachments.size(), 1u);
  EXPECT_EQ(r.attachments[0], "Temp\\Gift.exe");
}

TEST(MailArgs, RepeatsUnknownOptionsAndStrayWords) {
  std::vector<std::string> args = StudioArgs();
  args.insert(args.begin() + 1, {"-z", "stray", "--long"});
  args.insert(args.end(), {"-a", "second.jpg", "-a", "third.png", "-r", "eve@x.test", "-q"});
  MailRequest r;
  ASSERT_EQ(ParseMailArgs(args, r), kMailOk);
  EXPECT_EQ(r.attachments, (std::vector<std::string>{"Temp\\Gift.exe", "second.jpg", "third.png"}));
  EXPECT_EQ(r.to.size(), 4u);
  EXPECT_EQ(r.to[3].address, "eve@x.test");
}

TEST(MailArgs, RefusesMissingValuesAndUnusableAddresses) {
  // An option as the last word has no value, whichever option it is.
  for (const char* option : {"-b", "-r", "-s", "-X", "-f", "-R", "-D", "-S", "-c", "-a"}) {
    std::vector<std::string> args = StudioArgs();
    args.push_back(option);
    MailRequest r;
    EXPECT_EQ(ParseMailArgs(args, r), kMailBadArguments) << option;
  }
  const std::vector<std::pair<std::string, std::string>> bad = {
      {"-r", ""},                       // no recipient at all
      {"-r", " , ;"},
      {"-r", "ann@x.test\r\nRCPT TO:<spam@x>"},  // command injection through a line break
      {"-r", "ann smith@x.test"},
      {"-r", "Ann <ann@x.test"},
      {"-f", ""},
      {"-f", "me@x>\r\nDATA"},
      {"-X", ""},
      {"-D", "my host"},
      {"-c", "a@x, <>"},
  };
  for (const auto& [option, value] : bad) {
    std::vector<std::string> args = StudioArgs();
    auto at = std::find(args.begin() + 1, args.end(), option);
    if (at == args.end()) at = args.insert(args.end(), {option, ""});
    *(at + 1) = value;
    MailRequest r;
    EXPECT_EQ(ParseMailArgs(args, r), kMailBadArguments) << option << " " << value;
  }
  MailRequest r;
  EXPECT_EQ(ParseMailArgs({}, r), kMailBadArguments);
}

TEST(MailArgs, HeaderTextsCannotStartNewHeaders) {
  std::vector<std::string> args = StudioArgs();
  args.insert(args.end(), {"-s", "Hi\r\nBcc: spy@x.test", "-R", "x\r\ny"});
  MailRequest r;
  ASSERT_EQ(ParseMailArgs(args, r), kMailOk);
  EXPECT_EQ(r.subject, "Hi  Bcc: spy@x.test");
  EXPECT_EQ(r.replyTo, "");  // a broken Reply-To is dropped, the mail still goes
}

TEST(MailArgs, SenderDomainFallsBackToTheAddress) {
  std::vector<std::string> args = StudioArgs();
  args[0] = "";
  MailRequest r;
  ASSERT_EQ(ParseMailArgs(args, r), kMailOk);
  EXPECT_EQ(r.senderDomain, "example.org");
}

TEST(MailArgs, CommandLineGivesTheSameRequest) {
  MailRequest fromLine, fromArgs;
  ASSERT_EQ(ParseMailArgs(CommandLineToArgs(
                "-b C:\\Temp\\body.tmp -r \"Ann \"\"A\"\" <ann@x.test>, bob@y.test\" -s \"Two words\" "
                "-X mail.x.test -f me@example.org -a C:\\a.jpg -a \"C:\\My Files\\b.png\""),
                fromLine),
            kMailOk);
  EXPECT_EQ(fromLine.bodyPath, "C:\\Temp\\body.tmp");
  ASSERT_EQ(fromLine.to.size(), 2u);
  EXPECT_EQ(fromLine.to[0].display, "Ann \"A\" <ann@x.test>");
  EXPECT_EQ(fromLine.subject, "Two words");
  EXPECT_EQ(fromLine.attachments, (std::vector<std::string>{"C:\\a.jpg", "C:\\My Files\\b.png"}));
  EXPECT_EQ(fromLine.senderDomain, "example.org");
  ASSERT_EQ(ParseMailArgs(CommandLineToArgs("own.test -r a@x -X h -f b@y"), fromArgs), kMailOk);
  EXPECT_EQ(fromArgs.senderDomain, "own.test");
}

TEST(MailServer, HostAndPort) {
  struct Case { const char* text; MailError error; const char* host; int port; };
  const Case cases[] = {
      {"mail.x.test", kMailOk, "mail.x.test", 25},
      {" mail.x.test:587 ", kMailOk, "mail.x.test", 587},
      {"127.0.0.1:65535", kMailOk, "127.0.0.1", 65535},
      {"[::1]:2525", kMailOk, "::1", 2525},
      {"[::1]", kMailOk, "::1", 25},
      {"fe80::1", kMailOk, "fe80::1", 25},
      {"h:0", kMailBadServer, "", 0},
      {"h:65536", kMailBadServer, "", 0},
      {"h:99999999999", kMailBadServer, "", 0},
      {"h:25x", kMailBadServer, "", 0},
      {"h:-1", kMailBadServer, "", 0},
      {"h:", kMailBadServer, "", 0},
      {":25", kMailBadServer, "", 0},
      {"", kMailBadServer, "", 0},
      {"[::1", kMailBadServer, "", 0},
      {"[::1]x", kMailBadServer, "", 0},
      {"my host", kMailBadServer, "", 0},
  };
  for (const Case& c : cases) {
    ServerAddress s;
    ASSERT_EQ(ParseServer(c.text, s), c.error) << c.text;
    if (c.error == kMailOk) {
      EXPECT_EQ(s.host, c.host) << c.text;
      EXPECT_EQ(s.port, c.port) << c.text;
    }
  }
}

TEST(MailErrors, EveryCodeHasItsOwnText) {
  std::vector<std::string> seen;
  for (int code = kMailBadArguments; code <= kMailBusy; ++code) {
    ASSERT_NE(MailErrorText(code), nullptr) << code;
    for (const std::string& other : seen) EXPECT_NE(other, MailErrorText(code));
    seen.push_back(MailErrorText(code));
  }
  EXPECT_EQ(MailErrorText(-1), nullptr);
  EXPECT_EQ(MailErrorText(kMailBusy + 1), nullptr);
}

}  // namespace
