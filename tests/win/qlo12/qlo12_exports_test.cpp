// The module's plain exports, its catalogue and what its resource module
// must hold for the dialogs to open.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "contracts/plugin_contract.h"
#include "plugin_harness.h"

namespace quillo::test {
namespace {

TEST(Qlo12Exports, PlainExportsNameTheModuleAndItsResources) {
  PluginModule plugin("Qlo12.PL1");
  ASSERT_NE(plugin.module(), nullptr);
  ExpectPlainExports(plugin, "Qlo12.R", {}, {}, "Qlo12.PL1");
}

TEST(Qlo12Exports, CatalogueListsElevenRowsInOrderEachWithItsFunctionAndName) {
  PluginModule plugin("Qlo12.PL1");
  const PlugInInfo* info = plugin.Export<GetPlugInInfoFunction>("GetPlugInInfo")();
  HINSTANCE resources = plugin.Export<GetResInstFunction>("GetResInst")();
  ASSERT_NE(info, nullptr);
  struct Row { int value, name, category, options; const char* function; const char* example; };
  const Row rows[] = {
      {0, 30302, 13517, 0x1008, "ProcessWorm", "Wormhole.jpg"},
      {0, 30300, 13523, 0x1008, "ProcessWater", "Water.jpg"},
      {0, 30301, 13517, 0x1008, "ProcessTunnel", "Tunnel.jpg"},
      {1, 33141, 13517, 0x1008, "ProcessTunnel", "Phered.jpg"},
      {2, 33142, 13517, 0x1008, "ProcessTunnel", "InfPlane.jpg"},
      {0, 30303, 13523, 0x21008, "ProcessBlob", "Blob.jpg"},
      {0, 30309, 13504, 0x1008, "ProcessWarp", "AWarp.jpg"},
      {0, 27015, 13537, 0x1008, "ProcessKale", "Kale2.jpg"},
      {0, 30307, 13539, 0x1008, "ProcessIllusion", "ILLUSION.jpg"},
      {0, 30314, 13504, 0x1008, "ProcessDistort", "Distort.jpg"},
      {0, 30308, 13546, 0x1008, "ProcessDawa", "Dawa.jpg"},
  };
  for (size_t i = 0; i < std::size(rows); ++i) {
    SCOPED_TRACE(rows[i].function);
    const PlugInInfo& e = info[i];
    EXPECT_EQ(e.kindFlags, 32);
    EXPECT_EQ(e.reserved1, 0);
    EXPECT_EQ(e.catalogFlag, 1);
    EXPECT_EQ(e.effectValue, rows[i].value);
    EXPECT_EQ(e.nameStringId, rows[i].name);
    EXPECT_EQ(e.categoryStringId, rows[i].category);
    EXPECT_EQ(e.optionFlags, rows[i].options);
    EXPECT_STREQ(e.functionName, rows[i].function);
    EXPECT_STREQ(e.exampleImage, rows[i].example);
    EXPECT_NE(plugin.Effect(e.functionName), nullptr);
    char text[64] = {};
    EXPECT_GT(LoadStringA(resources, UINT(e.nameStringId), text, sizeof text), 0);
    EXPECT_GT(LoadStringA(resources, UINT(e.categoryStringId), text, sizeof text), 0);
  }
  EXPECT_EQ(info[std::size(rows)].kindFlags, 0);
}

TEST(Qlo12Exports, ResourceModuleHoldsEveryDialogTheCancelLabelsAndTheHitCursor) {
  PluginModule plugin("Qlo12.PL1");
  HINSTANCE resources = plugin.Export<GetResInstFunction>("GetResInst")();
  for (const char* name : {"Tunnel", "Worm", "Water", "Blob", "Warp", "Kale", "Illusion", "Distort", "Dawa"})
    EXPECT_NE(FindResourceA(resources, name, MAKEINTRESOURCEA(5)), nullptr) << name;
  char text[64] = {};
  EXPECT_GT(LoadStringA(resources, 13800, text, sizeof text), 0);
  EXPECT_GT(LoadStringA(resources, 13801, text, sizeof text), 0);
  HCURSOR hit = LoadCursorA(resources, "Hit");
  EXPECT_NE(hit, nullptr);
  if (hit) DestroyCursor(hit);
}

}  // namespace
}  // namespace quillo::test
