// The dialog procedure of both browsers: set-up, layout, the lists'
// notifications, running an effect, adding a favourite, closing.
#include <windows.h>

#include <string>

#include "app/shell/app_state.h"
#include "app/shell/document_window.h"
#include "app/shell/resource_ids.h"
#include "document_record.h"
#include "effect_browser_state.h"
#include "effect_host.h"
#include "thumbnail_pane.h"

namespace quillo {

namespace {

constexpr int kMargin = 8;
constexpr int kButtonHeight = 24;
constexpr int kCloseWidth = 80;
constexpr int kFavouriteWidth = 130;
// Room for an example picture (about 160 x 120) and a frame around it.
constexpr int kPreviewWidth = 176;
constexpr int kPreviewHeight = 136;

void Place(HWND dialog, int id, int x, int y, int width, int height) {
  if (HWND control = GetDlgItem(dialog, id))
    MoveWindow(control, x, y, width > 0 ? width : 0, height > 0 ? height : 0, TRUE);
}

void LayoutBrowser(HWND dialog) {
  RECT client;
  GetClientRect(dialog, &client);
  const int width = client.right, height = client.bottom;
  const int buttonTop = height - kMargin - kButtonHeight;
  const int listHeight = buttonTop - 2 * kMargin;
  const int previewLeft = width - kMargin - kPreviewWidth;
  int x = kMargin;
  if (GetDlgItem(dialog, kBrowserFamilyList)) {
    int familyWidth = (previewLeft - 3 * kMargin) * 2 / 5;
    if (familyWidth < 110) familyWidth = 110;
    Place(dialog, kBrowserFamilyList, x, kMargin, familyWidth, listHeight);
    x += familyWidth + kMargin;
  }
  Place(dialog, kBrowserEffectList, x, kMargin, previewLeft - kMargin - x, listHeight);
  Place(dialog, kBrowserPreview, previewLeft, kMargin, kPreviewWidth, kPreviewHeight);
  Place(dialog, kBrowserClose, width - kMargin - kCloseWidth, buttonTop, kCloseWidth, kButtonHeight);
  Place(dialog, kBrowserAddFavourite, width - 2 * kMargin - kCloseWidth - kFavouriteWidth, buttonTop,
        kFavouriteWidth, kButtonHeight);
  InvalidateRect(dialog, nullptr, TRUE);
}

void ShowMessage(HWND owner, UINT id) {
  const std::string text = LoadResString(id);
  MessageBoxA(owner, text.c_str(), nullptr, MB_OK | MB_ICONINFORMATION | MB_SYSTEMMODAL);
}

const EffectRecord* SelectedEffect(HWND dialog) {
  HWND list = GetDlgItem(dialog, kBrowserEffectList);
  return EffectAt(list, int(SendMessageA(list, LB_GETCURSEL, 0, 0)));
}

bool ActiveDocumentIsAnimated() {
  HWND document = ActiveDocument();
  const DocumentRecord* record = document ? RecordOf(document) : nullptr;
  return record && record->animation;
}

// Runs the selected effect: on the active picture, or on nothing for effects
// that show their own example. The browser may be gone when the run
// returns (the run nests a message loop), so nothing of it is used after.
void RunSelectedEffect(HWND dialog) {
  BrowserState* state = Browser();
  const EffectRecord* record = state ? FileRecordOf(*state, SelectedEffect(dialog)) : nullptr;
  if (!record) return;
  if (ActiveDocumentIsAnimated()) {
    ShowMessage(dialog, IDS_ANIMATION_NO_EFFECT);
    return;
  }
  const EffectRecord effect = *record;
  if (effect.reserved1 == 0)
    RunEffect(effect);
  else if (effect.reserved1 == 1)
    RunEffectOnExample(effect);
  else
    return;
  if (ThumbnailPaneVisible()) RefreshThumbnails();
}

// The effect list takes Enter itself: it runs the selected effect as a
// double click does, instead of the dialog's default button.
LRESULT CALLBACK EffectListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
  const BrowserState* state = Browser();
  WNDPROC original = state ? state->effectListProc : nullptr;
  auto callOriginal = [&] {
    return original ? CallWindowProcA(original, list, message, wParam, lParam)
                    : DefWindowProcA(list, message, wParam, lParam);
  };
  if (message == WM_GETDLGCODE) {
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN)
      return callOriginal() | DLGC_WANTMESSAGE;
  } else if (message == WM_KEYDOWN && wParam == VK_RETURN) {
    PostMessageA(GetParent(list), WM_COMMAND, MAKEWPARAM(kBrowserEffectList, LBN_DBLCLK), LPARAM(list));
    return 0;
  }
  return callOriginal();
}

