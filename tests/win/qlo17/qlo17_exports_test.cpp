// The module's plain exports, its catalogue, what its resource module must
// hold for the dialogs, and the pictures the plug-in module carries itself.
#include <gtest/gtest.h>

#include "contracts/plugin_contract.h"
#include "plugin_harness.h"
#include "plugins/qlo17/kernels/storm_sprite.h"

namespace quillo::test {
namespace {

TEST(Qlo17Exports, PlainExportsNameTheResourcesAndLeaveTheNameEmpty) {
  PluginModule plugin("Qlo17.PL1");
  ASSERT_NE(plugin.module(), nullptr);
  EXPECT_NE(ExpectPlainExports(plugin, "Qlo17.R", {"Star", "Storm"}, {21006, 21007, 13506, 13800, 13801}),
            nullptr);
}

TEST(Qlo17Exports, CatalogueListsStormThenStar) {
  PluginModule plugin("Qlo17.PL1");
  const InfoRow rows[] = {
      {32, 1, 1, 21006, 13506, 0x21008, "ProcessStorm", "Storm.jpg"},
      {32, 1, 1, 21007, 13506, 0x1008, "ProcessStar", "Star.jpg"},
  };
  ExpectInformationTable(plugin, rows, 0);
}

TEST(Qlo17Exports, ThePlugInModuleCarriesTheFiveSpritesAndTheSwirl) {
  PluginModule plugin("Qlo17.PL1");
  struct Picture {
    const char* name;
    int width, height;
  };
  for (const Picture& p : {Picture{"Blob", 200, 200}, {"Ellipse", 200, 200}, {"Flare", 200, 200},
                           {"Lens", 200, 200}, {"SNova", 200, 200}, {"Swirl", 240, 160}}) {
    SCOPED_TRACE(p.name);
    HRSRC found = FindResourceA(plugin.module(), p.name, "HDIB");
    ASSERT_NE(found, nullptr);
    const auto* data = static_cast<const uint8_t*>(LockResource(LoadResource(plugin.module(), found)));
    qlo17::StormSprite sprite;
    ASSERT_TRUE(qlo17::ReadStormSprite(data, SizeofResource(plugin.module(), found), sprite));
    EXPECT_EQ(sprite.width, p.width);
    EXPECT_EQ(sprite.height, p.height);
    // The sprites are black all round, so no square edge ever shows.
    if (p.width != 200) continue;
    EXPECT_EQ(sprite.end[0], 0);
    EXPECT_EQ(sprite.end[199], 0);
    for (int y = 0; y < 200; ++y) EXPECT_TRUE(sprite.end[size_t(y)] == 0 || (sprite.first[size_t(y)] > 0 && sprite.end[size_t(y)] < 200));
  }
}

}  // namespace
}  // namespace quillo::test
