// Opening and closing the effect browsers from the frame's commands. The
// browser state lives from the opening command to the dialog's WM_DESTROY.
#include "effect_browser.h"

#include <memory>

#include "app/shell/app_state.h"
#include "app/shell/resource_ids.h"
#include "effect_browser_state.h"

namespace quillo {

namespace {

std::unique_ptr<BrowserState> g_browser;

enum class CommandAction { kNone, kOpenFamilies, kToggleFamiliesAtKindOne, kToggleFullList };

CommandAction ActionOf(int command) {
  switch (command) {
    case CMD_BROWSER_1: case CMD_BROWSER_2: case CMD_BROWSER_3: case CMD_BROWSER_4:
    case CMD_BROWSER_5: case CMD_BROWSER_6: case CMD_BROWSER_7: case CMD_BROWSER_8:
    case CMD_BROWSER_9:
      return CommandAction::kOpenFamilies;
    case CMD_EFFECT_BROWSER: case CMD_EFFECT_BROWSER_2: case CMD_EFFECT_BROWSER_3:
    case CMD_EFFECT_BROWSER_4:
      return CommandAction::kToggleFamiliesAtKindOne;
    case CMD_FULL_EFFECT_LIST: case CMD_FULL_EFFECT_LIST_2: case CMD_FULL_EFFECT_LIST_3:
      return CommandAction::kToggleFullList;
  }
  return CommandAction::kNone;
}

void ReleaseState(BrowserState& state) {
  FreeExamples(state);
  if (state.iconDC) DeleteDC(state.iconDC);  // the bitmap is deselected with the DC
  if (state.icons) DeleteObject(state.icons);
  if (state.selectionBrush) DeleteObject(state.selectionBrush);
  state.iconDC = nullptr;
  state.icons = nullptr;
  state.selectionBrush = nullptr;
}

bool OpenBrowser(HWND frame, BrowserKind kind, int command) {
  if (g_browser) return false;
  g_browser = std::make_unique<BrowserState>();
  BrowserState& state = *g_browser;
  state.kind = kind;
  state.openingCommand = command;
  state.icons = LoadBitmapA(g_app.instance, "Plug");
  state.iconDC = CreateCompatibleDC(nullptr);
  if (state.iconDC && state.icons) SelectObject(state.iconDC, state.icons);
  state.selectionBrush = CreateSolidBrush(RGB(0, 0, 255));
  const char* name = kind == BrowserKind::kFamilies ? "Plug" : "Plug2";
  HWND dialog = CreateDialogParamA(g_app.resources, name, frame, BrowserDialogProc, 0);
  if (!dialog) {
    // WM_DESTROY may already have dropped the state when the dialog failed
    // after WM_INITDIALOG.
    if (g_browser) {
      ReleaseState(*g_browser);
      g_browser.reset();
    }
    g_app.effectBrowser = nullptr;
    return false;
  }
  ShowWindow(dialog, SW_SHOW);
  return true;
}

}  // namespace

BrowserState* Browser() { return g_browser.get(); }

// Called from the dialog's WM_DESTROY: forget the browser, write its place
// and free everything it held.
void DropBrowserState() {
  if (!g_browser) return;
  WriteBrowserPosition(*g_browser);
  if (g_app.effectBrowser == g_browser->dialog) g_app.effectBrowser = nullptr;
  ReleaseState(*g_browser);
  g_browser.reset();
}

void OnBrowserCommand(HWND frame, int command) {
  switch (ActionOf(command)) {
    case CommandAction::kNone:
      return;
    case CommandAction::kOpenFamilies:
      OpenBrowser(frame, BrowserKind::kFamilies, command);
      return;
    case CommandAction::kToggleFamiliesAtKindOne:
      if (g_browser) {
        CloseEffectBrowser();
      } else if (OpenBrowser(frame, BrowserKind::kFamilies, command) && g_browser) {
        SelectFirstEffectOfKind(*g_browser, 1);
      }
      return;
    case CommandAction::kToggleFullList:
      if (g_browser)
        CloseEffectBrowser();
      else
        OpenBrowser(frame, BrowserKind::kFullList, command);
      return;
  }
}

void CloseEffectBrowser() {
  if (g_browser && g_browser->dialog) DestroyWindow(g_browser->dialog);
}

}  // namespace quillo