void OnInitDialog(HWND dialog) {
  BrowserState* state = Browser();
  if (!state) return;
  state->dialog = dialog;
  g_app.effectBrowser = dialog;
  LayoutBrowser(dialog);
  ApplyBrowserPosition(*state);
  LoadBasicPicture(*state);
  SubclassPreview(*state);
  if (HWND list = GetDlgItem(dialog, kBrowserEffectList))
    state->effectListProc = WNDPROC(SetWindowLongPtrA(list, GWLP_WNDPROC, LONG_PTR(EffectListProc)));
  if (!LoadCatalogue(*state)) {
    ShowMessage(g_app.frame, IDS_NO_CATALOGUE);
    return;
  }
  FillBrowserLists(*state);
}

void OnListCommand(HWND dialog, int id, int code) {
  BrowserState* state = Browser();
  if (!state) return;
  HWND list = GetDlgItem(dialog, id);
  const int selected = int(SendMessageA(list, LB_GETCURSEL, 0, 0));
  if (id == kBrowserFamilyList && code == LBN_SELCHANGE) {
    if (const FamilyEntry* entry = FamilyAt(list, selected)) {
      RefillEffectList(*state, *entry);
      ShowExampleOf(*state, nullptr);
    }
  } else if (id == kBrowserEffectList && code == LBN_SELCHANGE) {
    const EffectRecord* record = EffectAt(list, selected);
    ShowExampleOf(*state, record);
    if (record && g_app.getSetupInfo) ShowSetupInfo(*state, *record);
  } else if (id == kBrowserEffectList && code == LBN_DBLCLK) {
    RunSelectedEffect(dialog);
  }
}

void OnDestroy(HWND dialog) {
  // Give the subclassed controls their own procedures back before the state
  // that holds them goes.
  if (const BrowserState* state = Browser()) {
    if (HWND preview = GetDlgItem(dialog, kBrowserPreview); preview && state->previewProc)
      SetWindowLongPtrA(preview, GWLP_WNDPROC, LONG_PTR(state->previewProc));
    if (HWND list = GetDlgItem(dialog, kBrowserEffectList); list && state->effectListProc)
      SetWindowLongPtrA(list, GWLP_WNDPROC, LONG_PTR(state->effectListProc));
  }
  DropBrowserState();
}

}  // namespace

INT_PTR CALLBACK BrowserDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog(dialog);
      return TRUE;
    case WM_SIZE:
      LayoutBrowser(dialog);
      return TRUE;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize.x = kBrowserMinWidth;
      info->ptMinTrackSize.y = kBrowserMinHeight;
      return TRUE;
    }
    case WM_MEASUREITEM:
      MeasureBrowserItem(dialog, reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_DRAWITEM:
      if (const BrowserState* state = Browser()) {
        DrawBrowserItem(*state, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
      }
      return FALSE;
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORDLG:
      return INT_PTR(BrowserControlColour(message, HDC(wParam)));
    case WM_COMMAND: {
      const int id = LOWORD(wParam), code = HIWORD(wParam);
      if (id == kBrowserEffectList || id == kBrowserFamilyList) {
        OnListCommand(dialog, id, code);
      } else if (id == kBrowserAddFavourite) {
        const BrowserState* state = Browser();
        if (const EffectRecord* record = state ? FileRecordOf(*state, SelectedEffect(dialog)) : nullptr)
          AddToFavourites(dialog, *record);
      } else if (id == kBrowserClose) {
        DestroyWindow(dialog);
      }
      return TRUE;
    }
    case WM_CLOSE:
      DestroyWindow(dialog);
      return TRUE;
    case WM_DESTROY:
      OnDestroy(dialog);
      return TRUE;
  }
  return FALSE;
}

}  // namespace quillo
