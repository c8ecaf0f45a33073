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
  HINSTANCE resources = ExpectPlainExports(plugin, "Qlo13.R", {"Pool", "Magic", "Wavy", "Disco", "Gradient"},
                                           {13800, 13801, 13503, 13537}, "Qlo13.PL1");
  ASSERT_NE(resources, nullptr);
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
