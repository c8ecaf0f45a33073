// The studio run in-process for the effect browser tests: catalogues written
// into the program folder and the browser opened by frame commands.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/host/effect_record.h"
#include "app/host/win/effect_browser_state.h"
#include "message_box_watcher.h"

namespace quillo::test {

// Texts of the message boxes the watcher answered, oldest first.
std::vector<std::string> TextsOf(MessageBoxWatcher& watcher);

// A record as the catalogue holds it.
EffectRecord MakeRecord(int32_t kind, const char* name, int32_t categoryId = 0,
                        const char* category = "MISC", const char* function = "ProcessTest",
                        const char* example = "N/A", int32_t optionFlags = 0,
                        const char* module = "BXCOMM1.PL1");
// The records of a real plug-in module as a scan catalogues them.
std::vector<EffectRecord> ModuleRecords(const char* file);
std::vector<EffectRecord> Bxcomm1Records();

std::string ProgramPath(const char* name);
void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> ReadFileBytes(const std::string& path);
bool FileExists(const std::string& path);

class BrowserTest : public ::testing::Test {
 public:
  static void SetUpTestSuite();
  static void Pump();
  static inline int started_ = 0;

 protected:
  void SetUp() override;
  void TearDown() override;

  static void WriteCatalogue(const std::vector<EffectRecord>& records);
  // Sends a frame command as a menu click would.
  static void Command(int command);
  static HWND Dialog() { return Browser() ? Browser()->dialog : nullptr; }
  static HWND EffectList() { return GetDlgItem(Dialog(), kBrowserEffectList); }
  static HWND FamilyList() { return GetDlgItem(Dialog(), kBrowserFamilyList); }
  static int Count(HWND list) { return int(SendMessageA(list, LB_GETCOUNT, 0, 0)); }
  // Display names of the effect list, top to bottom.
  static std::vector<std::string> ListedNames();
  // Selects a row as a click does (selection and notification).
  static void Select(HWND list, int index);
};

}  // namespace quillo::test
