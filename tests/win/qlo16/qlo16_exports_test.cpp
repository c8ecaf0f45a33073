// The module's plain exports, its catalogue and what its resource module
// must hold for the dialogs.
#include <gtest/gtest.h>

#include "contracts/plugin_contract.h"
#include "plugin_harness.h"

namespace quillo::test {
namespace {

TEST(Qlo16Exports, PlainExportsNameTheModuleAndItsResources) {
  PluginModule plugin("Qlo16.PL1");
  ASSERT_NE(plugin.module(), nullptr);
  HINSTANCE resources = ExpectPlainExports(plugin, "Qlo16.R", {"Flamme", "Flares", "Tex"},
                                           {14010, 33087, 33089, 13506, 13517, 13546, 13800, 13801}, "Qlo16.PL1");
  ASSERT_NE(resources, nullptr);
}

TEST(Qlo16Exports, CatalogueListsFlaresTexFlamme) {
  PluginModule plugin("Qlo16.PL1");
  const InfoRow rows[] = {
      {32, 1, 0, 33087, 13506, 0x21008, "ProcessFlares", "Flares.jpg"},
      {32, 1, 0, 14010, 13517, 0x8, "ProcessTex", "TexMap.jpg"},
      {32, 1, 0, 33089, 13546, 0x1008, "ProcessFlamme", "Flamme.jpg"},
  };
  ExpectInformationTable(plugin, rows, 0);
}

}  // namespace
}  // namespace quillo::test
