// The studio's resource modules as the program uses them: "BXFUN.R" (menu,
// strings, dialogs), the program's own resources (built here as a
// resource-only module "QuilloRes.R" from the same script) and BXWUI.DLL.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "app/shell/resource_ids.h"
#include "contracts/ui_bitmaps.h"
#include "win_test_support.h"

namespace {

using quillo::test::ProgramDir;

HMODULE LoadModule(const char* name) {
  return LoadLibraryA((ProgramDir() + "\\" + name).c_str());
}

class ModuleFixture : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    bxfun_ = LoadModule("BXFUN.R");
    app_ = LoadModule("QuilloRes.R");
  }
  static void TearDownTestSuite() {
    if (bxfun_) FreeLibrary(bxfun_);
    if (app_) FreeLibrary(app_);
  }
  void SetUp() override {
    ASSERT_NE(bxfun_, nullptr) << "BXFUN.R did not load";
    ASSERT_NE(app_, nullptr) << "QuilloRes.R did not load";
  }
  static HMODULE bxfun_;
  static HMODULE app_;
};
HMODULE ModuleFixture::bxfun_ = nullptr;
HMODULE ModuleFixture::app_ = nullptr;

// Commands of the frame that the menu offers.
const UINT kMenuCommands[] = {
    CMD_CASCADE, CMD_TILE_VERTICAL, CMD_TILE_HORIZONTAL, CMD_ARRANGE_ICONS, CMD_IMAGE_INFO,
    CMD_DOC_RIGHT, CMD_JPEG_OPTIONS, CMD_TIFF_OPTIONS, CMD_TOGGLE_THUMBNAILS, CMD_ANIMATION_INTERVAL,
    CMD_TOGGLE_BEST_FIT, CMD_EFFECT_SAVER_INSTALL, CMD_DOC_DEMO, CMD_OPEN, CMD_PRODUCT_PAGE, CMD_SAVE,
    CMD_PRINT_PREVIEW, CMD_EXIT, CMD_CROP, CMD_HELP_EFFECTS, CMD_HELP_TOPICS, CMD_CLOSE_IMAGE, CMD_UNDO,
    CMD_NEXT_WINDOW, CMD_FULL_EFFECT_LIST, CMD_COPY, CMD_PASTE, CMD_NEW_IMAGE, CMD_MULTIMEDIA,
    CMD_VIEW_SELECT, CMD_VIEW_MAGNIFIER, CMD_VIEW_ZOOM_RECT, CMD_EFFECT_BROWSER, CMD_ZOOM_IN,
    CMD_ZOOM_OUT, CMD_DOC_MANUAL, CMD_GREY, CMD_INVERT, CMD_TURN_RIGHT, CMD_HALF_TURN, CMD_TURN_LEFT,
    CMD_MIRROR_X, CMD_MIRROR_Y, CMD_TOGGLE_MAXIMIZE, CMD_REBUILD_CATALOGUE, CMD_SCANNER, CMD_MAIL_GIFT,
    CMD_LIGHTNESS_GREY, CMD_GRADIENT, CMD_MASK_SHOW, CMD_MASK_HIDE, CMD_MASK_INVERT, CMD_MASK_DROP,
    CMD_ACTUAL_SIZE};

// Command -> menu help string, as the frame shows them on WM_MENUSELECT.
const std::pair<UINT, UINT> kHelpTable[] = {
    {0x283C, 0x600C}, {0x283D, 0x600A}, {0x283E, 0x6009}, {0x283F, 0x600B}, {0x2840, 0x6015},
    {0x28A6, 0x610E}, {0x28AF, 0x6115}, {0x28B0, 0x6116}, {0x28F0, 0x6127}, {0x28F1, 0x6132},
    {0x7100, 0x6001}, {0x7101, 0x6007}, {0x7102, 0x6000}, {0x7103, 0x6002}, {0x7104, 0x6004},
    {0x7105, 0x6003}, {0x7109, 0x600D}, {0x710C, 0x6005}, {0x710D, 0x600E}, {0x710E, 0x6008},
    {0x710F, 0x604B}, {0x7111, 0x6011}, {0x7112, 0x601E}, {0x7113, 0x601F}, {0x7114, 0x6022},
    {0x7115, 0x6023}, {0x7116, 0x6024}, {0x7118, 0x602F}, {0x7119, 0x6030}, {0x711B, 0x6020},
    {0x711C, 0x6021}, {0x711D, 0x6036}, {0x7120, 0x6034}, {0x7121, 0x6035}, {0x7124, 0x6040},
    {0x7125, 0x6041}, {0x7126, 0x6042}, {0x7127, 0x610A}, {0x7129, 0x604A}, {0x712A, 0x6049},
    {0x7130, 0x604E}, {0x7406, 0x6016}, {0x740D, 0x6017}, {0x740E, 0x6018}, {0x740F, 0x6019},
    {0x7410, 0x601A}, {0x7411, 0x601B}, {0x7412, 0x601C}, {0x741C, 0x6106}, {0x7420, 0x6120},
    {0x7420, 0x6121}, {0x743A, 0x6107}};

