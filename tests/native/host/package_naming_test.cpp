#include "app/host/package_naming.h"

#include <gtest/gtest.h>

#include <set>

#include "app/host/effect_record.h"

namespace quillo {
namespace {

TEST(PackageNaming, NameIsTheLocalTimeWithFixedWidths) {
  EXPECT_EQ(PackageNameAt({2003, 5, 17, 14, 3, 9}), "_2003-05-17-14-03-09");
  EXPECT_EQ(PackageNameAt({987, 12, 1, 0, 0, 0}), "_0987-12-01-00-00-00");
}

// Two packages saved within one second keep their own files.
TEST(PackageNaming, ASecondPackageInTheSameSecondGetsTheNextSuffix) {
  std::set<std::string> taken;
  auto isTaken = [&](const std::string& name) { return taken.count(name) > 0; };
  const std::string base = "_2003-05-17-14-03-09";
  EXPECT_EQ(UniquePackageName(base, isTaken), base);
  taken.insert(base);
  EXPECT_EQ(UniquePackageName(base, isTaken), base + "-2");
  taken.insert(base + "-2");
  taken.insert(base + "-4");  // a gap is filled first
  EXPECT_EQ(UniquePackageName(base, isTaken), base + "-3");
  EXPECT_EQ(UniquePackageName(base, [](const std::string&) { return true; }), std::nullopt);
}

TEST(PackageNaming, PackageFolderHasOneBackslashBeforeBexa) {
  EXPECT_EQ(PackageDirectoryOf("C:\\WINDOWS"), "C:\\WINDOWS\\Bexa\\");
  EXPECT_EQ(PackageDirectoryOf("C:\\"), "C:\\Bexa\\");
  EXPECT_EQ(PackageDirectoryOf(""), std::nullopt);
  EXPECT_EQ(PackageDirectoryOf(std::string(254, 'a')), std::nullopt);
  EXPECT_EQ(PackageDirectoryOf(std::string(253, 'a'))->size(), 259u);
}

TEST(PackageNaming, ExtraPicturesAreNumberedWithoutPadding) {
  EXPECT_EQ(ExtraPictureName("_p", 0), "_p(0).bexa");
  EXPECT_EQ(ExtraPictureName("_p-2", 12), "_p-2(12).bexa");
}

TEST(PackageNaming, OnlyBareNamesPass) {
  for (const char* good : {"Qlo12.PL1", "a.b", "x", "_2003-05-17-14-03-09-2"}) EXPECT_TRUE(IsBareFileName(good)) << good;
  for (const char* bad : {"", "..", "..\\x.PL1", "a/b", "C:x.PL1", "\\\\server\\x", "a..b"})
    EXPECT_FALSE(IsBareFileName(bad)) << bad;
}

}  // namespace
}  // namespace quillo
