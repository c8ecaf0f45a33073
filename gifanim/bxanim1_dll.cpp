// BXAnim1.DLL: reads a GIF file, decodes it with the portable kernel and
// hands every image back as a palettised DIB of the logical screen size.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "contracts/dib_format.h"
#include "contracts/dib_services.h"
#include "contracts/gif_animation.h"
#include "gif_decode.h"
#include "gif_frames.h"

namespace {

// Files above this size are refused before reading.
constexpr uint64_t kMaxFileBytes = uint64_t{1} << 30;
// All frame DIBs together stay below this many bytes; frames beyond it are
// not added, as when a DIB cannot be created.
constexpr uint64_t kMaxDibBytes = uint64_t{1} << 29;

bool ReadWholeFile(LPCSTR path, std::vector<uint8_t>& out) {
  HANDLE h = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size;
  bool ok = GetFileSizeEx(h, &size) && size.QuadPart >= 0 &&
            static_cast<uint64_t>(size.QuadPart) <= kMaxFileBytes;
  if (ok) {
    try {
      out.resize(static_cast<std::size_t>(size.QuadPart));
    } catch (const std::bad_alloc&) {
      ok = false;
    }
  }
  std::size_t done = 0;
  while (ok && done < out.size()) {
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(out.size() - done, 1u << 24));
    if (!ReadFile(h, out.data() + done, want, &got, nullptr) || got == 0) ok = false;
    done += got;
  }
  CloseHandle(h);
  return ok;
}

// Creates the frame DIB and fills its colour table and pixels.
HGLOBAL BuildFrameDib(const gifanim::GifImage& img, const gifanim::GifFrame& f, int bit_count) {
  HGLOBAL dib = CreateDIB(img.screen_width, img.screen_height, bit_count);
  if (!dib) return nullptr;
  auto* base = static_cast<uint8_t*>(GlobalLock(dib));
  if (!base) {
    DestroyDIB(dib);
    return nullptr;
  }
  const uint64_t block = GlobalSize(dib);
  quillo::DibHeader hdr;
  std::memcpy(&hdr, base, sizeof hdr);
  const int entries = DIBNumColors(reinterpret_cast<LPCSTR>(base));
  gifanim::FillColourTable(f, base + hdr.size, entries);
  auto* bits = reinterpret_cast<uint8_t*>(FindDIBBits(reinterpret_cast<LPSTR>(base)));
  const uint64_t offset = static_cast<uint64_t>(bits - base);
  const uint64_t stride = static_cast<uint64_t>(quillo::DibStride(img.screen_width, bit_count));
  bool ok = offset <= block &&
            gifanim::PlaceFrame(f, bits, block - offset, stride, img.screen_width,
                                img.screen_height, bit_count);
  GlobalUnlock(dib);
  if (!ok) {
    DestroyDIB(dib);
    return nullptr;
  }
  return dib;
}

void FreeFrames(GifFrame* frames, LONG count) {
  for (LONG i = 0; i < count; ++i) {
    GifFrame& fr = frames[i];
    if (fr.gdiObject) DeleteObject(fr.gdiObject);
    if (fr.dib) DestroyDIB(fr.dib);
    if (fr.memory) {
      GlobalUnlock(fr.memory);
      GlobalFree(fr.memory);
    }
  }
  HeapFree(GetProcessHeap(), 0, frames);
}

}  // namespace

extern "C" int LoadGifEx(LPCSTR path, AnimateStruct** out) {
  if (!out) return 0;
  *out = nullptr;
  if (!path) return 0;
  std::vector<uint8_t> file;
  if (!ReadWholeFile(path, file)) return 0;
  gifanim::GifImage img;
  try {
    if (gifanim::DecodeGif(file.data(), file.size(), img) != gifanim::GifStatus::kOk) return 0;
  } catch (const std::bad_alloc&) {
    return 0;
  }
  if (img.frames.empty()) return 0;

  const int bit_count = gifanim::FrameBitCount(img);
  const uint64_t dib_bytes =
      sizeof(quillo::DibHeader) + 4u * gifanim::TableEntries(bit_count) +
      static_cast<uint64_t>(quillo::DibStride(img.screen_width, bit_count)) *
          static_cast<uint64_t>(img.screen_height);
  if (img.screen_width <= 0 || img.screen_height <= 0 || dib_bytes > kMaxDibBytes) return 0;
  const uint64_t max_frames = kMaxDibBytes / dib_bytes;
  const std::size_t wanted = static_cast<std::size_t>(
      std::min<uint64_t>(img.frames.size(), max_frames));

  auto* anim = static_cast<AnimateStruct*>(
      HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(AnimateStruct)));
  auto* frames = static_cast<GifFrame*>(
      HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(GifFrame) * wanted));
  if (!anim || !frames) {
    if (anim) HeapFree(GetProcessHeap(), 0, anim);
    if (frames) HeapFree(GetProcessHeap(), 0, frames);
    return 0;
  }
  anim->screenWidth = img.screen_width;
  anim->screenHeight = img.screen_height;
  anim->colourResolution = img.colour_resolution;
  anim->globalTableSize = img.global_table_size;
  anim->globalCount = img.global_count;

  LONG count = 0;
  for (std::size_t i = 0; i < wanted; ++i) {
    const gifanim::GifFrame& f = img.frames[i];
    HGLOBAL dib = BuildFrameDib(img, f, bit_count);
    if (!dib) break;  // no further frames once a DIB cannot be made
    GifFrame& fr = frames[count++];
    fr.dib = dib;
    fr.transparent = f.transparent;
    fr.delayMs = f.delay_ms;
    fr.userInput = f.user_input;
    fr.disposal = f.disposal;
    fr.left = f.left;
    fr.top = f.top;
    fr.width = f.width;
    fr.height = f.height;
  }
  if (count == 0) {
    FreeFrames(frames, 0);
    HeapFree(GetProcessHeap(), 0, anim);
    return 0;
  }
  anim->frames = frames;
  anim->frameCount = count;
  *out = anim;
  return count;
}

extern "C" void FreeAnimateStruct(AnimateStruct* animation) {
  if (!animation) return;
  if (animation->frames) FreeFrames(animation->frames, animation->frameCount);
  std::memset(animation, 0, sizeof *animation);
  HeapFree(GetProcessHeap(), 0, animation);
}
