// The module's plain exports, its catalogue and what its resource module
// must hold for the dialogs to open.
#include <gtest/gtest.h>

#include "contracts/plugin_contract.h"
#include "plugin_harness.h"

namespace quillo::test {
namespace {

TEST(Qlo13Exports, PlainExportsNameTheModuleAndItsResources) {
  PluginModule plugin("Qlo13.PL1");
  ASSERT_NE(plugin.module(), nullptr);
  EXPECT_EQ(plugin.Export<PlugInGetVersionFunction>("PlugInGetVersion")(), 1);
  EXPECT_STREQ(plugin.Export<GetNameFunction>("GetName")(), "Qlo13.PL1");
  EXPECT_STREQ(plugin.Export<ResNameFunction>("ResName")(), "Qlo13.R");
  HINSTANCE resources = plugin.Export<GetResInstFunction>("GetResInst")();
  ASSERT_NE(resources, nullptr);
  for (const char* name : {"Pool", "Magic", "Wavy", "Disco", "Gradient"})
    EXPECT_NE(FindResourceA(resources, name, MAKEINTRESOURCEA(5)), nullptr) << name;
  char text[64] = {};
  for (UINT id : {13800u, 13801u, 13503u, 13537u}) EXPECT_GT(LoadStringA(resources, id, text, sizeof text), 0) << id;
  EXPECT_NE(FindResourceA(resources, "GRADIENTS", MAKEINTRESOURCEA(10)), nullptr) << "the gradient list";
}

TEST(Qlo13Exports, CatalogueListsItsFiveEffectsInOrder) {
  PluginModule plugin("Qlo13.PL1");
  const InfoRow rows[] = {
      {32, 0, 0, 20186, 13506, 0x1008, "ProcessPool", "Pool2.jpg"},
      {32, 0, 0, 20187, 13537, 0x1008, "ProcessMagic", "Magic.jpg"},
      {32, 0, 0, 20189, 13523, 0x1008, "ProcessWavy", "FWavy.jpg"},
      {32, 0, 0, 20190, 13506, 0x1008, "ProcessDisco", "Disco.jpg"},
      {32, 0, 0, 20038, 13503, 0x1008, "ProcessGradient", "XGrad.jpg"},
  };
  ExpectInformationTable(plugin, rows, 0);
}

}  // namespace
}  // namespace quillo::test
