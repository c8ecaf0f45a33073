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
#include "app/shell/recent_files.h"
#include "app/shell/resource_ids.h"
#include "contracts/dib_services.h"
#include "contracts/image_codecs.h"
#include "frame_window.h"
#include "open_image.h"
#include "thumbnail_pane.h"

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

void ShowEffectBrowser(bool show) {
  if (g_app.effectBrowser) ShowWindow(g_app.effectBrowser, show ? SW_SHOW : SW_HIDE);
}

// The open dialog for single pictures; every file it returns opens in a
// window of its own.
void OpenWithDialog(HWND frame) {
  static const char kFilter[] =
      "All File(*.*)\0*.Bmp;*.Pcx;*.Tif;*.Gif;*.PNG;*.PBM;*.PGM;*.PPM;*.GBR;*.PAT;*.XBM;*.BM;"
      "*.XPM;*.WBMP;*.tga;*.wpg;*.jpg;*.jpeg;*.jpe;\0"
      "Bitmap Files\0*.bmp;\0JPG File\0*.jpg;*.jpeg;*.jpe\0PNG File\0*.png\0TIF File\0*.tif\0";
  char file[300] = {};
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = frame;
  ofn.lpstrFilter = kFilter;
  ofn.lpstrFile = file;
  ofn.nMaxFile = sizeof file - 1;
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
  ShowEffectBrowser(false);
  if (GetOpenFileNameA(&ofn)) OpenImageFile(frame, file);
  ShowEffectBrowser(true);
  RefreshToolButtons();
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
  ShowEffectBrowser(false);
  DialogBoxParamA(g_app.resources, name, frame, InfoDialogProc, LPARAM(slot));
  ShowEffectBrowser(true);
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

void RunLibraryWindow(const char* library, const char* function, HWND* windowVariable) {
  if (*windowVariable) {
    MessageBeep(0);
    return;
  }
  HMODULE module = LoadLibraryA(library);
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

}  // namespace

void OnFrameCommand(HWND frame, WPARAM wParam, LPARAM lParam) {
  const int command = LOWORD(wParam);
  if (g_app.activeEffect && !CommandAllowedDuringEffect(command)) {
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
    case CMD_OPEN: OpenWithDialog(frame); break;
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
      // Commands whose features arrive later answer with a beep.
      MessageBeep(0);
      break;
  }
}

}  // namespace quillo
