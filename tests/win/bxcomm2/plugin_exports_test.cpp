// The geometry plug-in as a host finds it: exports, information table and
// resource module.
#include <gtest/gtest.h>

#include <cstring>
#include <iterator>

#include "plugin_harness.h"

using namespace quillo::test;

TEST(Bxcomm2Exports, PlainExportsAndTheInformationTable) {
  PluginModule plugin("BXCOMM2.PL1");
  ASSERT_NE(plugin.module(), nullptr) << "BXCOMM2.PL1 did not load";
  auto version = plugin.Export<PlugInGetVersionFunction>("PlugInGetVersion");
  auto name = plugin.Export<GetNameFunction>("GetName");
  auto info = plugin.Export<GetPlugInInfoFunction>("GetPlugInInfo");
  auto resInst = plugin.Export<GetResInstFunction>("GetResInst");
  auto resName = plugin.Export<ResNameFunction>("ResName");
  ASSERT_TRUE(version && name && info && resInst && resName);
  EXPECT_EQ(version(), 1);
  EXPECT_STREQ(name(), "");
  EXPECT_STREQ(resName(), "BXCOMM2.R");
  HINSTANCE resources = resInst();
  ASSERT_NE(resources, nullptr);
  for (const char* dialog : {"Rotate", "Shear", "Zoom", "ALWarp", "NoParam"})
    EXPECT_NE(FindResourceA(resources, dialog, MAKEINTRESOURCEA(5)), nullptr) << dialog;

  struct Row { int kind, catalog, value, nameId, categoryId, options; const char* function; const char* example; };
  const Row expected[] = {
      {0x20, 0, 1, 33138, 13541, 0x30000, "ProcessALWarp", "ALWARP.jpg"},
      {0x4, 0, 0, 7053, 0, 0x1, "ProcessShear", "Shear.jpg"},
      {0x4, 0, 0, 7038, 0, 0x1, "ProcessZoom", "Zoom.jpg"},
      {0x4, 0, 0, 7033, 0, 0x1, "ProcessRotate", "Rotate.jpg"},
      {0x1000, 1, 0, 10215, 0, 0x0, "ProcessTileable", "Tileable.jpg"},
  };
  const PlugInInfo* table = info();
  ASSERT_NE(table, nullptr);
  size_t count = 0;
  while (table[count].kindFlags > 0) ++count;
  ASSERT_EQ(count, std::size(expected));
  EXPECT_EQ(table[count].kindFlags, -1);
  for (size_t i = 0; i < count; ++i) {
    const PlugInInfo& e = table[i];
    SCOPED_TRACE(expected[i].function);
    EXPECT_EQ(e.kindFlags, expected[i].kind);
    EXPECT_EQ(e.reserved1, 0);
    EXPECT_EQ(e.catalogFlag, expected[i].catalog);
    EXPECT_EQ(e.effectValue, expected[i].value);
    EXPECT_EQ(e.nameStringId, expected[i].nameId);
    EXPECT_EQ(e.categoryStringId, expected[i].categoryId);
    EXPECT_EQ(e.optionFlags, expected[i].options);
    EXPECT_STREQ(e.functionName, expected[i].function);
    EXPECT_STREQ(e.exampleImage, expected[i].example);
    EXPECT_NE(GetProcAddress(plugin.module(), e.functionName), nullptr);
    char text[128] = {};
    EXPECT_GT(LoadStringA(resources, e.nameStringId, text, sizeof text), 0);
  }
}