// Every key of the command table.
struct Key { BYTE flags; WORD key; WORD command; const char* shown; };
const Key kKeys[] = {
    {FCONTROL, 'O', CMD_OPEN, "Ctrl+O"},        {0, VK_F2, CMD_SAVE, "F2"},
    {0, VK_F7, CMD_PRINT_PREVIEW, "F7"},        {FCONTROL, 'E', CMD_EXIT, "Ctrl+E"},
    {FCONTROL, 'R', CMD_CROP, "Ctrl+R"},        {0, VK_F1, CMD_HELP_EFFECTS, "F1"},
    {0, VK_F3, CMD_HELP_EFFECTS, nullptr},      {0, VK_F4, CMD_CLOSE_IMAGE, "F4"},
    {FCONTROL, 'U', CMD_UNDO, "Ctrl+U"},        {0, VK_F8, CMD_NEXT_WINDOW, "F8"},
    {FCONTROL, 'C', CMD_COPY, "Ctrl+C"},        {FCONTROL, 'P', CMD_PASTE, "Ctrl+P"},
    {FCONTROL, 'N', CMD_NEW_IMAGE, "Ctrl+N"},   {FCONTROL, 'G', CMD_GREY, "Ctrl+G"},
    {FCONTROL, 'I', CMD_INVERT, "Ctrl+I"},      {FCONTROL, '9', CMD_TURN_RIGHT, "Ctrl+9"},
    {FCONTROL, '8', CMD_HALF_TURN, "Ctrl+8"},   {FCONTROL, '7', CMD_TURN_LEFT, "Ctrl+7"},
    {FCONTROL, 'H', CMD_MIRROR_X, "Ctrl+H"},    {FCONTROL, 'V', CMD_MIRROR_Y, "Ctrl+V"},
    {0, VK_F12, CMD_TOGGLE_MAXIMIZE, "F12"}};

std::string MenuText(HMENU menu, UINT command) {
  char text[256] = {};
  if (GetMenuStringA(menu, command, text, sizeof text, MF_BYCOMMAND) <= 0) return {};
  return text;
}

std::string LoadText(HMODULE module, UINT id) {
  char text[512] = {};
  int n = LoadStringA(module, id, text, sizeof text);
  return std::string(text, n > 0 ? n : 0);
}

SIZE BitmapSize(HMODULE module, const char* name) {
  SIZE size{0, 0};
  HBITMAP bitmap = LoadBitmapA(module, name);
  if (!bitmap) return size;
  BITMAP info{};
  GetObjectA(bitmap, sizeof info, &info);
  DeleteObject(bitmap);
  size.cx = info.bmWidth;
  size.cy = info.bmHeight;
  return size;
}

TEST_F(ModuleFixture, MenuOffersEveryCommandAndShowsItsKeys) {
  HMENU menu = LoadMenuA(bxfun_, "bxView");
  ASSERT_NE(menu, nullptr);
  for (UINT command : kMenuCommands)
    EXPECT_NE(GetMenuState(menu, command, MF_BYCOMMAND), UINT(-1)) << std::hex << command;
  for (const Key& key : kKeys) {
    if (!key.shown) continue;
    const std::string text = MenuText(menu, key.command);
    const size_t tab = text.find('\t');
    ASSERT_NE(tab, std::string::npos) << text;
    EXPECT_EQ(text.substr(tab + 1), key.shown) << text;
  }
  // The recent items are inserted before Exit, so no fixed item may carry
  // their identifiers; their closing separator shares 0x28AF with the
  // capture command, which is a plain item.
  for (UINT id = CMD_RECENT_FIRST; id < CMD_AVI_CAPTURE; ++id)
    EXPECT_EQ(GetMenuState(menu, id, MF_BYCOMMAND), UINT(-1)) << std::hex << id;
  EXPECT_EQ(GetMenuState(menu, CMD_AVI_CAPTURE, MF_BYCOMMAND) & MF_SEPARATOR, 0u);
  DestroyMenu(menu);
}

