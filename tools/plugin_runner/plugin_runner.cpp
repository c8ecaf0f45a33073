// PlugRun: a small host that opens a picture, runs one effect of a plug-in
// module on it in the effect's own dialog, and shows the picture change as
// the effect reports passes. Used to try plug-ins by hand and for the run
// command until the studio itself hosts them.
//
//   PlugRun.exe [plugin] [effect function] [picture] [--exit-after]
// Defaults: BXCOMM1.PL1 ProcessBalance Samples\coffee.png
#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "contracts/dib_services.h"
#include "contracts/image_codecs.h"
#include "contracts/plugin_contract.h"
#include "contracts/ui_controls.h"

namespace {

constexpr UINT kStartEffect = WM_APP + 1;

struct RunnerState {
  std::string pluginPath;
  std::string function = "ProcessBalance";
  std::string picturePath;
  bool exitAfter = false;
  HGLOBAL image = nullptr;
  BYTE* mask = nullptr;
  HWND effectDialog = nullptr;
  bool effectRunning = false;
};
RunnerState g_state;

std::string ProgramDirectory() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  char* slash = std::strrchr(path, '\\');
  if (slash) *slash = '\0';
  return path;
}

// The picture scaled to fit the client area, centred, never enlarged.
RECT PictureRect(HWND window, int width, int height) {
  RECT client;
  GetClientRect(window, &client);
  const int cw = client.right, ch = client.bottom;
  double scale = 1.0;
  if (width > cw || height > ch) scale = std::min(double(cw) / width, double(ch) / height);
  const int w = int(width * scale), h = int(height * scale);
  const int x = (cw - w) / 2, y = (ch - h) / 2;
  return RECT{x, y, x + w, y + h};
}

void Paint(HWND window) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  RECT client;
  GetClientRect(window, &client);
  HBRUSH back = CreateSolidBrush(RGB(64, 64, 72));
  if (g_state.image) {
    auto* dib = static_cast<char*>(GlobalLock(g_state.image));
    const int width = DIBWidth(dib), height = DIBHeight(dib);
    GlobalUnlock(g_state.image);
    RECT dest = PictureRect(window, width, height);
    RECT source{0, 0, width, height};
    PaintDIB(dc, &dest, g_state.image, &source, nullptr);
    ExcludeClipRect(dc, dest.left, dest.top, dest.right, dest.bottom);
  }
  FillRect(dc, &client, back);
  DeleteObject(back);
  EndPaint(window, &ps);
}

void RunEffect(HWND window) {
  HMODULE plugin = LoadLibraryExA(g_state.pluginPath.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  auto effect = plugin ? reinterpret_cast<EffectFunction>(reinterpret_cast<void*>(
                             GetProcAddress(plugin, g_state.function.c_str())))
                       : nullptr;
  if (!effect) {
    MessageBoxA(window, ("Cannot run " + g_state.function + " of " + g_state.pluginPath).c_str(),
                "PlugRun", MB_ICONERROR);
    if (plugin) FreeLibrary(plugin);
    if (g_state.exitAfter) PostQuitMessage(1);
    return;
  }
  HostContext context = {};
  context[kHostFrame] = UINT_PTR(window);
  context[kHostView] = UINT_PTR(window);
  context[kHostOriginalImage] = UINT_PTR(g_state.image);
  g_state.effectRunning = true;
  const int accepted = effect(window, window, GetModuleHandleA(nullptr), HOST_NOTIFY_MESSAGE, 0,
                              context, &g_state.image, nullptr, &g_state.effectDialog,
                              &g_state.mask, 0);
  g_state.effectRunning = false;
  g_state.effectDialog = nullptr;
  FreeLibrary(plugin);
  SetWindowTextA(window, accepted ? "PlugRun - effect accepted" : "PlugRun - effect cancelled");
  InvalidateRect(window, nullptr, FALSE);
  if (g_state.exitAfter) PostQuitMessage(accepted ? 0 : 2);
}

LRESULT CALLBACK ViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint(window);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SIZE:
      InvalidateRect(window, nullptr, FALSE);
      return 0;
    case kStartEffect:
      RunEffect(window);
      return 0;
    case HOST_NOTIFY_MESSAGE:
    case VM_REDRAW:
    case VM_RELAYOUT:
    case EM_NEW_FRAME:
      InvalidateRect(window, nullptr, FALSE);
      UpdateWindow(window);
      return 0;
    case VM_MAP_RECT:
      return lParam;
    case WM_CLOSE:
      if (g_state.effectRunning) {
        MessageBeep(0);  // the effect's dialog must close first
        return 0;
      }
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  const std::string dir = ProgramDirectory();
  g_state.pluginPath = dir + "\\BXCOMM1.PL1";
  g_state.picturePath = dir + "\\Samples\\coffee.png";
  int positional = 0;
  for (int i = 1; i < __argc; ++i) {
    const std::string arg = __argv[i];
    if (arg == "--exit-after") {
      g_state.exitAfter = true;
      continue;
    }
    if (positional == 0) g_state.pluginPath = arg.find('\\') == std::string::npos ? dir + "\\" + arg : arg;
    if (positional == 1) g_state.function = arg;
    if (positional == 2) g_state.picturePath = arg;
    ++positional;
  }

  // A window program's thread joins COM once for its whole life; the codec
  // library then borrows that apartment instead of setting up its own.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  UIInit(instance);
  HGLOBAL loaded = LoadDIB(g_state.picturePath.c_str());
  g_state.image = loaded ? TrueColorDIB(loaded) : nullptr;
  if (g_state.image != loaded && loaded) DestroyDIB(loaded);
  if (!g_state.image) {
    MessageBoxA(nullptr, ("Cannot open " + g_state.picturePath).c_str(), "PlugRun", MB_ICONERROR);
    return 1;
  }

  WNDCLASSA wc = {};
  wc.lpfnWndProc = ViewProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
  wc.lpszClassName = "PlugRunView";
  RegisterClassA(&wc);
  HWND window = CreateWindowA("PlugRunView", "PlugRun", WS_OVERLAPPEDWINDOW, 10, 10, 700, 520,
                              nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  ShowWindow(window, show);
  UpdateWindow(window);
  PostMessageA(window, kStartEffect, 0, 0);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  if (g_state.image) DestroyDIB(g_state.image);
  if (g_state.mask) FreeAlpha(g_state.mask);
  if (SUCCEEDED(com)) CoUninitialize();
  return int(msg.wParam);
}
