// The geometry plug-in as a host finds it: exports, information table and
// resource module.
#include <gtest/gtest.h>

#include <cstring>

#include "plugin_harness.h"

using namespace quillo::test;

TEST(Bxcomm2Exports, PlainExportsAndTheInformationTable) {
  PluginModule plugin("BXCOMM2.PL1");
  ASSERT_NE(plugin.module(), nullptr) << "BXCOMM2.PL1 did not load";
  auto version = plugin.Export<PlugInGetVersionFunction>("PlugInGetVersion");
  auto name = plugin.Export<GetNameFunction>("GetName");
  auto resInst = plugin.Export<GetResInstFunction>("GetResInst");
  auto resName = plugin.Export<ResNameFunction>("ResName");
  ASSERT_TRUE(version && name && resInst && resName);
  EXPECT_EQ(version(), 1);
  EXPECT_STREQ(name(), "");
  EXPECT_STREQ(resName(), "BXCOMM2.R");
  HINSTANCE resources = resInst();
  ASSERT_NE(resources, nullptr);
  for (const char* dialog : {"Rotate", "Shear", "Zoom", "ALWarp", "NoParam"})
    EXPECT_NE(FindResourceA(resources, dialog, MAKEINTRESOURCEA(5)), nullptr) << dialog;

  const InfoRow expected[] = {
      {0x20, 0, 1, 33138, 13541, 0x30000, "ProcessALWarp", "ALWARP.jpg"},
      {0x4, 0, 0, 7053, 0, 0x1, "ProcessShear", "Shear.jpg"},
      {0x4, 0, 0, 7038, 0, 0x1, "ProcessZoom", "Zoom.jpg"},
      {0x4, 0, 0, 7033, 0, 0x1, "ProcessRotate", "Rotate.jpg"},
      {0x1000, 1, 0, 10215, 0, 0x0, "ProcessTileable", "Tileable.jpg"},
  };
  ExpectInformationTable(plugin, expected, -1);
}
