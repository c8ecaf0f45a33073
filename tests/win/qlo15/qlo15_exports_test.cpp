// The module's plain exports, its catalogue and what its resource module
// must hold for the dialogs.
#include <gtest/gtest.h>

#include "contracts/plugin_contract.h"
#include "plugin_harness.h"

namespace quillo::test {
namespace {

TEST(Qlo15Exports, PlainExportsNameTheResourcesAndLeaveTheNameEmpty) {
  PluginModule plugin("Qlo15.PL1");
  ASSERT_NE(plugin.module(), nullptr);
  EXPECT_EQ(plugin.Export<PlugInGetVersionFunction>("PlugInGetVersion")(), 1);
  // No name of its own: hosts catalogue the module under its file name.
  EXPECT_STREQ(plugin.Export<GetNameFunction>("GetName")(), "");
  EXPECT_STREQ(plugin.Export<ResNameFunction>("ResName")(), "Qlo15.R");
  HINSTANCE resources = plugin.Export<GetResInstFunction>("GetResInst")();
  ASSERT_NE(resources, nullptr);
  for (const char* name : {"Snow", "Rain", "Cloud", "FireWork", "Aquarium", "Quake", "Light"})
    EXPECT_NE(FindResourceA(resources, name, MAKEINTRESOURCEA(5)), nullptr) << name;
  char text[64] = {};
  for (UINT id : {1802u, 1804u, 1805u, 1807u, 1800u, 1801u, 1810u, 13506u, 13523u, 13541u, 13539u, 13800u, 13801u})
    EXPECT_GT(LoadStringA(resources, id, text, sizeof text), 0) << id;
}

TEST(Qlo15Exports, CatalogueListsItsNineEffectsInOrder) {
  PluginModule plugin("Qlo15.PL1");
  const InfoRow rows[] = {
      {32, 0, 0, 1800, 13523, 0x1008, "ProcessAquarium", "Aquarium.jpg"},
      {32, 0, 0, 1806, 13541, 0x1000, "ProcessPuzzle1", "Puzzle.jpg"},
      {32, 0, 0, 1803, 13541, 0x21000, "ProcessPuzzle", "Puzzle.jpg"},
      {32, 0, 0, 1807, 13539, 0x1008, "ProcessFireWork", "FireWK.jpg"},
      {32, 0, 0, 1801, 13541, 0x1008, "ProcessQuake", "QUAKE.jpg"},
      {32, 0, 0, 1805, 13523, 0x1008, "ProcessRain", "RAIN.jpg"},
      {32, 0, 0, 1804, 13539, 0x1008, "ProcessCloud", "Cloudj.jpg"},
      {32, 0, 0, 1810, 13506, 0x21008, "ProcessLight", "LightJ.jpg"},
      {32, 0, 0, 1802, 13539, 0x1008, "ProcessSnow", "SNowJ.jpg"},
  };
  ExpectInformationTable(plugin, rows, 0);
}

}  // namespace
}  // namespace quillo::test
