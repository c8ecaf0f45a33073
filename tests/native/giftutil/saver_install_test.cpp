#include <gtest/gtest.h>

#include "savers/giftutil/kernels/saver_install.h"

namespace quillo::giftutil {
namespace {

SaverInstallFacts Installable() {
  SaverInstallFacts facts;
  facts.playable = true;
  facts.optionFlags = 0x8;
  facts.saverInSystem = true;
  facts.saverBeside = true;
  facts.inPackageFolder = true;
  return facts;
}

TEST(SaverInstall, AReplayableGiftInstallsAtStartAndKeepsTheMenuItem) {
  SaverInstallPlan plan = PlanSaverInstall(Installable());
  EXPECT_TRUE(plan.offer && plan.installAtStart);
  EXPECT_FALSE(plan.copySaver);
  SaverInstallFacts missing = Installable();
  missing.saverInSystem = false;
  plan = PlanSaverInstall(missing);
  EXPECT_TRUE(plan.copySaver && plan.installAtStart);
}

TEST(SaverInstall, AnythingTheSaverCouldNotReplayChangesNothing) {
  SaverInstallFacts facts[6];
  for (auto& f : facts) f = Installable();
  facts[0].preview = true;
  facts[1].playable = false;
  facts[2].optionFlags = 0x7 | 0x2000;
  // Even with the stub missing from the system folder: a gift without the
  // replay flag would give the receiver a black saver.
  facts[3].optionFlags = 0;
  facts[3].saverInSystem = false;
  facts[4].inPackageFolder = false;
  facts[5].saverInSystem = facts[5].saverBeside = false;
  for (const auto& f : facts) {
    const SaverInstallPlan plan = PlanSaverInstall(f);
    EXPECT_FALSE(plan.offer || plan.copySaver || plan.installAtStart);
  }
}

TEST(SaverInstall, PackageFolderIsTheBexaFolderOfTheWindowsDirectory) {
  EXPECT_TRUE(IsPackageFolder("C:\\WINDOWS\\bexa", "C:\\windows"));
  EXPECT_TRUE(IsPackageFolder("c:\\windows\\Bexa\\", "C:\\windows\\"));
  EXPECT_TRUE(IsPackageFolder("C:\\Bexa", "C:\\"));
  EXPECT_FALSE(IsPackageFolder("C:\\windows\\Bexa\\sub", "C:\\windows"));
  EXPECT_FALSE(IsPackageFolder("C:\\temp\\gift", "C:\\windows"));
  EXPECT_FALSE(IsPackageFolder("", "C:\\windows"));
}

}  // namespace
}  // namespace quillo::giftutil
