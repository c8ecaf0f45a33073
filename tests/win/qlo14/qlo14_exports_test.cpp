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
  EXPECT_EQ(plugin.Export<PlugInGetVersionFunction>("PlugInGetVersion")(), 1);
  EXPECT_STREQ(plugin.Export<GetNameFunction>("GetName")(), "Qlo14.PL1");
  EXPECT_STREQ(plugin.Export<ResNameFunction>("ResName")(), "Qlo14.R");
  HINSTANCE resources = plugin.Export<GetResInstFunction>("GetResInst")();
  ASSERT_NE(resources, nullptr);
  for (const char* name : {"Gloop", "Lake"})
    EXPECT_NE(FindResourceA(resources, name, MAKEINTRESOURCEA(5)), nullptr) << name;
  EXPECT_NE(LoadCursorA(resources, "Hand"), nullptr);
  char text[64] = {};
  for (UINT id : {1828u, 1832u, 13504u, 13523u, 13800u, 13801u})
    EXPECT_GT(LoadStringA(resources, id, text, sizeof text), 0) << id;
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
