#include <gtest/gtest.h>

#include "app/sharing/gift_plan.h"
#include "app/sharing/mail_arguments.h"

namespace quillo {
namespace {

TEST(GiftPaths, NamesFollowTheChosenFile) {
  const auto gift = GiftPathsFor("Gift.exe");
  ASSERT_TRUE(gift);
  EXPECT_EQ(gift->archive, "Temp\\Gift.ZIP");
  EXPECT_EQ(gift->program, "Temp\\Gift.exe");
  EXPECT_EQ(gift->packageName, "_Gift");
  EXPECT_EQ(GiftPathsFor("Gift.EXE")->archive, "Temp\\Gift.ZIP");
  EXPECT_EQ(GiftPathsFor("Gift")->archive, "Temp\\Gift.ZIP");
  EXPECT_EQ(GiftPathsFor("Gift.com")->archive, "Temp\\Gift.com.ZIP");
  EXPECT_EQ(GiftPathsFor("my.gift.exe")->base, "my.gift");
  for (const char* bad : {"", ".exe", "..\\Gift.exe", "C:Gift.exe", "a/b.exe"}) EXPECT_FALSE(GiftPathsFor(bad)) << bad;
  EXPECT_TRUE(GiftPathsFor(std::string(46, 'g') + ".exe"));
  EXPECT_FALSE(GiftPathsFor(std::string(47, 'g') + ".exe"));
  EXPECT_EQ(DefaultGiftName(1234), "Eff01234.exe");
  EXPECT_EQ(DefaultGiftName(123456), "Eff23456.exe");
}

// Program files are never deleted by the clean-up, whatever the list says;
// a full list or an over-long path refuses the entry instead of dropping it
// silently.
TEST(GiftFileList, CleanUpKeepsProgramFilesAndTheListHasLimits) {
  GiftFileList list;
  for (const char* kept : {"Temp\\a.dll", "Temp\\b.PL1", "c.Ico", "d.pan"}) EXPECT_TRUE(list.Add(kept, true));
  EXPECT_TRUE(list.Add("Temp\\_Gift.SSD", true));
  EXPECT_TRUE(list.Add("POSY.R", false));
  EXPECT_EQ(list.TakeFilesToDelete(), std::vector<std::string>{"Temp\\_Gift.SSD"});
  EXPECT_TRUE(list.entries().empty());

  EXPECT_TRUE(list.Add(std::string(70, 'x'), true));
  EXPECT_FALSE(list.Add(std::string(71, 'x'), true));
  EXPECT_FALSE(list.Add("", true));
  while (list.entries().size() < GiftFileList::kMaxEntries) ASSERT_TRUE(list.Add("m", true));
  EXPECT_FALSE(list.Add("one too many", true));
}

TEST(MailArguments, OrderCopyRuleAndPlaceholderDomain) {
  MailFields f{"smtp.example.org:2525", "me@home.example", "you@there.example", "12345678", "Hello"};
  const std::vector<std::string> head = {"home.example", "-b", "Temp\\body.tmp", "-r", "you@there.example",
                                         "-s", "Hello", "-X", "smtp.example.org:2525", "-f", "me@home.example",
                                         "-R", "me@home.example", "-D", "localhost", "-S", "me@home.example"};
  auto gift = MailArguments(f, "Temp\\body.tmp", {"Temp\\Gift.exe"}, MailDialogKind::kPictureOrGift);
  auto expected = head;
  expected.insert(expected.end(), {"-a", "Temp\\Gift.exe"});
  EXPECT_EQ(gift, expected) << "an 8-character Cc is not passed";

  f.cc = "123456789";
  gift = MailArguments(f, "Temp\\body.tmp", {"Temp\\Gift.exe"}, MailDialogKind::kPictureOrGift);
  expected.insert(expected.end(), {"-c", "123456789"});
  EXPECT_EQ(gift, expected);
  ASSERT_EQ(gift.size(), 21u);

  const auto raw = MailArguments(f, "Temp\\body.tmp", {"a.png", "b.txt"}, MailDialogKind::kRaw);
  auto rawExpected = head;
  rawExpected.insert(rawExpected.end(), {"-c", "123456789", "-a", "a.png", "-a", "b.txt"});
  EXPECT_EQ(raw, rawExpected);

  EXPECT_EQ(SenderDomain("nobody"), kPlaceholderMailDomain);
  EXPECT_EQ(SenderDomain("a@b@c"), "b@c");
}

TEST(MailArguments, PictureAttachmentsEndInJpg) {
  EXPECT_EQ(PictureAttachmentName("photo.png"), "photo.png.jpg");
  EXPECT_EQ(PictureAttachmentName("photo.JPG"), "photo.JPG");
  EXPECT_EQ(PictureAttachmentName("jpg"), "jpg.jpg");
  EXPECT_EQ(PictureAttachmentName(""), ".jpg");
}

}  // namespace
}  // namespace quillo
