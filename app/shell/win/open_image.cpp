#include "open_image.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/shell/app_state.h"
#include "app/shell/document_window.h"
#include "app/shell/dump_paths.h"
#include "app/shell/resource_ids.h"
#include "contracts/dib_services.h"
#include "contracts/gif_animation.h"
#include "contracts/image_codecs.h"
#include "frame_window.h"
#include "outside/bxdib3/dib_check.h"
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

bool WriteWholeFile(const std::string& path, const void* data, size_t size) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(file, data, DWORD(size), &written, nullptr) && written == size;
  ok = CloseHandle(file) && ok;
  return ok;
}

// The developer switches write the loaded picture beside the file in three
// raw forms. A dump whose name is the opened file's own is skipped: the
// switches never overwrite what was opened.
void RunDumpSwitches(const char* path, HGLOBAL loaded) {
  auto sameFile = [&](const std::string& target) { return lstrcmpiA(target.c_str(), path) == 0; };
  if (g_app.saveDibHandle) {
    const std::string target = ReplaceExtension(path, "di");
    if (!sameFile(target)) {
      const void* block = GlobalLock(loaded);
      if (block) WriteWholeFile(target, block, GlobalSize(loaded));
      GlobalUnlock(loaded);
    }
  }
  if (g_app.saveGrayDib || g_app.saveBmpHandle) {
    HGLOBAL copy = Duplicate24BitsDIB(loaded);
    if (!copy) return;
    if (g_app.saveGrayDib) {
      const std::string target = ReplaceExtension(path, "Gray");
      auto* dib = static_cast<char*>(GlobalLock(copy));
      if (dib && !sameFile(target)) {
        const int w = DIBWidth(dib), h = DIBHeight(dib);
        const auto grey = GreyDump(reinterpret_cast<const uint8_t*>(FindDIBBits(dib)), w, h,
                                   ((uint64_t(w) * 24 + 31) / 32) * 4);
        WriteWholeFile(target, grey.data(), grey.size());
      }
      if (dib) GlobalUnlock(copy);
    }
    if (g_app.saveBmpHandle) {
      const std::string target = BitmapDumpPath(path);
      if (!sameFile(target)) SaveDIB(copy, target.c_str());
    }
    DestroyDIB(copy);
  }
}

// Frames of an animation as the document window reads them.
int GifFrameCount(void* animation) { return static_cast<AnimateStruct*>(animation)->frameCount; }
HGLOBAL GifFrameImage(void* animation, int index) {
  auto* a = static_cast<AnimateStruct*>(animation);
  return index >= 0 && index < a->frameCount ? a->frames[index].dib : nullptr;
}
void GifRelease(void* animation) { FreeAnimateStruct(static_cast<AnimateStruct*>(animation)); }
const AnimationAccess kGifAccess = {GifFrameCount, GifFrameImage, GifRelease};

void ShowCannotOpen(HWND owner, const char* path) {
  MessageBoxA(owner, LoadResString(IDS_CANNOT_OPEN), path, MB_OK | MB_ICONINFORMATION | MB_SYSTEMMODAL);
}

// The window a picture goes to: the open dialog's window when there is one,
// otherwise a new one (*made is set then).
HWND DocumentFor(const char* title, HWND* reuse, bool* made) {
  *made = false;
  if (reuse && *reuse && IsWindow(*reuse) && RecordOf(*reuse)) {
    SetDocumentTitle(*reuse, title);
    return *reuse;
  }
  HWND document = CreateDocumentWindow(title);
  *made = document != nullptr;
  if (reuse) *reuse = document;
  return document;
}

// A picture that could not be set up in its window: the window goes again
// when this open made it, and the user hears why.
void AbandonOpen(HWND owner, const char* path, HWND document, bool made, HWND* reuse) {
  if (made && document && IsWindow(document)) {
    SendMessageA(g_app.mdiClient, WM_MDIDESTROY, WPARAM(document), 0);
    if (reuse && *reuse == document) *reuse = nullptr;
  }
  ShowCannotOpen(owner, path);
}

