// The frame's command dispatch: menu items, accelerators, tool buttons and
// commands sent by effect panels and plug-ins. While an effect works on a
// picture only a few commands pass; the rest beep.
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

#include "app/shell/app_state.h"
#include "app/shell/command_rules.h"
#include "app/shell/document_window.h"
#include "app/shell/path_join.h"
#include "app/shell/recent_files.h"
#include "app/shell/resource_ids.h"
#include "capture_dialog.h"
#include "contracts/dib_services.h"
#include "contracts/image_codecs.h"
#include "effect_browser.h"
#include "modal_step.h"
#include "effect_host.h"
#include "effect_panel.h"
#include "edit_commands.h"
#include "frame_window.h"
#include "open_dialog.h"
#include "open_image.h"
#include "package_install.h"
#include "print_page.h"
#include "mail_dialogs.h"
#include "save_gift.h"
#include "save_dialog.h"
#include "thumbnail_pane.h"
#include "timer_dialog.h"

namespace quillo {

namespace {

constexpr char kSettingsFile[] = "bexadbms.ini";

bool AskExit(HWND frame, const char* caption) {
  return MessageBoxA(frame, LoadResString(IDS_EXIT_QUESTION), caption,
                     MB_YESNO | MB_ICONQUESTION | MB_SYSTEMMODAL) == IDYES;
}

// Opens a document of the program's help folders with the shell.
void OpenDocument(const char* relativePath) {
  const std::string dir = ProgramDirectory();
  if (dir.size() >= 2 && dir[1] == ':') SetCurrentDirectoryA(dir.substr(0, 2).c_str());
  const std::string path = dir + "\\" + relativePath;
  ShellExecuteA(g_app.frame, "open", path.c_str(), nullptr, dir.c_str(), SW_SHOWMAXIMIZED);
}

INT_PTR CALLBACK InfoDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    const auto* slot = reinterpret_cast<const UndoSlot*>(lParam);
    SetDlgItemInt(dialog, 100, UINT(slot->width), FALSE);
    SetDlgItemInt(dialog, 101, UINT(slot->height), FALSE);
    SetDlgItemInt(dialog, 102, UINT(slot->colours), FALSE);
    return TRUE;
  }
  if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    EndDialog(dialog, LOWORD(wParam));
    return TRUE;
  }
  return FALSE;
}

void ShowImageInfo(HWND frame, HWND document) {
  UndoSlot* slot = CurrentSlot(document);
  if (!slot || !slot->image) {
    MessageBeep(0);
    return;
  }
  const char* name = HasUndoStep(document) ? "Info" : "Info1";
  ModalStep aside;
  DialogBoxParamA(g_app.resources, name, frame, InfoDialogProc, LPARAM(slot));
}

void ToggleThumbnails() {
  g_app.thumbnailFlag = !g_app.thumbnailFlag;
  WritePrivateProfileStringA("Meridian", "Thumbnail", g_app.thumbnailFlag ? "1" : "0", kSettingsFile);
  ShowThumbnailPane(g_app.thumbnailFlag != 0);
  LayoutFrame();
}

void OpenRecent(HWND frame, int index) {
  const std::string& path = RecentFilePath(index);
  if (path.empty()) return;
  for (HWND child = GetWindow(g_app.mdiClient, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (RecordOf(child) && SamePath(DocumentTitle(child), path)) {
      SendMessageA(g_app.mdiClient, WM_MDIACTIVATE, WPARAM(child), 0);
      return;
    }
  const std::string copy = path;  // opening reorders the list
  OpenImageFile(frame, copy.c_str());
}

// Runs a library's window (multimedia player, scanner) until it closes. The
// library is loaded from the program directory only, for that time.
void RunLibraryWindow(const char* library, const char* function, HWND* windowVariable) {
  if (*windowVariable) {
    MessageBeep(0);
    return;
  }
  char path[MAX_PATH];
  HMODULE module = JoinPathInto(path, sizeof path, ProgramDirectory(), library)
                       ? LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH)
                       : nullptr;
  using Entry = void (*)(HWND, HWND*);
  auto entry = module ? reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(module, function)))
                      : nullptr;
  if (!entry) {
    MessageBeep(0);
  } else {
    entry(g_app.frame, windowVariable);
  }
  if (module) FreeLibrary(module);
  *windowVariable = nullptr;
}

