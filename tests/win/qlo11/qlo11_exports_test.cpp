// The module's plain exports, its catalogue and what its resource module
// must hold: the dialogs, the strings and the four star sprites.
#include <gtest/gtest.h>

#include <vector>

#include "contracts/plugin_contract.h"
#include "plugin_harness.h"
#include "plugins/qlo11/kernels/star_sprites.h"

namespace quillo::test {
namespace {

TEST(Qlo11Exports, PlainExportsDialogsStringsAndSprites) {
  PluginModule plugin("Qlo11.PL1");
  HINSTANCE resources =
      ExpectPlainExports(plugin, "Qlo11.R", {"Bump", "Flash", "Envmap", "Star", "FTrace"},
                         {30206, 30207, 30306, 33129, 33130, 13506, 13517, 13539, 13800, 13801}, "Qlo11.PL1");
  ASSERT_NE(resources, nullptr);
  for (int kind = 0; kind < qlo11::kStarSpriteKinds; ++kind) {
    const char* name = qlo11::kStarSpriteNames[kind];
    HRSRC found = FindResourceA(resources, name, "HDIB");
    ASSERT_NE(found, nullptr) << name;
    const auto* data = static_cast<const uint8_t*>(LockResource(LoadResource(resources, found)));
    std::vector<uint8_t> pixels;
    EXPECT_TRUE(qlo11::ReadPackedSprite(data, SizeofResource(resources, found), qlo11::kStarSpriteSizes[kind],
                                        pixels))
        << name;
    // A glowing star on black: a bright middle, dark corners.
    const int size = qlo11::kStarSpriteSizes[kind];
    const size_t middle = (size_t(size / 2) * size + size / 2) * 3;
    EXPECT_GT(pixels[middle] + pixels[middle + 1] + pixels[middle + 2], 600) << name;
    EXPECT_EQ(pixels[0] + pixels[1] + pixels[2], 0) << name;
  }
}

TEST(Qlo11Exports, CatalogueListsFTraceStarFlashEnvmapBump) {
  PluginModule plugin("Qlo11.PL1");
  const InfoRow rows[] = {
      {32, 1, 0, 33129, 13539, 0x21008, "ProcessFTrace", "FTrace2.jpg"},
      {32, 1, 0, 30207, 13539, 0x1008, "ProcessStar", "StarBack.jpg"},
      {32, 1, 0, 30306, 13539, 0x21008, "ProcessFlash", "Flash.jpg"},
      {32, 1, 0, 33130, 13517, 0x1008, "ProcessEnvmap", "Envmap.jpg"},
      {32, 1, 0, 30206, 13506, 0x21008, "ProcessBump", "Bump.jpg"},
  };
  ExpectInformationTable(plugin, rows, 0);
}

}  // namespace
}  // namespace quillo::test
