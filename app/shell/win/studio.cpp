// Start-up and shutdown of the studio: the command-line switches, the
// resource module, window classes, settings, fonts, the frame and its first
// picture, and everything released again at the end.
#include "studio.h"

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "app/shell/app_state.h"
#include "app/shell/document_window.h"
#include "app/shell/path_join.h"
#include "app/shell/settings_values.h"
#include "bitmap_button.h"
#include "contracts/dib_services.h"
#include "contracts/ui_bitmaps.h"
#include "contracts/ui_controls.h"
#include "effect_panel.h"
#include "frame_window.h"
#include "open_image.h"
#include "startup_logo.h"
#include "thumbnail_pane.h"
#include "print_page.h"

using namespace quillo;

namespace {

constexpr char kSettingsFile[] = "bexadbms.ini";

// The command line without surrounding blanks and quotes.
std::string CleanCommandLine(const char* commandLine) {
  std::string line = commandLine ? commandLine : "";
  const size_t first = line.find_first_not_of(" \t");
  const size_t last = line.find_last_not_of(" \t");
  line = first == std::string::npos ? std::string() : line.substr(first, last - first + 1);
  if (line.size() >= 2 && line.front() == '"' && line.back() == '"') line = line.substr(1, line.size() - 2);
  return line;
}

void WriteProgramDirectory() {
  WritePrivateProfileStringA("Funny", "Directory", ProgramDirectory(), kSettingsFile);
}

// The program's own "GRADIENT" "Default" resource copied to the heap: a
// 40-byte header whose tenth word is the entry count, then 96-byte entries.
LPVOID CopyDefaultGradient() {
  HRSRC found = FindResourceA(g_app.instance, "Default", "GRADIENT");
  HGLOBAL loaded = found ? LoadResource(g_app.instance, found) : nullptr;
  const auto* data = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
  const DWORD size = found ? SizeofResource(g_app.instance, found) : 0;
  if (!data || size < 40) return nullptr;
  DWORD count;
  std::memcpy(&count, data + 36, sizeof count);
  const unsigned long long bytes = 40ull + 96ull * count;
  if (count > 256 || bytes > size) return nullptr;
  LPVOID copy = HeapAlloc(GetProcessHeap(), 0, SIZE_T(bytes));
  if (copy) std::memcpy(copy, data, SIZE_T(bytes));
  return copy;
}

// The studio's resource module, loaded by full path from the program folder.
HINSTANCE LoadResourceModule() {
  char path[MAX_PATH];
  if (!JoinPathInto(path, sizeof path, ProgramDirectory(), "BXFUN.R")) return nullptr;
  return LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

BOOL RegisterSimpleClass(const char* name, int extraBytes, HBRUSH background, WNDPROC proc) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = proc;
  wc.cbWndExtra = extraBytes;
  wc.hInstance = g_app.instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.lpszClassName = name;
  return RegisterClassA(&wc) != 0;
}

BOOL RegisterClasses() {
  return RegisterThumbnailClasses(g_app.instance) && RegisterFrameClass(g_app.resources) &&
         RegisterDocumentClasses(g_app.instance) && RegisterLogoClass(g_app.instance) &&
         RegisterSimpleClass(kEffectPanelClass, 4, CreateSolidBrush(RGB(206, 206, 206)), EffectPanelProc) &&
         RegisterBitmapButtonClasses(g_app.instance);
}

void RunMessageLoop(HACCEL accelerators) {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    // The studio's keys belong to its frame: while the print preview stands
    // in for the hidden frame they would open dialogs nobody can see.
    if (accelerators && !PrintPreviewFrame() && TranslateAcceleratorA(g_app.frame, accelerators, &msg))
      continue;
    if (g_app.mdiClient && TranslateMDISysAccel(g_app.mdiClient, &msg)) continue;
    if (g_app.effectBrowser && IsDialogMessageA(g_app.effectBrowser, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

}  // namespace

namespace {
HRESULT g_com = E_FAIL;
HCURSOR g_viewCursor = nullptr;
}  // namespace

namespace quillo {

int StartStudio(HINSTANCE instance, const char* commandLine, int show, HACCEL* accelerators) {
  g_app.instance = instance;
  *accelerators = nullptr;
  const std::string line = CleanCommandLine(commandLine);
  auto is = [&](const char* word) { return lstrcmpiA(line.c_str(), word) == 0; };
  g_app.saveDibHandle = is("SAVE_DIB_HANDLE");
  g_app.saveGrayDib = is("SAVE_GRAY_DIB");
  g_app.saveBmpHandle = is("SAVE_BMP_HANDLE");
  g_app.debugMode = is("DEBUG_MODE");
  g_app.getSetupInfo = is("GET_SETUP_INFO");
  g_app.readMyFile = is("READ_MY_FILE");
  if (is("Save Directory only")) {
    WriteProgramDirectory();
    return 1;
  }
  constexpr int kStarted = -1;
  std::srand(unsigned(std::time(nullptr)));
  g_com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  UIInit(instance);
  g_app.uiModule = MyGetUIInit();
  g_app.resources = LoadResourceModule();
  if (!g_app.resources) return 0;
  if (!RegisterClasses()) {
    FreeLibrary(g_app.resources);
    return 0;
  }
  char timer[16] = {};
  const DWORD timerLength = GetPrivateProfileStringA("Meridian", "Timer", "3000", timer, sizeof timer, kSettingsFile);
  g_app.animationInterval = ParseAnimationInterval(timerLength ? timer : "");
  const std::string directory = ProgramDirectory();
  if (directory.size() >= 2 && directory[1] == ':') SetCurrentDirectoryA(directory.substr(0, 2).c_str());
  LOGFONTA font = {};
  std::strcpy(font.lfFaceName, "Arial");
  font.lfHeight = 14;
  g_app.fontLarge = CreateFontIndirectA(&font);
  font.lfHeight = 12;
  g_app.fontSmall = CreateFontIndirectA(&font);
  LoadFrameResources();
  g_app.gradient = CopyDefaultGradient();

  g_app.frame = CreateFrame(g_app.resources);
  if (!g_app.frame) {
    FreeLibrary(g_app.resources);
    DeleteObject(g_app.fontLarge);
    DeleteObject(g_app.fontSmall);
    return 0;
  }
  if (g_app.thumbnailFlag) CreateThumbnailPane(g_app.frame);
  const bool fileGiven = !line.empty() && GetFileAttributesA(line.c_str()) != INVALID_FILE_ATTRIBUTES &&
                         !(GetFileAttributesA(line.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
  if (fileGiven && !g_app.saveDibHandle && !g_app.saveBmpHandle) OpenImageFile(g_app.frame, line.c_str());
  RegisterClipboardFormatA("BEXA_RGBA");
  DragAcceptFiles(g_app.frame, TRUE);
  const bool maximized = (GetWindowLongA(g_app.frame, GWL_STYLE) & WS_MAXIMIZE) != 0;
  ShowWindow(g_app.frame, maximized ? SW_SHOWMAXIMIZED : show);
  UpdateWindow(g_app.frame);
  ShowStartupLogo(g_app.frame);
  *accelerators = LoadAcceleratorsA(instance, "bxView");
  g_viewCursor = LoadCursorA(instance, "bxView");
  RefreshToolButtons();
  g_app.effectCursor = nullptr;
  return kStarted;
}

void RunStudioLoop(HACCEL accelerators) { RunMessageLoop(accelerators); }

void StopStudio() {
  if (g_viewCursor) DestroyCursor(g_viewCursor);
  g_viewCursor = nullptr;
  if (g_app.gradient) FreeGradient(g_app.gradient);
  FreeFrameResources();
  FreeLibrary(g_app.resources);
  DeleteObject(g_app.fontLarge);
  DeleteObject(g_app.fontSmall);
  g_app.resources = nullptr;
  g_app.gradient = nullptr;
  WriteProgramDirectory();
  if (SUCCEEDED(g_com)) CoUninitialize();
  g_com = E_FAIL;
}

}  // namespace quillo
