#include "codec_options.h"

#include <commctrl.h>

#include <cstdio>

#include "bxload_ids.h"

namespace quillo::bxload {

namespace {

constexpr char kProfile[] = "bexadbms.ini";
constexpr char kSection[] = "Codec";

CodecSettings& State() {
  static CodecSettings settings;
  static bool loaded = false;
  if (!loaded) {
    loaded = true;
    const int q = int(GetPrivateProfileIntA(kSection, "JPEGQuality", settings.jpegQuality, kProfile));
    settings.jpegQuality = q < 1 ? 1 : q > 100 ? 100 : q;
    settings.tiffCompress = GetPrivateProfileIntA(kSection, "TIFFCompress", 1, kProfile) != 0;
  }
  return settings;
}

void Store(const char* key, int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", value);
  WritePrivateProfileStringA(kSection, key, text, kProfile);
}

// JPEG dialog: the edit box holds the quality; the trackbar follows it and
// moving the trackbar writes the edit box.
INT_PTR CALLBACK JpegProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  static bool syncing = false;
  switch (message) {
    case WM_INITDIALOG: {
      HWND bar = GetDlgItem(dialog, IDC_JPEG_QUALITY_BAR);
      SendMessageA(bar, TBM_SETRANGE, FALSE, MAKELPARAM(1, 100));
      SendMessageA(bar, TBM_SETTICFREQ, 10, 0);
      SendMessageA(bar, TBM_SETPOS, TRUE, State().jpegQuality);
      SendDlgItemMessageA(dialog, IDC_JPEG_QUALITY, EM_LIMITTEXT, 3, 0);
      syncing = true;
      SetDlgItemInt(dialog, IDC_JPEG_QUALITY, UINT(State().jpegQuality), FALSE);
      syncing = false;
      return TRUE;
    }
    case WM_HSCROLL:
      if (reinterpret_cast<HWND>(lParam) == GetDlgItem(dialog, IDC_JPEG_QUALITY_BAR) && !syncing) {
        syncing = true;
        const LRESULT pos = SendMessageA(reinterpret_cast<HWND>(lParam), TBM_GETPOS, 0, 0);
        SetDlgItemInt(dialog, IDC_JPEG_QUALITY, UINT(pos), FALSE);
        syncing = false;
      }
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_JPEG_QUALITY:
          if (HIWORD(wParam) == EN_CHANGE && !syncing) {
            BOOL ok = FALSE;
            const UINT q = GetDlgItemInt(dialog, IDC_JPEG_QUALITY, &ok, FALSE);
            if (ok && q >= 1 && q <= 100) {
              syncing = true;
              SendDlgItemMessageA(dialog, IDC_JPEG_QUALITY_BAR, TBM_SETPOS, TRUE, LPARAM(q));
              syncing = false;
            }
          }
          return TRUE;
        case IDOK: {
          BOOL ok = FALSE;
          const UINT q = GetDlgItemInt(dialog, IDC_JPEG_QUALITY, &ok, FALSE);
          if (!ok || q < 1 || q > 100) {  // keep the dialog open on an unusable entry
            MessageBeep(MB_ICONWARNING);
            SetFocus(GetDlgItem(dialog, IDC_JPEG_QUALITY));
            return TRUE;
          }
          State().jpegQuality = int(q);
          Store("JPEGQuality", int(q));
          EndDialog(dialog, 1);
          return TRUE;
        }
        case IDCANCEL:
          EndDialog(dialog, 0);
          return TRUE;
      }
      break;
  }
  return FALSE;
}

INT_PTR CALLBACK TiffProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      CheckDlgButton(dialog, IDC_TIFF_COMPRESS, State().tiffCompress ? BST_CHECKED : BST_UNCHECKED);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        State().tiffCompress = IsDlgButtonChecked(dialog, IDC_TIFF_COMPRESS) == BST_CHECKED;
        Store("TIFFCompress", State().tiffCompress ? 1 : 0);
        EndDialog(dialog, 1);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, 0);
        return TRUE;
      }
      break;
  }
  return FALSE;
}

BOOL Run(HINSTANCE module, HWND owner, int id, DLGPROC proc) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  return DialogBoxParamA(module, MAKEINTRESOURCEA(id), owner, proc, 0) == 1;
}

}  // namespace

const CodecSettings& Settings() { return State(); }

BOOL RunJpegDialog(HINSTANCE module, HWND owner) {
  return Run(module, owner, IDD_JPEG_OPTIONS, JpegProc);
}

BOOL RunTiffDialog(HINSTANCE module, HWND owner) {
  return Run(module, owner, IDD_TIFF_OPTIONS, TiffProc);
}

}  // namespace quillo::bxload