// Reads a GIF: one frame becomes a plain picture (returned), several play as
// an animation in their window (returns null and sets *shown). An animation
// ends the open here: it enters no recent-files entry and runs no dump
// switch, as its frames are not one picture.
HGLOBAL OpenGif(HWND owner, const char* path, HWND* reuse, HWND* shown, bool* failed) {
  AnimateStruct* animation = nullptr;
  if (LoadGifEx(path, &animation) < 1 || !animation) return nullptr;
  if (animation->frameCount == 1) {
    HGLOBAL image = animation->frames[0].dib;
    animation->frames[0].dib = nullptr;  // taken out before the record is freed
    FreeAnimateStruct(animation);
    return image;
  }
  for (int i = 0; i < animation->frameCount; ++i)
    if (!animation->frames[i].gdiObject)
      animation->frames[i].gdiObject = CreateDIBPalette(animation->frames[i].dib);
  bool made = false;
  HWND document = DocumentFor(path, reuse, &made);
  if (!document || !SetDocumentAnimation(document, animation, &kGifAccess)) {
    if (!document) FreeAnimateStruct(animation);  // otherwise released by the window
    AbandonOpen(owner, path, document, made, reuse);
    *failed = true;
    return nullptr;
  }
  ShowSize(animation->frames[0].dib);
  RefreshThumbnails();
  RefreshToolButtons();
  *shown = document;
  return nullptr;
}

}  // namespace

HGLOBAL ReadRawDibFile(const char* path) {
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  LARGE_INTEGER size = {};
  HGLOBAL block = nullptr;
  if (GetFileSizeEx(file, &size) && size.QuadPart >= 40 &&
      uint64_t(size.QuadPart) <= dib::kMaxDibBlock) {
    block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, SIZE_T(size.QuadPart));
  }
  bool ok = block != nullptr;
  if (ok) {
    auto* bytes = static_cast<uint8_t*>(GlobalLock(block));
    uint64_t at = 0;
    const uint64_t total = uint64_t(size.QuadPart);
    while (ok && at < total) {
      const DWORD chunk = DWORD(total - at < 32000 ? total - at : 32000);
      DWORD read = 0;
      ok = ReadFile(file, bytes + at, chunk, &read, nullptr) && read == chunk;
      at += read;
    }
    // The header must describe a block that fits in the file itself.
    ok = ok && dib::IsSoundDib(bytes, total);
    GlobalUnlock(block);
  }
  CloseHandle(file);
  if (!ok && block) {
    GlobalFree(block);
    block = nullptr;
  }
  return block;
}

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

HWND OpenImageFile(HWND owner, const char* path, HWND* reuse) {
  if (!path || !*path) return nullptr;
  if (g_app.frame) InvalidateRect(g_app.frame, nullptr, FALSE);
  HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  auto restore = [&] { SetCursor(previous); };
  HGLOBAL loaded = nullptr;
  switch (ReaderForPath(path)) {
    case ImageReader::kRawDib:
      loaded = ReadRawDibFile(path);
      break;
    case ImageReader::kAnimatedGif: {
      HWND shown = nullptr;
      bool failed = false;
      loaded = OpenGif(owner, path, reuse, &shown, &failed);
      if (shown || failed) {
        restore();
        return shown;
      }
      if (!loaded) {
        // The loader refused the file: no message, as for every GIF failure.
        restore();
        return nullptr;
      }
      break;
    }
    case ImageReader::kCodecLibrary:
      loaded = LoadDIB(path);
      break;
  }
  if (!loaded) {
    restore();
    ShowCannotOpen(owner, path);
    return nullptr;
  }
  EnterRecentFileAndMenu(path);
  RunDumpSwitches(path, loaded);
  HGLOBAL image = ToTrueColour(loaded);
  restore();
  if (!image) {
    ShowCannotOpen(owner, path);
    return nullptr;
  }
  bool made = false;
  HWND document = DocumentFor(path, reuse, &made);
  if (!document || !SetDocumentImage(document, image, nullptr)) {
    if (!document) DestroyDIB(image);  // otherwise freed by the window
    AbandonOpen(owner, path, document, made, reuse);
    return nullptr;
  }
  ShowSize(image);
  RefreshThumbnails();
  RefreshToolButtons();
  return document;
}

}  // namespace quillo
