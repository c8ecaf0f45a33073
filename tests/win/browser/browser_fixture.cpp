#include "browser_fixture.h"

#include <cstring>
#include <fstream>
#include <iterator>

#include "app/host/catalogue_file.h"
#include "app/host/win/effect_browser.h"
#include "app/shell/app_state.h"
#include "app/shell/document_window.h"
#include "app/shell/win/studio.h"
#include "contracts/plugin_contract.h"
#include "studio_fixture.h"
#include "win_test_support.h"

namespace quillo::test {

namespace {

std::vector<uint8_t> g_savedCatalogue, g_savedFavourites;
bool g_hadCatalogue = false, g_hadFavourites = false;

}  // namespace

std::vector<std::string> TextsOf(MessageBoxWatcher& watcher) {
  std::vector<std::string> texts;
  for (const auto& box : watcher.boxes()) texts.push_back(box.text);
  return texts;
}

// Copies at most fieldChars - 1 characters; the rest of the field stays zero.
void PutText(char* field, size_t fieldChars, const char* text) {
  std::memcpy(field, text, strnlen(text, fieldChars - 1));
}

EffectRecord MakeRecord(int32_t kind, const char* name, int32_t categoryId, const char* category,
                        const char* function, const char* example, int32_t optionFlags,
                        const char* module) {
  EffectRecord r;
  std::memset(&r, 0, sizeof r);
  r.kind = r.kindCopy = kind;
  r.categoryId = categoryId;
  r.optionFlags = optionFlags;
  PutText(r.module, kModuleFieldChars, module);
  PutText(r.function, kFunctionFieldChars, function);
  PutText(r.example, kExampleFieldChars, example);
  PutText(r.displayName, kDisplayNameFieldChars, name);
  PutText(r.category, kCategoryFieldChars, category);
  return r;
}

std::vector<EffectRecord> Bxcomm1Records() { return ModuleRecords("BXCOMM1.PL1"); }

std::vector<EffectRecord> ModuleRecords(const char* file) {
  std::vector<EffectRecord> records;
  HMODULE module = LoadLibraryExA(ProgramPath(file).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (!module) return records;
  auto info = reinterpret_cast<GetPlugInInfoFunction>(reinterpret_cast<void*>(GetProcAddress(module, "GetPlugInInfo")));
  auto resInst = reinterpret_cast<GetResInstFunction>(reinterpret_cast<void*>(GetProcAddress(module, "GetResInst")));
  const PlugInInfo* table = info ? info() : nullptr;
  HINSTANCE resources = resInst ? resInst() : nullptr;
  for (; table && table->kindFlags > 0; ++table) {
    char name[80] = {}, category[80] = {};
    LoadStringA(resources, UINT(table->nameStringId), name, sizeof name);
    if (!LoadStringA(resources, UINT(table->categoryStringId), category, sizeof category))
      std::strcpy(category, "MISC");
    EffectRecord r = MakeRecord(table->kindFlags, name, table->categoryStringId, category,
                                table->functionName, table->exampleImage, table->optionFlags, file);
    r.reserved1 = table->reserved1;
    r.catalogFlags = table->catalogFlag;
    r.effectValue = table->effectValue;
    records.push_back(r);
  }
  FreeLibrary(module);
  return records;
}

std::string ProgramPath(const char* name) { return ProgramDir() + "\\" + name; }

void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The studio starts once per test program (its window classes stay
// registered) and stops after the last suite; the program folder's own
// catalogue and favourites are put back then.
class StudioEnvironment : public ::testing::Environment {
 public:
  void TearDown() override {
    if (BrowserTest::started_ != -1) return;
    CloseEffectBrowser();
    StopInProcessStudio();
    DeleteFileA(ProgramPath("BXFun.inf").c_str());
    DeleteFileA(ProgramPath("Favor.INF").c_str());
    if (g_hadCatalogue) WriteFileBytes(ProgramPath("BXFun.inf"), g_savedCatalogue);
    if (g_hadFavourites) WriteFileBytes(ProgramPath("Favor.INF"), g_savedFavourites);
    WritePrivateProfileStringA("Meridian", "Thumbnail", "1", "bexadbms.ini");
  }
};
const auto* const g_environment = ::testing::AddGlobalTestEnvironment(new StudioEnvironment);

void BrowserTest::SetUpTestSuite() {
  if (started_ == -1) return;
  g_hadCatalogue = FileExists(ProgramPath("BXFun.inf"));
  g_hadFavourites = FileExists(ProgramPath("Favor.INF"));
  if (g_hadCatalogue) g_savedCatalogue = ReadFileBytes(ProgramPath("BXFun.inf"));
  if (g_hadFavourites) g_savedFavourites = ReadFileBytes(ProgramPath("Favor.INF"));
  WritePrivateProfileStringA("Meridian", "Thumbnail", "0", "bexadbms.ini");
  started_ = StartInProcessStudio();
}

void BrowserTest::SetUp() {
  ASSERT_EQ(started_, -1);
  WritePrivateProfileStringA("Meridian", "Pos", nullptr, "bexadbms.ini");
  WritePrivateProfileStringA("Meridian", "FavorPos", nullptr, "bexadbms.ini");
  DeleteFileA(ProgramPath("Favor.INF").c_str());
}

void BrowserTest::TearDown() {
  CloseEffectBrowser();
  while (HWND document = ActiveDocument()) SendMessageA(g_app.mdiClient, WM_MDIDESTROY, WPARAM(document), 0);
  Pump();
  EXPECT_EQ(Browser(), nullptr);
  EXPECT_EQ(g_app.effectBrowser, nullptr);
}

void BrowserTest::Pump() { PumpMessages(); }

void BrowserTest::WriteCatalogue(const std::vector<EffectRecord>& records) {
  WriteFileBytes(ProgramPath("BXFun.inf"), WriteEffectRecords(records));
}

void BrowserTest::Command(int command) {
  SendMessageA(g_app.frame, WM_COMMAND, WPARAM(command), 0);
  Pump();
}

std::vector<std::string> BrowserTest::ListedNames() {
  std::vector<std::string> names;
  for (int i = 0, n = Count(EffectList()); i < n; ++i)
    if (const EffectRecord* r = EffectAt(EffectList(), i)) names.emplace_back(DisplayName(*r));
  return names;
}

void BrowserTest::Select(HWND list, int index) {
  SendMessageA(list, LB_SETCURSEL, WPARAM(index), 0);
  SendMessageA(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE), LPARAM(list));
}

}  // namespace quillo::test