TEST_F(ModuleFixture, WindowPopupHoldsCascadeDirectly) {
  HMENU menu = LoadMenuA(bxfun_, "bxView");
  ASSERT_NE(menu, nullptr);
  int holders = 0;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    HMENU sub = GetSubMenu(menu, i);
    if (!sub) continue;
    for (int j = 0; j < GetMenuItemCount(sub); ++j)
      if (GetMenuItemID(sub, j) == CMD_CASCADE) {
        ++holders;
        EXPECT_NE(GetMenuState(sub, CMD_NEXT_WINDOW, MF_BYCOMMAND), UINT(-1));
      }
  }
  EXPECT_EQ(holders, 1);
  DestroyMenu(menu);
}

TEST_F(ModuleFixture, EveryStringTheProgramShowsExists) {
  for (auto [command, id] : kHelpTable)
    EXPECT_FALSE(LoadText(bxfun_, id).empty()) << "help " << std::hex << id << " of " << command;
  const UINT others[] = {IDS_BTN_OPEN, IDS_BTN_PLAY, IDS_BTN_CLOSE, IDS_BTN_EXIT, IDS_BTN_CROP,
                         IDS_BTN_COPY, IDS_BTN_PASTE, IDS_BTN_SNAPSHOT, IDS_BTN_ZOOMIN, IDS_BTN_ZOOMOUT,
                         IDS_BTN_ABOUT, IDS_BTN_UNDO, IDS_BTN_NEXT, IDS_SAVE_FORMAT_DEPTH, IDS_SAVED_OK,
                         IDS_SAVE_FAILED_CAPTION, IDS_CANNOT_OPEN, IDS_EMPTY_SELECTION, IDS_NO_MEMORY,
                         IDS_COPIED, IDS_CLIPBOARD_BUSY, IDS_STATUS_READY, IDS_CROP_FAILED,
                         IDS_EXIT_QUESTION, IDS_OVERWRITE_QUESTION, IDS_NEW_IMAGE_FAILED};
  for (UINT id : others) EXPECT_FALSE(LoadText(bxfun_, id).empty()) << std::hex << id;
  EXPECT_EQ(LoadText(bxfun_, IDS_FRAME_TITLE), "Quillo");
  // A caption must fit the 50-pixel button: short, at most one line feed.
  for (UINT id = IDS_BTN_OPEN; id <= IDS_BTN_NEXT; ++id) {
    const std::string caption = LoadText(bxfun_, id);
    EXPECT_LE(caption.size(), 12u) << caption;
  }
}

