// Which files a package name stands for, where the package directory is and
// the switch time rule.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "savers/package/package_names.h"
#include "savers/package/switch_time.h"

namespace quillo::package {
namespace {

TEST(PackageDeletion, RemovesOnlyThePackagesOwnFiles) {
  const std::string n = "_2003-05-17-14-03-09";
  for (const std::string& f : std::vector<std::string>{n + ".bexa", n + ".BEXA", n + ".SSD", n + ".ssd", n + ".Prm", n + ".PRM",
                              n + "(0).bexa", n + "(12).BEXA", "_2003-05-17-14-03-09(3).Bexa"}) {
    SCOPED_TRACE(f);
    EXPECT_TRUE(IsPackageMemberFile(n, f));
  }
  for (const std::string& f : std::vector<std::string>{n + ".DLL", n + ".PL1", n + ".R", n + ".txt", n + "-2.bexa", n + "-2.SSD",
                              n + "().bexa", n + "(1a).bexa", n + "(1).jpg", n + "(1.bexa", n + ".bexa.bak",
                              n, n + ".", "Qlo12.PL1", "BXUI.DLL", "PkgSaver.dll"}) {
    SCOPED_TRACE(f);
    EXPECT_FALSE(IsPackageMemberFile(n, f));
  }
  // The suffixed package's deletion leaves the unsuffixed one alone.
  EXPECT_FALSE(IsPackageMemberFile(n + "-2", n + ".bexa"));
  EXPECT_TRUE(IsPackageMemberFile(n + "-2", n + "-2(0).bexa"));
  EXPECT_FALSE(IsPackageMemberFile("", ".bexa"));
}

TEST(SwitchTime, OutsideOneToThirtyIsFiveMinutes) {
  EXPECT_EQ(SwitchMinutes(0), 5);
  EXPECT_EQ(SwitchMinutes(31), 5);
  EXPECT_EQ(SwitchMinutes(-3), 5);
  EXPECT_EQ(SwitchMinutes(1), 1);
  EXPECT_EQ(SwitchMinutes(30), 30);
  EXPECT_EQ(SwitchTicks(31), 300u);
  EXPECT_EQ(SwitchTicks(2), 120u);
}

}  // namespace
}  // namespace quillo::package
