// The module's plain exports, its catalogue and what its resource module
// must hold for the dialogs.
#include <gtest/gtest.h>

#include "contracts/plugin_contract.h"
#include "plugin_harness.h"

namespace quillo::test {
namespace {

TEST(Qlo18Exports, PlainExportsNameTheResourcesAndTheModuleHasNoNameOfItsOwn) {
  PluginModule plugin("Qlo18.PL1");
  ASSERT_NE(plugin.module(), nullptr);
  HINSTANCE resources =
      ExpectPlainExports(plugin, "Qlo18.R", {"Rock", "Magic"}, {33156, 33158, 13503, 13539, 13800, 13801}, "");
  ASSERT_NE(resources, nullptr);
}

TEST(Qlo18Exports, CatalogueListsMagicThenRock) {
  PluginModule plugin("Qlo18.PL1");
  const InfoRow rows[] = {
      {32, 1, 0, 33156, 13503, 0x1008, "ProcessMagic", "Infinit8.jpg"},
      {32, 1, 0, 33158, 13539, 0x1008, "ProcessRock", "FunRock.jpg"},
  };
  ExpectInformationTable(plugin, rows, 0);
}

}  // namespace
}  // namespace quillo::test
