// Runs one catalogued effect. The plug-in is loaded for the run only; the
// effect works on a new undo step holding a 24-bit copy of the picture (or,
// for example-only effects, on nothing) inside its own dialog loop, and the
// step is kept only when the user accepts. The history is never touched
// before the effect function has been found, and a cancel puts it back
// exactly as it was.
#include <windows.h>

#include <cstring>

#include "app/host/effect_fit.h"
#include "app/shell/app_state.h"
#include "app/shell/document_window.h"
#include "app/shell/path_join.h"
#include "app/shell/resource_ids.h"
#include "contracts/dib_services.h"
#include "contracts/imaging_library.h"
#include "contracts/plugin_contract.h"
#include "effect_browser.h"
#include "effect_host.h"
#include "effect_panel.h"

namespace quillo {

namespace {

HostContext g_context = {};
EffectRecord g_current = {};
bool g_running = false;

void ShowMessage(const char* text, const char* caption) {
  MessageBoxA(g_app.frame, text, caption, MB_OK | MB_ICONINFORMATION | MB_SYSTEMMODAL);
}

// Loads the record's plug-in from the program directory by full path, so no
// other file of the same name is ever picked up.
HMODULE LoadEffectModule(const EffectRecord& record, char* path, size_t capacity) {
  if (!JoinPathInto(path, capacity, ProgramDirectory(), ModuleName(record))) return nullptr;
  return LoadLibraryA(path);
}

EffectFunction FindEffectFunction(HMODULE module, const EffectRecord& record) {
  const std::string name(FunctionName(record));
  return reinterpret_cast<EffectFunction>(reinterpret_cast<void*>(GetProcAddress(module, name.c_str())));
}

void BeginRun(const EffectRecord& record, HWND document, HWND view, HGLOBAL original) {
  std::memset(g_context, 0, sizeof g_context);
  g_context[kHostFrame] = UINT_PTR(g_app.frame);
  g_context[kHostView] = UINT_PTR(view);
  g_context[kHostOriginalImage] = UINT_PTR(original);
  g_app.effectBusy = &g_context[kHostBusy];
  ShowEffectBrowser(false);
  g_current = record;
  g_running = true;
  g_app.effectRunning = true;
  g_app.effectDocument = document;
  g_app.effectFrame = nullptr;
}

// What every run does after the effect function returned: the effect state
// is reset even when the effect forgot to clear it, before its module goes.
void EndRun(HWND view, HMODULE module) {
  g_context[kHostBusy] = 0;
  g_context[kHostOriginalImage] = 0;
  g_app.effectBusy = nullptr;
  g_running = false;
  g_app.effectRunning = false;
  g_app.effectDocument = nullptr;
  g_app.effectFrame = nullptr;
  std::memset(&g_current, 0, sizeof g_current);
  if (view && IsWindow(view)) SendMessageA(view, 2065, 0, 0);
  g_app.activeEffect = 0;
  g_app.effectDialog = nullptr;
  DestroyEffectPanel();
  ShowEffectBrowser(true);
  FreeLibrary(module);
}

}  // namespace

const EffectRecord* CurrentEffect() { return g_running ? &g_current : nullptr; }

HWND CurrentEffectDialog() { return g_running ? g_app.effectDialog : nullptr; }

HGLOBAL CurrentEffectOriginalImage() { return g_running ? HGLOBAL(g_context[kHostOriginalImage]) : nullptr; }

void FitEffectImage(UndoSlot* slot, const EffectRecord& record, HWND view) {
  if (!slot) return;
  const EffectFit fit = FitForEffect(record.kind, record.optionFlags, slot->width, slot->height,
                                     GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  switch (fit.action) {
    case EffectFitAction::kNone:
      return;
    case EffectFitAction::kResetZoom:
      if (record.optionFlags & 0x8000) {
        PostMessageA(g_app.frame, WM_COMMAND, CMD_ACTUAL_SIZE, 0);
      } else {
        SendMessageA(g_app.frame, WM_COMMAND, CMD_ACTUAL_SIZE, 0);
        PostMessageA(view, 2054, 1, 0);
      }
      return;
    case EffectFitAction::kResample: {
      HGLOBAL smaller = ZoomDIBEx(HGLOBAL(slot->image), fit.width, fit.height);
      if (!smaller) return;  // the effect runs on the picture as it is
      // A mask must keep covering the picture: resample it the same way by
      // taking the nearest source byte.
      if (slot->mask) {
        LPBYTE mask = AllocAlpha(smaller);
        const auto* old = reinterpret_cast<const BYTE*>(slot->mask);
        if (mask) {
          for (int y = 0; y < fit.height; ++y) {
            const int sy = int(int64_t(y) * slot->height / fit.height);
            for (int x = 0; x < fit.width; ++x)
              mask[size_t(y) * fit.width + x] = old[size_t(sy) * slot->width + size_t(int64_t(x) * slot->width / fit.width)];
          }
        }
        FreeAlpha(LPBYTE(slot->mask));
        slot->mask = uintptr_t(mask);
      }
      DestroyDIB(HGLOBAL(slot->image));
      slot->image = uintptr_t(smaller);
      slot->width = fit.width;
      slot->height = fit.height;
      SendMessageA(g_app.frame, WM_COMMAND, CMD_ACTUAL_SIZE, 0);
      SendMessageA(view, 2054, 1, 0);
      return;
    }
  }
}

int RunEffect(const EffectRecord& record) {
  if (g_running) {
    MessageBeep(0);
    return 0;
  }
  HWND document = ActiveDocument();
  if (!document) {
    SetStatusText(LoadResString(IDS_NO_ACTIVE_PICTURE));
    MessageBeep(0);
    return 0;
  }
  HWND view = ViewOf(document);
  char path[kMaxPathChars + 1];
  HMODULE module = LoadEffectModule(record, path, sizeof path);
  if (!module) {
    ShowMessage(LoadResString(IDS_EFFECT_LOAD_FAILED), path);
    return 0;
  }
  UndoSlot* current = CurrentSlot(document);
  HGLOBAL original = current ? HGLOBAL(current->image) : nullptr;
  if ((record.catalogFlags & kCatalogNeedsMask) && !(current && current->mask)) {
    MessageBeep(0);
    SetStatusText(LoadResString(IDS_EFFECT_NEEDS_MASK));
    FreeLibrary(module);
    return 0;
  }
  // The function is looked up before the history changes, so a plug-in
  // without it leaves every step in place.
  EffectFunction process = FindEffectFunction(module, record);
  HGLOBAL copy = process && original ? Duplicate24BitsDIB(original) : nullptr;
  if (!copy) {
    ShowMessage(LoadResString(IDS_EFFECT_LOAD_FAILED), nullptr);
    FreeLibrary(module);
    return 0;
  }
  const int maskMode = MaskDisplayMode(document);
  const bool ignoresMask = (record.catalogFlags & kCatalogIgnoresMask) != 0;
  LPBYTE mask = nullptr;
  if (!ignoresMask && current->mask) mask = DuplicateAlpha(copy, LPBYTE(current->mask));
  UndoSlot* step = BeginEffectStep(document, copy, mask);
  if (!step) {
    ShowMessage(LoadResString(IDS_EFFECT_LOAD_FAILED), nullptr);
    FreeLibrary(module);
    return 0;
  }
  if (ignoresMask) SetMaskDisplayMode(document, 1);

  BeginRun(record, document, view, original);
  const int32_t width = step->width, height = step->height;
  FitEffectImage(step, record, view);
  // A selection in the picture's pixels means nothing on a resized copy.
  INT32* selection = step->width == width && step->height == height ? EffectSelection(document) : nullptr;
  CreateEffectPanel(record);
  const int result = process(g_app.frame, view, g_app.instance, FM_NOTIFY, record.effectValue,
                             g_context, reinterpret_cast<HGLOBAL*>(&step->image),
                             selection, &g_app.effectDialog,
                             reinterpret_cast<BYTE**>(&step->mask), 0);
  const bool kept = EndEffectStep(document, result != 0);
  SetMaskDisplayMode(document, maskMode);
  EndRun(view, module);

  RelayoutDocument(document, false);
  // Only a kept step is tidied: tidying a cancelled run would compare the
  // step before it with its own predecessor and could bring back a mask the
  // user dropped. A cancel leaves the history exactly as it was.
  if (kept) TidyDocumentHistory(document);
  else if (view && IsWindow(view)) SendMessageA(view, 2099, 0, 0);  // rebuild the display copy
  RefreshToolButtons();
  return result;
}

int RunEffectOnExample(const EffectRecord& record) {
  if (g_running) {
    MessageBeep(0);
    return 0;
  }
  char path[kMaxPathChars + 1];
  HMODULE module = LoadEffectModule(record, path, sizeof path);
  EffectFunction process = module ? FindEffectFunction(module, record) : nullptr;
  if (!process) {
    ShowMessage(LoadResString(IDS_EFFECT_LOAD_FAILED), nullptr);
    if (module) FreeLibrary(module);
    return 0;
  }
  BeginRun(record, nullptr, nullptr, nullptr);
  CreateEffectPanel(record);
  const int result = process(g_app.frame, nullptr, g_app.instance, FM_NOTIFY, record.effectValue,
                             g_context, nullptr, nullptr, &g_app.effectDialog, nullptr, 0);
  EndRun(nullptr, module);
  RefreshToolButtons();
  return result;
}

}  // namespace quillo
