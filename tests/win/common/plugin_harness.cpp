#include "plugin_harness.h"

#include <cstring>

#include <gtest/gtest.h>

#include "contracts/ui_controls.h"

namespace quillo::test {

// The dialog exists and runs no pass (passes disable the apply button).
static bool Idle(EffectRun& run) {
  if (!run.dialog) return false;
  HWND apply = run.Item(IDC_EFFECT_APPLY);
  return !apply || IsWindowEnabled(apply);
}

PluginModule::PluginModule(const char* fileName) {
  const std::string path = ProgramDir() + "\\" + fileName;
  module_ = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

PluginModule::~PluginModule() {
  if (module_) FreeLibrary(module_);
}

EffectFunction PluginModule::Effect(const char* name) const { return Export<EffectFunction>(name); }

void EffectRun::Run(EffectFunction effect,
                    const std::function<void(ScriptedUser&, EffectRun&)>& script) {
  ASSERT_NE(effect, nullptr);
  ScriptedUser user;
  script(user, *this);
  result = effect(host.window(), host.window(), GetModuleHandleA(nullptr), HOST_NOTIFY_MESSAGE,
                  effectValue, context, &image, selectionGiven ? selection : nullptr, &dialog, &mask, 0);
  EXPECT_TRUE(user.finished()) << "the effect returned before the script ended";
}

ScriptedUser& MoveSlider(ScriptedUser& user, EffectRun& run, int id, int position) {
  return user.Then([&run, id, position] {
    if (!Idle(run)) return false;
    SendMessageA(run.Item(id), SL_SETPOS, WPARAM(position), 1);
    PostMessageA(run.dialog, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    return true;
  });
}

void ClickNow(EffectRun& run, int id) {
  HWND button = run.Item(id);
  const LONG style = GetWindowLongA(button, GWL_STYLE) & 0x0F;
  if (style == BS_AUTORADIOBUTTON)
    CheckRadioButton(run.dialog, (id / 100) * 100 + 1, (id / 100) * 100 + 99, id);
  else
    CheckDlgButton(run.dialog, id, IsDlgButtonChecked(run.dialog, id) ? BST_UNCHECKED : BST_CHECKED);
  PostMessageA(run.dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(button));
}

ScriptedUser& ClickButton(ScriptedUser& user, EffectRun& run, int id) {
  return user.Then([&run, id] {
    if (!Idle(run)) return false;
    ClickNow(run, id);
    return true;
  });
}

ScriptedUser& ChooseListItem(ScriptedUser& user, EffectRun& run, int id, const char* text) {
  return user.Then([&run, id, text] {
    if (!Idle(run)) return false;
    HWND list = run.Item(id);
    const LRESULT index = SendMessageA(list, LB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(text));
    if (index == LB_ERR) return false;
    SendMessageA(list, LB_SETCURSEL, WPARAM(index), 0);
    PostMessageA(run.dialog, WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE), LPARAM(list));
    return true;
  });
}

ScriptedUser& WaitIdle(ScriptedUser& user, EffectRun& run) {
  return user.Then([&run] { return Idle(run); });
}

ScriptedUser& Press(ScriptedUser& user, EffectRun& run, int id) {
  return user.Then([&run, id] {
    if (!Idle(run)) return false;
    PostMessageA(run.dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(run.Item(id)));
    return true;
  });
}

ScriptedUser& ApplyThenClose(ScriptedUser& user, EffectRun& run, int closeId) {
  Press(user, run, IDC_EFFECT_APPLY);
  WaitIdle(user, run);
  return Press(user, run, closeId);
}

ScriptedUser& ForwardMouse(ScriptedUser& user, EffectRun& run, int code, int x, int y) {
  return user.Then([&run, code, x, y] {
    if (!run.dialog) return false;
    PostMessageA(run.dialog, TOOL_MOUSE_MESSAGE, WPARAM(code), MAKELPARAM(x, y));
    return true;
  });
}

namespace {

LONG HeaderField(HGLOBAL dib, bool width) {
  auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(dib));
  if (!header) return 0;
  const LONG side = width ? header->biWidth : header->biHeight;
  GlobalUnlock(dib);
  return side;
}

}  // namespace

int PictureWidth(HGLOBAL dib) { return int(HeaderField(dib, true)); }
int PictureHeight(HGLOBAL dib) { return int(HeaderField(dib, false)); }

HINSTANCE ExpectPlainExports(const PluginModule& plugin, const char* resourceName,
                             std::initializer_list<const char*> dialogs,
                             std::initializer_list<UINT> strings, const char* moduleName) {
  auto version = plugin.Export<PlugInGetVersionFunction>("PlugInGetVersion");
  auto name = plugin.Export<GetNameFunction>("GetName");
  auto resInst = plugin.Export<GetResInstFunction>("GetResInst");
  auto resName = plugin.Export<ResNameFunction>("ResName");
  EXPECT_TRUE(version && name && resInst && resName);
  if (!version || !name || !resInst || !resName) return nullptr;
  EXPECT_EQ(version(), 1);
  EXPECT_STREQ(name(), moduleName);
  EXPECT_STREQ(resName(), resourceName);
  HINSTANCE resources = resInst();
  EXPECT_NE(resources, nullptr);
  if (!resources) return nullptr;
  char path[MAX_PATH] = {};
  GetModuleFileNameA(resources, path, MAX_PATH);
  EXPECT_NE(std::strstr(path, resourceName), nullptr) << path;
  for (const char* dialog : dialogs)
    EXPECT_NE(FindResourceA(resources, dialog, MAKEINTRESOURCEA(5)), nullptr) << dialog;
  char text[64] = {};
  for (UINT id : strings) EXPECT_GT(LoadStringA(resources, id, text, sizeof text), 0) << id;
  return resources;
}

void ExpectInformationTable(const PluginModule& plugin, std::span<const InfoRow> rows, int endKind) {
  auto info = plugin.Export<GetPlugInInfoFunction>("GetPlugInInfo");
  auto resInst = plugin.Export<GetResInstFunction>("GetResInst");
  ASSERT_TRUE(info && resInst);
  const PlugInInfo* table = info();
  ASSERT_NE(table, nullptr);
  size_t count = 0;
  while (table[count].kindFlags > 0) ++count;
  ASSERT_EQ(count, rows.size());
  EXPECT_EQ(table[count].kindFlags, endKind);
  for (size_t i = 0; i < count; ++i) {
    const PlugInInfo& e = table[i];
    const InfoRow& r = rows[i];
    SCOPED_TRACE(r.function);
    EXPECT_EQ(e.kindFlags, r.kind);
    EXPECT_EQ(e.reserved1, 0);
    EXPECT_EQ(e.catalogFlag, r.catalog);
    EXPECT_EQ(e.effectValue, r.value);
    EXPECT_EQ(e.nameStringId, r.nameId);
    EXPECT_EQ(e.categoryStringId, r.categoryId);
    EXPECT_EQ(e.optionFlags, r.options);
    EXPECT_STREQ(e.functionName, r.function);
    EXPECT_STREQ(e.exampleImage, r.example);
    EXPECT_NE(GetProcAddress(plugin.module(), e.functionName), nullptr);
    char text[128] = {};
    EXPECT_GT(LoadStringA(resInst(), UINT(e.nameStringId), text, sizeof text), 0);
    if (e.categoryStringId != 0) {
      EXPECT_GT(LoadStringA(resInst(), UINT(e.categoryStringId), text, sizeof text), 0);
    }
  }
}

void WriteDialogPosition(const char* value) {
  WritePrivateProfileStringA("Plugin", "DlgWinPos", value, "bexadbms.ini");
}

std::string ReadDialogPosition() {
  char text[64] = {};
  GetPrivateProfileStringA("Plugin", "DlgWinPos", "", text, sizeof text, "bexadbms.ini");
  return text;
}

}  // namespace quillo::test
