// The module's plain exports, its catalogue and what its resource module
// must hold for the dialogs and the hand cursor.
#include <gtest/gtest.h>

#include "contracts/plugin_contract.h"
#include "plugin_harness.h"

namespace quillo::test {
namespace {

TEST(Qlo14Exports, PlainExportsNameTheModuleAndItsResources) {
  PluginModule plugin("Qlo14.PL1");
  ASSERT_NE(plugin.module(), nullptr);
  HINSTANCE resources = ExpectPlainExports(plugin, "Qlo14.R", {"Gloop", "Lake"},
                                           {1828, 1832, 13504, 13523, 13800, 13801}, "Qlo14.PL1");
  ASSERT_NE(resources, nullptr);
  EXPECT_NE(LoadCursorA(resources, "Hand"), nullptr);
}

TEST(Qlo14Exports, CatalogueListsGloopThenLake) {
  PluginModule plugin("Qlo14.PL1");
  const InfoRow rows[] = {
      {32, 0, 0, 1832, 13504, 0x1008, "ProcessGloop", "Gloop.jpg"},
      {32, 0, 0, 1828, 13523, 0x1008, "ProcessLake", "Lakej.jpg"},
  };
  ExpectInformationTable(plugin, rows, 0);
}

}  // namespace
}  // namespace quillo::test