// "Pack" and "Saver" of the effect panel store the running effect. Both need
// a picture and a running effect dialog; the dialog and the panel step aside
// while the builder runs.
void OnPanelCommand(int command, HWND document) {
  if (!document) {
    if (command == CMD_PANEL_PACK)
      MessageBoxA(g_app.frame, LoadResString(IDS_PACK_NEEDS_PICTURE), nullptr, MB_OK | MB_ICONINFORMATION);
    return;
  }
  HWND dialog = CurrentEffectDialog();
  if (!dialog || !IsWindow(dialog)) return;
  ModalStep aside;
  if (command == CMD_PANEL_SAVER) {
    if (InstallPackageAsScreenSaver())
      MessageBoxA(g_app.frame, LoadResString(IDS_SAVER_INSTALLED), "OK", MB_OK | MB_ICONINFORMATION | MB_SYSTEMMODAL);
    else
      MessageBoxA(g_app.frame, LoadResString(IDS_SAVER_FAILED), nullptr, MB_OK | MB_ICONINFORMATION | MB_SYSTEMMODAL);
    return;
  }
  SaveGiftAsProgram(document);
}

}  // namespace

void ShowEffectBrowser(bool show) {
  if (g_app.effectBrowser) ShowWindow(g_app.effectBrowser, show ? SW_SHOW : SW_HIDE);
}

