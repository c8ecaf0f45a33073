#include "open_image.h"

#include <cstdio>
#include <cstring>

#include "app/shell/app_state.h"
#include "app/shell/document_window.h"
#include "app/shell/resource_ids.h"
#include "contracts/dib_services.h"
#include "contracts/image_codecs.h"
#include "frame_window.h"
#include "thumbnail_pane.h"

namespace quillo {

namespace {

void ShowSize(HGLOBAL image) {
  auto* dib = static_cast<char*>(GlobalLock(image));
  if (!dib) return;
  char text[80];
  std::snprintf(text, sizeof text, "Width = %ld Height = %ld", long(DIBWidth(dib)), long(DIBHeight(dib)));
  GlobalUnlock(image);
  SetStatusText(text);
}

// A true-colour version of `loaded`, freeing the original when a new handle
// came back; null (with `loaded` freed) when the conversion fails.
HGLOBAL ToTrueColour(HGLOBAL loaded) {
  HGLOBAL converted = TrueColorDIB(loaded);
  if (converted != loaded) DestroyDIB(loaded);
  return converted;
}

}  // namespace

HWND OpenImageHandle(HGLOBAL image, const char* title) {
  if (!image) return nullptr;
  HWND document = CreateDocumentWindow(title);
  if (!document || !SetDocumentImage(document, image, nullptr)) {
    if (document) SendMessageA(g_app.mdiClient, WM_MDIDESTROY, WPARAM(document), 0);
    else DestroyDIB(image);
    MessageBeep(0);
    return nullptr;
  }
  ShowSize(image);
  RefreshThumbnails();
  RefreshToolButtons();
  return document;
}

HWND OpenImageFile(HWND owner, const char* path) {
  if (!path || !*path) return nullptr;
  HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  HGLOBAL loaded = LoadDIB(path);
  HGLOBAL image = loaded ? ToTrueColour(loaded) : nullptr;
  SetCursor(previous);
  if (!image) {
    MessageBoxA(owner, LoadResString(IDS_CANNOT_OPEN), path,
                MB_OK | MB_ICONINFORMATION | MB_SYSTEMMODAL);
    return nullptr;
  }
  EnterRecentFileAndMenu(path);
  return OpenImageHandle(image, path);
}

}  // namespace quillo
