#include <gtest/gtest.h>

#include "savers/bxsaver/kernels/engine_path.h"

namespace quillo::bxsaver {
namespace {

TEST(EnginePath, OnlyAnAbsolutePathToTheEngineIsLoaded) {
  for (const char* good : {"C:\\Program Files\\Quillo\\EffSaver.DLL", "c:/quillo/effsaver.dll",
                           "D:\\EFFSAVER.DLL", "\\\\server\\share\\Quillo\\EffSaver.dll"}) {
    SCOPED_TRACE(good);
    EXPECT_TRUE(IsEnginePath(good));
  }
  for (const char* bad : {"", "EffSaver.DLL", "Quillo\\EffSaver.DLL", "\\Quillo\\EffSaver.DLL",
                          "C:EffSaver.DLL", "C:\\Quillo\\NotEffSaver.DLL", "C:\\Quillo\\EffSaver.DLL.exe",
                          "C:\\Quillo\\EffSaver.DLL\\", "C:\\Quillo\\..\\EffSaver.DLL",
                          "C:\\Quillo\\.\\EffSaver.DLL", "C:\\Quillo\\\\EffSaver.DLL", "\\\\server\\EffSaver.DLL",
                          "C:\\Quillo\\x:y\\EffSaver.DLL", "C:\\Quillo\\PkgSaver.dll"}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(IsEnginePath(bad));
  }
}

TEST(EnginePath, TheFolderIsWhereTheEngineFindsItsFiles) {
  EXPECT_EQ(EngineFolder("C:\\Program Files\\Quillo\\EffSaver.DLL"), "C:\\Program Files\\Quillo");
  EXPECT_EQ(EngineFolder("C:\\EffSaver.DLL"), "C:\\");
  EXPECT_EQ(EngineFolder("EffSaver.DLL"), std::nullopt);
}

}  // namespace
}  // namespace quillo::bxsaver