void OnFrameCommand(HWND frame, WPARAM wParam, LPARAM lParam) {
  const int command = LOWORD(wParam);
  if (EffectInProgress() && !CommandAllowedDuringEffect(command)) {
    MessageBeep(0);
    return;
  }
  HWND document = ActiveDocument();
  auto needDocument = [&]() {
    if (!document) MessageBeep(0);
    return document != nullptr;
  };
  switch (command) {
    case CMD_CASCADE: SendMessageA(g_app.mdiClient, WM_MDICASCADE, 0, 0); break;
    case CMD_TILE_VERTICAL: SendMessageA(g_app.mdiClient, WM_MDITILE, MDITILE_VERTICAL, 0); break;
    case CMD_TILE_HORIZONTAL: SendMessageA(g_app.mdiClient, WM_MDITILE, MDITILE_HORIZONTAL, 0); break;
    case CMD_ARRANGE_ICONS: SendMessageA(g_app.mdiClient, WM_MDIICONARRANGE, 0, 0); break;
    case CMD_IMAGE_INFO:
      if (needDocument()) ShowImageInfo(frame, document);
      break;
    case CMD_DOC_RIGHT: OpenDocument("DOC\\Right.htm"); break;
    case CMD_DOC_DEMO: OpenDocument("Demo\\LenscastPlayer.htm"); break;
    case CMD_PRODUCT_PAGE: OpenDocument("QloDoc\\Quillo.htm"); break;
    case CMD_HELP_EFFECTS: OpenDocument("DOC\\Effect.htm"); break;
    case CMD_DOC_MANUAL: OpenDocument("DOC\\Manual.htm"); break;
    case CMD_JPEG_OPTIONS: SetupJPEGOption(frame); break;
    case CMD_TIFF_OPTIONS: SetupTIFFOption(frame); break;
    case CMD_TOGGLE_THUMBNAILS: ToggleThumbnails(); break;
    case CMD_THUMBNAIL_LIST: OnThumbnailCommand(wParam, lParam); break;
    case CMD_TOGGLE_BEST_FIT:
      g_app.bestFitFlag = !g_app.bestFitFlag;
      WritePrivateProfileStringA("Meridian", "Bestfit", g_app.bestFitFlag ? "1" : "0", kSettingsFile);
      break;
    case CMD_OPEN: RunOpenDialog(frame); break;
    case CMD_SAVE:
      if (needDocument()) SaveActiveImage(frame);
      break;
    case CMD_SAVE_GIVEN_IMAGE: SaveGivenImage(frame, HGLOBAL(lParam)); break;
    case CMD_ANIMATION_INTERVAL: RunTimerDialog(frame); break;
    case CMD_EXIT:
      if (AskExit(frame, "???")) SendMessageA(frame, WM_CLOSE, 0, 0);
      break;
    case CMD_CLOSE_IMAGE:
      if (document) {
        SendMessageA(document, WM_CLOSE, 0, 0);
        RefreshThumbnails();
        RefreshToolButtons();
      } else if (AskExit(frame, "?")) {
        PostMessageA(frame, WM_COMMAND, CMD_EXIT, 0);
      }
      break;
    case CMD_UNDO:
      if (needDocument()) {
        UndoDocument(document);
        RefreshThumbnails();
        RefreshToolButtons();
      }
      break;
    case CMD_NEXT_WINDOW:
      if (needDocument()) SendMessageA(g_app.mdiClient, WM_MDINEXT, WPARAM(document), 0);
      break;
    case CMD_VIEW_SELECT: g_app.viewMode = 0; break;
    case CMD_VIEW_MAGNIFIER: g_app.viewMode = 1; break;
    case CMD_VIEW_ZOOM_RECT: g_app.viewMode = 2; break;
    case CMD_ZOOM_IN:
      if (needDocument()) ZoomDocument(document, +1);
      break;
    case CMD_ZOOM_OUT:
      if (needDocument()) ZoomDocument(document, -1);
      break;
    case CMD_ACTUAL_SIZE:
      if (needDocument()) ZoomDocument(document, 0);
      break;
    case CMD_TOGGLE_MAXIMIZE: ShowWindow(frame, IsZoomed(frame) ? SW_RESTORE : SW_MAXIMIZE); break;
    case CMD_MULTIMEDIA: RunLibraryWindow("BXMM.DLL", "MyOpenMCI", &g_app.playerWindow); break;
    case CMD_SCANNER: RunLibraryWindow("BXTwain.DLL", "MyTwain", &g_app.scannerWindow); break;
    case CMD_FULL_EFFECT_LIST: case CMD_FULL_EFFECT_LIST_2: case CMD_FULL_EFFECT_LIST_3:
    case CMD_BROWSER_1: case CMD_BROWSER_2: case CMD_BROWSER_3: case CMD_BROWSER_4:
    case CMD_BROWSER_5: case CMD_BROWSER_6: case CMD_BROWSER_7: case CMD_BROWSER_8:
    case CMD_BROWSER_9: case CMD_EFFECT_BROWSER: case CMD_EFFECT_BROWSER_2:
    case CMD_EFFECT_BROWSER_3: case CMD_EFFECT_BROWSER_4:
      OnBrowserCommand(frame, command);
      break;
    case CMD_EFFECT_SAVER_INSTALL: InstallEffectScreenSaver(); break;
    case CMD_MAIL_GIFT: {
      ModalStep aside;
      RunMailCommand(document);
      break;
    }
    case CMD_AVI_CAPTURE:
      if (document && !g_app.captureWindows[0] && !g_app.captureWindows[1]) {
        ModalStep aside;
        StartAviCapture(frame, document);
      }
      break;
    case CMD_PRINT_PREVIEW: OpenPrintPreview(document); break;
    case CMD_REBUILD_CATALOGUE:
      CloseEffectBrowser();
      ScanPlugins();
      break;
    case CMD_PANEL_PACK:
    case CMD_PANEL_SAVER:
      OnPanelCommand(command, document);
      break;
    case CMD_GRADIENT: {
      static HWND gradientDialog = nullptr;
      if (gradientDialog && IsWindow(gradientDialog)) break;  // not opened twice
      gradientDialog = SetupGradient(frame, FM_SET_GRADIENT, g_app.gradient, &gradientDialog);
      break;
    }
    default:
      if (command >= CMD_RECENT_FIRST && command <= CMD_RECENT_LAST) {
        OpenRecent(frame, command - CMD_RECENT_FIRST);
        break;
      }
      if (OnEditCommand(frame, command, document)) break;
      // Commands whose features arrive later answer with a beep.
      MessageBeep(0);
      break;
  }
}

}  // namespace quillo