INT_PTR CALLBACK QuietDialog(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

TEST_F(ModuleFixture, DialogsCarryTheirControls) {
  const std::map<std::string, std::vector<int>> dialogs = {
      {"Info", {100, 101, 102, IDOK}},
      {"Info1", {100, 101, 102, IDOK}},
      {"Save", {100, 101, 102, 103, 104, 105, 106, IDOK, IDCANCEL}},
      {"Create", {100, 101, 102, 103, 105, IDOK, IDCANCEL}}};
  for (const auto& [name, controls] : dialogs) {
    HWND dialog = CreateDialogParamA(bxfun_, name.c_str(), nullptr, QuietDialog, 0);
    ASSERT_NE(dialog, nullptr) << name;
    for (int id : controls) EXPECT_NE(GetDlgItem(dialog, id), nullptr) << name << " control " << id;
    DestroyWindow(dialog);
  }
  // The colour-depth choices are radio buttons of one group.
  HWND save = CreateDialogParamA(bxfun_, "Save", nullptr, QuietDialog, 0);
  ASSERT_NE(save, nullptr);
  for (int id = 101; id <= 104; ++id)
    EXPECT_EQ(GetWindowLongA(GetDlgItem(save, id), GWL_STYLE) & BS_TYPEMASK, BS_AUTORADIOBUTTON) << id;
  // Choosing true colour must not leave another depth checked.
  CheckRadioButton(save, 101, 104, 104);
  EXPECT_EQ(IsDlgButtonChecked(save, 101), BST_UNCHECKED);
  DestroyWindow(save);
}

TEST_F(ModuleFixture, AcceleratorsMapEveryKey) {
  HACCEL table = LoadAcceleratorsA(app_, "bxView");
  ASSERT_NE(table, nullptr);
  const int count = CopyAcceleratorTableA(table, nullptr, 0);
  std::vector<ACCEL> entries(count);
  CopyAcceleratorTableA(table, entries.data(), count);
  EXPECT_EQ(size_t(count), std::size(kKeys));
  for (const Key& key : kKeys) {
    int found = 0;
    for (const ACCEL& a : entries)
      if (a.key == key.key && (a.fVirt & (FCONTROL | FALT | FSHIFT)) == key.flags && (a.fVirt & FVIRTKEY)) {
        EXPECT_EQ(a.cmd, key.command) << "key " << key.key;
        ++found;
      }
    EXPECT_EQ(found, 1) << "key " << key.key;
  }
  DestroyAcceleratorTable(table);
}

TEST_F(ModuleFixture, ProgramPicturesHaveTheirSizes) {
  for (const char* name : {"Open", "Play", "Snapshot", "Close", "Undo", "Crop", "Copy", "Paste", "ZOOMOUT",
                           "Restore", "Zoomin", "Next", "About", "Exit"}) {
    SIZE s = BitmapSize(app_, name);
    EXPECT_EQ(s.cx, 50) << name;
    EXPECT_EQ(s.cy, 200) << name;  // four states
  }
  EXPECT_EQ(BitmapSize(app_, "Back").cx, 160);
  EXPECT_EQ(BitmapSize(app_, "Back").cy, 159);
  EXPECT_EQ(BitmapSize(app_, "Bar").cy, 54);
  EXPECT_GT(BitmapSize(app_, "Logo").cx, 0);
  EXPECT_GT(BitmapSize(app_, "Thumb").cx, 0);
  EXPECT_EQ(BitmapSize(app_, "Pack").cx, 80);
  EXPECT_EQ(BitmapSize(app_, "Pack").cy, 6 * 39);
  EXPECT_EQ(BitmapSize(app_, "Saver").cy, 4 * 39);
  EXPECT_EQ(BitmapSize(app_, "Plug").cx, 200);
  EXPECT_EQ(BitmapSize(app_, "Plug").cy, 100);
  HICON icon = LoadIconA(app_, "bxView");
  EXPECT_NE(icon, nullptr);
  HCURSOR cursor = LoadCursorA(app_, "bxView");
  EXPECT_NE(cursor, nullptr);
  if (cursor) {
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(cursor, &info));
    EXPECT_EQ(info.xHotspot, 15u);
    EXPECT_EQ(info.yHotspot, 15u);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
  }
  // The gradient: a count word at byte 36, then 96 bytes per entry.
  HRSRC found = FindResourceA(app_, "Default", "GRADIENT");
  ASSERT_NE(found, nullptr);
  const DWORD size = SizeofResource(app_, found);
  ASSERT_GE(size, 40u);
  const BYTE* data = static_cast<const BYTE*>(LockResource(LoadResource(app_, found)));
  ASSERT_NE(data, nullptr);
  UINT32 count = 0;
  memcpy(&count, data + 36, 4);
  EXPECT_EQ(size, 40 + 96 * count);
}

TEST(BxwuiModule, HandsOutItsOwnModuleWithTheBarBitmaps) {
  HMODULE module = LoadModule("BXWUI.DLL");
  ASSERT_NE(module, nullptr);
  auto get = reinterpret_cast<HINSTANCE (*)(void)>(reinterpret_cast<void*>(GetProcAddress(module, "MyGetUIInit")));
  ASSERT_NE(get, nullptr);
  HINSTANCE ui = get();
  EXPECT_EQ(ui, module);
  SIZE face = BitmapSize(ui, "BkGnd");
  EXPECT_EQ(face.cx, 50);
  EXPECT_EQ(face.cy, 50);
  SIZE thumb = BitmapSize(ui, "Thumb");
  EXPECT_EQ(thumb.cx, 70);  // two 35 x 30 halves
  EXPECT_EQ(thumb.cy, 60);  // plus the pressed row
  FreeLibrary(module);
}

}  // namespace
