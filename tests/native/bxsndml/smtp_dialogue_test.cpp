// The SMTP client's side of the conversation, driven by scripted server
// replies, and the reply reader underneath it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "outside/bxsndml/smtp_dialogue.h"

using namespace quillo::bxsndml;

namespace {

SmtpEnvelope Envelope() {
  return {"localhost", "me@x.test", {"ann@x.test", "bob@y.test", "cc@z.test"}, "", ""};
}

// Plays a server: each element is what the server says next (one or more
// reply lines). Returns the client's lines in order ("<message>" for the
// message itself) and leaves the dialogue finished or waiting.
std::vector<std::string> Play(SmtpDialogue& d, const std::vector<std::string>& server) {
  std::vector<std::string> client;
  SmtpReplyReader reader;
  for (const std::string& text : server) {
    EXPECT_TRUE(reader.Feed(text.data(), text.size())) << text;
    while (reader.HasReply()) {
      const SmtpDialogue::Step step = d.OnReply(reader.TakeReply());
      if (step.action == SmtpDialogue::Action::kFinish) return client;
      client.push_back(step.action == SmtpDialogue::Action::kSendMessage ? "<message>" : step.line);
    }
  }
  return client;
}

TEST(SmtpDialogue, FullSendWithMultiLineReplies) {
  SmtpDialogue d(Envelope());
  const auto client = Play(d, {"220 mail.x.test ESMTP\r\n",
                               "250-mail.x.test\r\n250-SIZE 1000000\r\n250 8BITMIME\r\n",
                               "250 ok\r\n", "250 ok\r\n", "251 forwarded\r\n", "250 ok\r\n",
                               "354 go ahead\r\n", "250 queued\r\n", "221 bye\r\n"});
  EXPECT_EQ(client, (std::vector<std::string>{
                        "EHLO localhost\r\n", "MAIL FROM:<me@x.test>\r\n", "RCPT TO:<ann@x.test>\r\n",
                        "RCPT TO:<bob@y.test>\r\n", "RCPT TO:<cc@z.test>\r\n", "DATA\r\n", "<message>",
                        "QUIT\r\n"}));
  EXPECT_TRUE(d.finished());
  EXPECT_EQ(d.result(), kMailOk);
}

TEST(SmtpDialogue, EhloRefusedFallsBackToHelo) {
  SmtpDialogue d(Envelope());
  const auto client = Play(d, {"220 old server\r\n", "502 command not implemented\r\n", "250 hello\r\n"});
  ASSERT_EQ(client.size(), 3u);
  EXPECT_EQ(client[1], "HELO localhost\r\n");
  EXPECT_EQ(client[2], "MAIL FROM:<me@x.test>\r\n");
  // A temporary refusal of EHLO is not a reason to try HELO.
  SmtpDialogue t(Envelope());
  EXPECT_EQ(Play(t, {"220 x\r\n", "421 busy\r\n", "221 bye\r\n"}).back(), "QUIT\r\n");
  EXPECT_EQ(t.result(), kMailHelloRejected);
}

TEST(SmtpDialogue, EachRefusalHasItsCodeAndEndsWithQuit) {
  struct Case { std::vector<std::string> server; MailError result; bool messageSent = false; };
  const std::string g = "220 x\r\n", e = "250 x\r\n", ok = "250 ok\r\n";
  const Case cases[] = {
      {{"554 no service here\r\n", "221 bye\r\n"}, kMailServerUnavailable},
      {{g, "550 no\r\n", "550 no\r\n", "221\r\n"}, kMailHelloRejected},
      {{g, e, "553 sender refused\r\n", "221\r\n"}, kMailSenderRejected},
      // The second of three recipients is refused: nothing is sent.
      {{g, e, ok, ok, "550 5.1.1 no such user\r\n", "221\r\n"}, kMailRecipientRejected},
      {{g, e, ok, ok, ok, ok, "554 no DATA\r\n", "221\r\n"}, kMailMessageRejected},
      {{g, e, ok, ok, ok, ok, "354 go\r\n", "552 too big\r\n", "221\r\n"}, kMailMessageRejected, true},
  };
  for (const Case& c : cases) {
    SmtpDialogue d(Envelope());
    const auto client = Play(d, c.server);
    EXPECT_TRUE(d.finished());
    EXPECT_EQ(d.result(), c.result);
    EXPECT_EQ(client.back(), "QUIT\r\n");
    EXPECT_EQ(std::count(client.begin(), client.end(), "<message>"), c.messageSent ? 1 : 0);
  }
}

TEST(SmtpDialogue, BreakOffKeepsAnAcceptedMail) {
  SmtpDialogue before(Envelope());
  Play(before, {"220 x\r\n", "250 x\r\n"});
  before.Abandon(kMailTimeout);
  EXPECT_EQ(before.result(), kMailTimeout);
  // The server took the message and then vanished instead of answering QUIT.
  SmtpDialogue after(Envelope());
  Play(after, {"220 x\r\n", "250 x\r\n", "250\r\n", "250\r\n", "250\r\n", "250\r\n", "354\r\n", "250\r\n"});
  after.Abandon(kMailConnectionLost);
  EXPECT_EQ(after.result(), kMailOk);
}

TEST(SmtpDialogue, AuthPlainAndLogin) {
  SmtpEnvelope env = Envelope();
  env.user = "me";
  env.password = "secret";
  SmtpDialogue plain(env);
  auto client = Play(plain, {"220 x\r\n", "250-x\r\n250-AUTH LOGIN PLAIN\r\n250 OK\r\n", "235 ok\r\n"});
  ASSERT_EQ(client.size(), 3u);
  EXPECT_EQ(client[1], "AUTH PLAIN AG1lAHNlY3JldA==\r\n");  // "\0me\0secret"
  EXPECT_EQ(client[2], "MAIL FROM:<me@x.test>\r\n");

  SmtpDialogue login(env);
  client = Play(login, {"220 x\r\n", "250-x\r\n250 AUTH=LOGIN\r\n", "334 VXNlcm5hbWU6\r\n",
                        "334 UGFzc3dvcmQ6\r\n", "535 bad password\r\n", "221\r\n"});
  EXPECT_EQ(client, (std::vector<std::string>{"EHLO localhost\r\n", "AUTH LOGIN\r\n", "bWU=\r\n",
                                              "c2VjcmV0\r\n", "QUIT\r\n"}));
  EXPECT_EQ(login.result(), kMailAuthFailed);

  // A user is configured but the server offers no login: do not send anyway.
  SmtpDialogue none(env);
  Play(none, {"220 x\r\n", "250 x\r\n", "221\r\n"});
  EXPECT_EQ(none.result(), kMailAuthFailed);
}

TEST(SmtpReplyReader, SplitsAndJoinsLinesAcrossChunks) {
  SmtpReplyReader r;
  const std::string text = "250-first\r\n250-second\n250 last\r\n220 next\r\n";
  for (char c : text) ASSERT_TRUE(r.Feed(&c, 1));  // one byte at a time
  ASSERT_TRUE(r.HasReply());
  SmtpReply a = r.TakeReply();
  EXPECT_EQ(a.code, 250);
  EXPECT_EQ(a.lines, (std::vector<std::string>{"first", "second", "last"}));
  ASSERT_TRUE(r.HasReply());
  EXPECT_EQ(r.TakeReply().code, 220);
  EXPECT_FALSE(r.HasReply());
  // A bare code is a complete reply with an empty text.
  ASSERT_TRUE(r.Feed("354\r\n", 5));
  EXPECT_EQ(r.TakeReply().lines, std::vector<std::string>{""});
}

TEST(SmtpReplyReader, RefusesWhatIsNotSmtp) {
  for (const std::string bad : {"HTTP/1.1 200 OK\r\n", "25\r\n", "250x\r\n", "650 x\r\n", "1xx\r\n",
                                "250-a\r\n251 b\r\n", "\r\n"}) {
    SmtpReplyReader r;
    EXPECT_FALSE(r.Feed(bad.data(), bad.size())) << bad;
    EXPECT_TRUE(r.failed());
  }
  // Endless lines and endless continuations are cut off.
  SmtpReplyReader longLine;
  const std::string flood(SmtpReplyReader::kMaxLineLength + 10, 'x');
  EXPECT_FALSE(longLine.Feed(("250 " + flood).data(), flood.size() + 4));
  SmtpReplyReader many;
  bool ok = true;
  for (size_t i = 0; i <= SmtpReplyReader::kMaxLinesPerReply && ok; ++i) ok = many.Feed("250-x\r\n", 7);
  EXPECT_FALSE(ok);
}

TEST(DotStuff, DoublesLeadingDotsAndEndsTheMessage) {
  EXPECT_EQ(DotStuff(".hidden\r\nok.\r\n..two\r\n.\r\nend"),
            "..hidden\r\nok.\r\n...two\r\n..\r\nend\r\n.\r\n");
  // Bare LF and CR become CRLF, so a dot after them is at a line start too.
  EXPECT_EQ(DotStuff("a\n.b\r.c\r\n"), "a\r\n..b\r\n..c\r\n.\r\n");
  EXPECT_EQ(DotStuff(""), ".\r\n");
}

}  // namespace
