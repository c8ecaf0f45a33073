// BXLoad.DLL: reads and writes picture files, choosing the codec by the
// file name's extension. BMP, the any-maps, WBMP, TGA, PCX, GIF, brushes,
// patterns, XBM, XPM and WPG go through the own kernels; JPEG, PNG and TIFF
// through WIC.
#include <cstring>
#include <string>
#include <vector>

#include "bmp_reader.h"
#include "bmp_writer.h"
#include "codec_options.h"
#include "codec_table.h"
#include "contracts/image_codecs.h"
#include "depth_convert.h"
#include "file_access.h"
#include "gif_codec.h"
#include "gimp_formats.h"
#include "outside/wic/replace_file.h"
#include "pcx_codec.h"
#include "pnm_codec.h"
#include "tga_codec.h"
#include "wbmp_codec.h"
#include "wpg_codec.h"
#include "xbm_codec.h"
#include "xpm_codec.h"
#include "outside/wic/wic_codec.h"

using namespace quillo::bxload;
namespace wic = quillo::wic;

namespace {

HINSTANCE g_module = nullptr;
constexpr int kOwnDepth = -1;  // SaveDIB: the picture's own depth where the format holds it

wic::Container ContainerOf(Codec codec) {
  switch (codec) {
    case Codec::Jpeg: return wic::Container::Jpeg;
    case Codec::Png: return wic::Container::Png;
    default: return wic::Container::Tiff;
  }
}

// Writes the prepared packed DIB `pixels` to `path`; empty on success,
// otherwise the reason.
std::string WriteFormat(Codec codec, const std::vector<uint8_t>& pixels, const std::string& path,
                      const BYTE* mask) {
  std::string reason;
  if (codec != Codec::Jpeg && codec != Codec::Png && codec != Codec::Tiff) {
    DibView view;
    ParseDib(pixels.data(), pixels.size(), view, reason);
    std::vector<uint8_t> file;
    switch (codec) {
      case Codec::Bmp: file = WriteBmp(view, reason); break;
      case Codec::Wbmp: file = WriteWbmp(view, reason); break;
      case Codec::Tga: file = WriteTga(view, reason); break;
      case Codec::Pcx: file = WritePcx(view, reason); break;
      case Codec::Gif: file = WriteGif(view, reason); break;
      case Codec::Wpg: file = WriteWpg(view, reason); break;
      default: reason = "this file format cannot be written.";
    }
    if (file.empty()) return reason;
    wic::WriteFileReplacing(path.c_str(), file.data(), file.size(), reason);
    return reason;
  }
  HGLOBAL dib = GlobalCopy(pixels);
  if (!dib) return "there is not enough memory for the picture.";
  wic::SaveOptions options;
  options.jpegQuality = Settings().jpegQuality;
  options.tiffCompress = Settings().tiffCompress;
  options.alphaMask = mask;
  char error[200] = {};
  if (!wic::SaveDib(dib, path.c_str(), ContainerOf(codec), options, error, sizeof error))
    reason = error[0] ? error : "the picture could not be written.";
  GlobalFree(dib);
  return reason;
}

// Writes `dib` to `path` at `depth` (or kOwnDepth, else true colour). Empty on success, else the message
// for the user.
std::string WritePicture(HGLOBAL dib, const std::string& path, int depth, const BYTE* mask) {
  const auto failure = [&](const std::string& reason) { return WriteError(path, reason, CODEC_PATH_BUFFER); };
  if (path.empty()) return "No file name was given.";
  const std::string extension = ExtensionOf(path.c_str());
  const Codec codec = CodecForExtension(extension);
  if (codec == Codec::Unknown)
    return failure(extension.empty() ? "the file name has no extension that names a picture format."
                                     : "\"." + extension + "\" is not a picture file format.");
  const void* base = dib ? GlobalLock(dib) : nullptr;
  if (!base) return "The picture to save is missing.";
  DibView view;
  std::string reason;
  std::vector<uint8_t> pixels;
  bool ready = ParseDib(static_cast<const uint8_t*>(base), GlobalSize(dib), view, reason);
  if (!ready) reason = "The picture to save is damaged: " + reason + ".";
  if (ready && depth == kOwnDepth) depth = SaveDepth(codec, view.bitCount);
  if (ready && !DepthAllowed(codec, depth)) {
    reason = DepthRefusal(codec, depth);
    ready = false;
  }
  if (ready && !ConvertToDepth(view, depth, pixels, reason)) {
    reason = failure(reason);
    ready = false;
  }
  GlobalUnlock(dib);
  if (!ready) return reason;
  const bool alpha = depth == 24 && (codec == Codec::Png || codec == Codec::Tiff);
  reason = WriteFormat(codec, pixels, path, alpha ? mask : nullptr);
  return reason.empty() ? reason : failure(reason);
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = module;
    DisableThreadLibraryCalls(module);
  }
  return TRUE;
}

extern "C" {

HGLOBAL LoadDIB(LPCSTR path) {
  if (!path || !*path) return nullptr;
  const Codec codec = CodecForExtension(ExtensionOf(path));
  if (codec == Codec::Jpeg || codec == Codec::Png || codec == Codec::Tiff) return wic::LoadDib(path);
  if (codec == Codec::Unknown) return nullptr;
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path, 2 * kMaxDibBytes, bytes)) return nullptr;
  const uint8_t* data = bytes.data();
  const size_t size = bytes.size();
  switch (codec) {
    case Codec::Bmp: return GlobalCopy(ReadBmp(data, size).dib);
    case Codec::Pnm: return GlobalCopy(ReadPnm(data, size).dib);
    case Codec::Wbmp: return GlobalCopy(ReadWbmp(data, size).dib);
    case Codec::Tga: return GlobalCopy(ReadTga(data, size).dib);
    case Codec::Pcx: return GlobalCopy(ReadPcx(data, size).dib);
    case Codec::Gif: return GlobalCopy(ReadGif(data, size).dib);
    case Codec::Gbr: return GlobalCopy(ReadGbr(data, size).dib);
    case Codec::Pat: return GlobalCopy(ReadPat(data, size).dib);
    case Codec::Xbm: return GlobalCopy(ReadXbm(data, size).dib);
    case Codec::Xpm: return GlobalCopy(ReadXpm(data, size).dib);
    case Codec::Wpg: return GlobalCopy(ReadWpg(data, size).dib);
    default: return nullptr;
  }
}

BOOL SaveDIB(HGLOBAL dib, LPCSTR path) {
  return path && WritePicture(dib, path, kOwnDepth, nullptr).empty();
}

int ConvertDIBEx(HGLOBAL dib, int depth, LPBYTE mask, LPSTR pathBuffer) {
  if (!pathBuffer) return 0;
  // The path is taken (never beyond the buffer) before any error overwrites it.
  size_t length = 0;
  while (length < CODEC_PATH_BUFFER - 1 && pathBuffer[length]) ++length;
  const std::string path(pathBuffer, length);
  const std::string message = WritePicture(dib, path, depth, mask);
  if (message.empty()) return 1;
  const size_t n = message.size() < CODEC_PATH_BUFFER - 1 ? message.size() : CODEC_PATH_BUFFER - 1;
  std::memcpy(pathBuffer, message.data(), n);
  pathBuffer[n] = '\0';
  return 0;
}

BOOL SetupJPEGOption(HWND owner) { return RunJpegDialog(g_module, owner); }

BOOL SetupTIFFOption(HWND owner) { return RunTiffDialog(g_module, owner); }

}  // extern "C"
