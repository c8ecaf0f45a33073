// The colour plug-in as a host finds it: exports, information table and
// resource module.
#include <gtest/gtest.h>

#include <cstring>

#include "plugin_harness.h"

using namespace quillo::test;

TEST(Bxcomm1Exports, PlainExportsAnswerTheContract) {
  PluginModule plugin("BXCOMM1.PL1");
  ASSERT_NE(plugin.module(), nullptr) << "BXCOMM1.PL1 did not load";
  HINSTANCE resources =
      ExpectPlainExports(plugin, "BXCOMM1.R",
                         {"Balance", "Brightness", "Modulate", "Gamma", "Unsharp", "GaussRLE", "CStretch",
                          "Bleed", "Edge", "NoParam", "Warp", "Sharpen", "Zoom", "ClrPack"});
  ASSERT_NE(resources, nullptr);
  for (const char* cursor : {"Pencil", "Brush", "Hand"})
    EXPECT_NE(LoadCursorA(resources, cursor), nullptr) << cursor;
}

TEST(Bxcomm1Exports, InformationTableListsTheEffectsInOrder) {
  PluginModule plugin("BXCOMM1.PL1");
  ASSERT_NE(plugin.module(), nullptr);
  const InfoRow expected[] = {
      {0x1, 0, 1, 7004, 13503, 0x1, "ProcessBrightnessContrast", "N/A"},
      {0x1, 0, 0, 10013, 13503, 0x1, "ProcessBalance", "Balance.jpg"},
      {0x1, 0, 0, 12015, 13500, 0x1, "ProcessUnsharp", "Unsharp.jpg"},
      {0x1, 0, 0, 7041, 13503, 0x1, "ProcessModulate", "MODULATE.jpg"},
      {0x1, 0, 0, 8092, 13503, 0x1, "ProcessGamma", "Gamma2.jpg"},
      {0x1, 0, 0, 7044, 13500, 0x1, "ProcessGaussrle", "Blur.jpg"},
      {0x1, 0, 0, 7024, 13503, 0x1, "ProcessCStretch", "N/A"},
      {0x1, 0, 0, 15010, 13503, 0x1, "ProcessBleed", "Bleed.jpg"},
      {0x1, 0, 0, 7008, 13508, 0x1, "ProcessEdge", "Edge.jpg"},
      {0x1, 0, 0, 7042, 13514, 0x1, "ProcessDespeckle2", "Despeck2.jpg"},
      {0x20, 0, 0, 8096, 13541, 0x10000, "ProcessWarp", "Warp1.jpg"},
      {0x1, 0, 0, 7014, 13500, 0x1, "ProcessSharpen", "Sharpen.jpg"},
      {0x200, 0, 0, 33105, 13503, 0x1, "ProcessClrPack", "ClrPack.jpg"},
      {0x4, 0, 0, 7038, 0, 0x1, "ProcessZoom", "Zoom.jpg"},
  };
  ExpectInformationTable(plugin, expected, -1);  // the table ends with an entry of -1s
}

TEST(Bxcomm1Exports, ModuleRefusesToLoadWithoutItsResourceModule) {
  // A copy of the plug-in in a folder without BXCOMM1.R must not load: its
  // resources are looked up beside it, never through the search order.
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string dir = std::string(temp) + "quillo-lonely-plugin";
  CreateDirectoryA(dir.c_str(), nullptr);
  // Its libraries come along, so only the missing resource module can stop it.
  for (const char* library : {"BXDIB3.DLL", "BXUI.DLL"})
    CopyFileA((ProgramDir() + "\\" + library).c_str(), (dir + "\\" + library).c_str(), FALSE);
  const std::string copy = dir + "\\BXCOMM1.PL1";
  ASSERT_TRUE(CopyFileA((ProgramDir() + "\\BXCOMM1.PL1").c_str(), copy.c_str(), FALSE));
  HMODULE module = LoadLibraryExA(copy.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  EXPECT_EQ(module, nullptr);
  if (module) FreeLibrary(module);
  for (const char* file : {"BXCOMM1.PL1", "BXDIB3.DLL", "BXUI.DLL"})
    DeleteFileA((dir + "\\" + file).c_str());
  RemoveDirectoryA(dir.c_str());
}
