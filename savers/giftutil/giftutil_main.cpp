// GiftUtil.EXE, the receiver's side of a gift. The self-extractor unpacks
// the package and starts the player beside it as "_{package}.exe" (with
// "/preview" when the sender looks at his own gift). The player shows the
// picture, plays the effect with its dialog, puts a shortcut to itself on
// the desktop and, when the package allows it, makes the package the
// screen saver. A preview changes nothing on the machine.
#include <objbase.h>

#include <cstdlib>
#include <cstring>
#include <ctime>

#include "contracts/dib_services.h"
#include "contracts/ui_controls.h"
#include "gift_state.h"
#include "savers/stage/saver_stage.h"

namespace quillo::giftutil {

GiftPlayer g_gift;

namespace {

// The command line holds the switch as a word of its own.
bool HasPreviewSwitch(const char* commandLine) {
  const size_t length = std::strlen(kPreviewSwitch);
  for (const char* p = commandLine; p && *p; ++p) {
    if (_strnicmp(p, kPreviewSwitch, length) != 0) continue;
    const bool startsWord = p == commandLine || p[-1] == ' ' || p[-1] == '\t' || p[-1] == '"';
    const char after = p[length];
    if (startsWord && (after == '\0' || after == ' ' || after == '\t' || after == '"')) return true;
  }
  return false;
}

// The player's own path, folder and names; false when its file name does
// not name a package.
bool FindOwnNames(GiftPlayer& gift) {
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  if (length == 0 || length >= sizeof path) return false;
  gift.programPath = path;
  const std::string_view name = FileNamePart(gift.programPath);
  if (name.size() >= gift.programPath.size()) return false;
  gift.folder = gift.programPath.substr(0, gift.programPath.size() - name.size() - 1);
  std::optional<GiftNames> names = GiftNamesOf(name);
  if (!names) return false;
  gift.names = *names;
  return true;
}

void PlanInstall(GiftPlayer& gift) {
  char windows[MAX_PATH] = {};
  const UINT length = GetWindowsDirectoryA(windows, sizeof windows);
  SaverInstallFacts facts;
  facts.preview = gift.preview;
  facts.playable = gift.playable;
  facts.optionFlags = gift.record.optionFlags;
  const std::string installed = SystemFolderPath(kSaverProgram);
  facts.saverInSystem = !installed.empty() && FileExists(installed);
  facts.saverBeside = FileExists(gift.folder + "\\" + kSaverProgram);
  facts.inPackageFolder = length > 0 && length < sizeof windows && IsPackageFolder(gift.folder, windows);
  gift.saverPlan = PlanSaverInstall(facts);
}

void Release(GiftPlayer& gift) {
  HGLOBAL picture = SlotPicture(gift);
  if (picture && picture != gift.source) DestroyDIB(picture);
  SetSlotPicture(gift, nullptr);
  if (gift.source) DestroyDIB(gift.source);
  gift.source = nullptr;
  if (gift.menu) DestroyMenu(gift.menu);
  gift.menu = nullptr;
  if (gift.plugin) FreeLibrary(gift.plugin);
  gift.plugin = nullptr;
  if (gift.gradient) HeapFree(GetProcessHeap(), 0, gift.gradient);
  gift.gradient = nullptr;
  if (gift.resources) FreeLibrary(gift.resources);
  gift.resources = nullptr;
  gift.parameters.clear();
}

int Run(HINSTANCE instance, const char* commandLine) {
  GiftPlayer& gift = g_gift;
  gift.instance = instance;
  std::srand(unsigned(std::time(nullptr)));
  if (!FindOwnNames(gift)) return 0;
  gift.preview = HasPreviewSwitch(commandLine);
  // The texts and the menu come from beside the player, never from the
  // search path; a gift without them does not start.
  gift.resources = LoadLibraryExA((gift.folder + "\\" + kResourceModule).c_str(), nullptr,
                                  LOAD_LIBRARY_AS_DATAFILE);
  if (!gift.resources) return 0;
  if (!ReadGiftPicture(gift)) {
    Release(gift);
    return 0;
  }
  // A damaged record or a missing plug-in still shows the picture.
  ReadGiftEffect(gift);
  PlanInstall(gift);

  UIInit(nullptr);
  if (!RegisterGiftClass(instance)) {
    Release(gift);
    return 0;
  }
  gift.gradient = stage::CopyGradientResource(instance);
  const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  HWND window = CreateGiftWindow(gift);
  if (!window) {
    if (com) CoUninitialize();
    Release(gift);
    return 0;
  }
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);

  const bool shortcut = gift.preview || PlaceDesktopShortcut(gift);
  PlayGift(gift);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  if (!shortcut) PlaceDesktopShortcut(gift);
  if (com) CoUninitialize();
  Release(gift);
  return 0;
}

}  // namespace

}  // namespace quillo::giftutil

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  return quillo::giftutil::Run(instance, commandLine);
}
