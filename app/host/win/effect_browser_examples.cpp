// Example pictures of the browsers: the preview control paints the selected
// effect's example (or "Basic.jpg") centred at actual size; with the
// GET_SETUP_INFO switch the examples are also collected in one folder.
#include <windows.h>

#include <cstdio>
#include <string>
#include <string_view>

#include "app/shell/app_state.h"
#include "app/shell/path_join.h"
#include "contracts/dib_services.h"
#include "contracts/image_codecs.h"
#include "effect_browser_state.h"

namespace quillo {

namespace {

constexpr char kCollectionFolder[] = "C:\\Example.png\\Fun";
constexpr DWORD kCopyBlock = 1000;

// An example name is a bare file name: anything that could lead out of the
// Examples folder (or the collection folder) is refused.
bool IsExampleName(std::string_view name) { return name != "N/A" && name != "." && IsBareFileName(name); }

bool FileExists(const char* path) {
  const DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// "<program>\Examples\<name>", or empty when it does not fit.
std::string ExamplePath(std::string_view name) {
  const auto folder = JoinPath(ProgramDirectory(), "Examples");
  if (!folder) return {};
  return JoinPath(*folder, name).value_or(std::string());
}

HGLOBAL LoadExample(std::string_view name) {
  if (!IsExampleName(name)) return nullptr;
  const std::string path = ExamplePath(name);
  if (path.empty() || !FileExists(path.c_str())) return nullptr;
  return LoadDIB(path.c_str());
}

// Byte copy in blocks of 1000; a partial target is removed again.
bool CopyInBlocks(const char* from, const char* to) {
  HANDLE in = CreateFileA(from, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
  if (in == INVALID_HANDLE_VALUE) return false;
  HANDLE out = CreateFileA(to, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) {
    CloseHandle(in);
    return false;
  }
  char block[kCopyBlock];
  bool ok = true;
  for (;;) {
    DWORD got = 0, written = 0;
    if (!ReadFile(in, block, sizeof block, &got, nullptr)) ok = false;
    if (!ok || got == 0) break;
    if (!WriteFile(out, block, got, &written, nullptr) || written != got) {
      ok = false;
      break;
    }
  }
  CloseHandle(in);
  if (!CloseHandle(out)) ok = false;
  if (!ok) DeleteFileA(to);
  return ok;
}

LRESULT PaintPreview(HWND preview) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(preview, &ps);
  RECT client;
  GetClientRect(preview, &client);
  FillRect(dc, &client, HBRUSH(GetStockObject(LTGRAY_BRUSH)));
  const BrowserState* state = Browser();
  HGLOBAL picture = state ? (state->example ? state->example : state->basicPicture) : nullptr;
  if (picture) {
    int width = 0, height = 0;
    if (LPCSTR locked = static_cast<LPCSTR>(GlobalLock(picture))) {
      width = DIBWidth(locked);
      height = DIBHeight(locked);
      GlobalUnlock(picture);
    }
    if (width > 0 && height > 0) {
      RECT target;
      target.left = (client.right - width) / 2;
      target.top = (client.bottom - height) / 2;
      target.right = target.left + width;
      target.bottom = target.top + height;
      PaintDIB(dc, &target, picture, nullptr, nullptr);
    }
  }
  EndPaint(preview, &ps);
  return 0;
}

LRESULT CALLBACK PreviewProc(HWND preview, UINT message, WPARAM wParam, LPARAM lParam) {
  const BrowserState* state = Browser();
  WNDPROC original = state ? state->previewProc : nullptr;
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      return PaintPreview(preview);
  }
  return original ? CallWindowProcA(original, preview, message, wParam, lParam)
                  : DefWindowProcA(preview, message, wParam, lParam);
}

}  // namespace

void SubclassPreview(BrowserState& state) {
  HWND preview = GetDlgItem(state.dialog, kBrowserPreview);
  if (preview)
    state.previewProc = WNDPROC(SetWindowLongPtrA(preview, GWLP_WNDPROC, LONG_PTR(PreviewProc)));
}

void LoadBasicPicture(BrowserState& state) { state.basicPicture = LoadExample("Basic.jpg"); }

void ShowExampleOf(BrowserState& state, const EffectRecord* record) {
  if (state.example) DestroyDIB(state.example);
  state.example = record ? LoadExample(ExampleName(*record)) : nullptr;
  if (HWND preview = GetDlgItem(state.dialog, kBrowserPreview)) InvalidateRect(preview, nullptr, FALSE);
}

void FreeExamples(BrowserState& state) {
  if (state.example) DestroyDIB(state.example);
  if (state.basicPicture) DestroyDIB(state.basicPicture);
  state.example = state.basicPicture = nullptr;
}

void ShowSetupInfo(const BrowserState& state, const EffectRecord& record) {
  const std::string title = std::string(ExampleName(record)) + "  " + std::string(ModuleName(record)) +
                            "  " + std::string(FunctionName(record));
  if (g_app.frame) SetWindowTextA(g_app.frame, title.c_str());
  CreateDirectoryA("C:\\Example.png", nullptr);
  CreateDirectoryA(kCollectionFolder, nullptr);
  HWND list = GetDlgItem(state.dialog, kBrowserEffectList);
  const int count = int(SendMessageA(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    const EffectRecord* listed = EffectAt(list, i);
    if (!listed || !IsExampleName(ExampleName(*listed))) continue;
    const std::string from = ExamplePath(ExampleName(*listed));
    const auto to = JoinPath(kCollectionFolder, ExampleName(*listed));
    if (!from.empty() && to && FileExists(from.c_str())) CopyInBlocks(from.c_str(), to->c_str());
  }
}

}  // namespace quillo
