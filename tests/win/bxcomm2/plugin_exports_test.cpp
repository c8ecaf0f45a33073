// The geometry plug-in as a host finds it: exports, information table and
// resource module.
#include <gtest/gtest.h>

#include <cstring>

#include "plugin_harness.h"

using namespace quillo::test;

TEST(Bxcomm2Exports, PlainExportsAndTheInformationTable) {
  PluginModule plugin("BXCOMM2.PL1");
  ASSERT_NE(plugin.module(), nullptr) << "BXCOMM2.PL1 did not load";
  ASSERT_NE(ExpectPlainExports(plugin, "BXCOMM2.R", {"Rotate", "Shear", "Zoom", "ALWarp", "NoParam"}), nullptr);

  const InfoRow expected[] = {
      {0x20, 0, 1, 33138, 13541, 0x30000, "ProcessALWarp", "ALWARP.jpg"},
      {0x4, 0, 0, 7053, 0, 0x1, "ProcessShear", "Shear.jpg"},
      {0x4, 0, 0, 7038, 0, 0x1, "ProcessZoom", "Zoom.jpg"},
      {0x4, 0, 0, 7033, 0, 0x1, "ProcessRotate", "Rotate.jpg"},
      {0x1000, 1, 0, 10215, 0, 0x0, "ProcessTileable", "Tileable.jpg"},
  };
  ExpectInformationTable(plugin, expected, -1);
}
