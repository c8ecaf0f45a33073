// Encoding a packed DIB as JPEG, PNG, TIFF or BMP through WIC.
#include <cstring>
#include <string>
#include <vector>

#include "com_support.h"
#include "outside/bxload/packed_dib.h"
#include "replace_file.h"
#include "wic_codec.h"

namespace quillo::wic {

namespace {

using bxload::DibView;

void Report(char* error, size_t errorSize, const std::string& text) {
  if (!error || errorSize == 0) return;
  std::strncpy(error, text.c_str(), errorSize - 1);
  error[errorSize - 1] = '\0';
}

const GUID& ContainerGuid(Container c) {
  switch (c) {
    case Container::Jpeg: return GUID_ContainerFormatJpeg;
    case Container::Png: return GUID_ContainerFormatPng;
    case Container::Tiff: return GUID_ContainerFormatTiff;
    default: return GUID_ContainerFormatBmp;
  }
}

// The pixels handed to the encoder: top-down rows in `format`.
struct EncoderPixels {
  WICPixelFormatGUID format{};
  UINT stride = 0;
  std::vector<uint8_t> rows;
  std::vector<WICColor> palette;
};

bool PreparePixels(const DibView& view, Container c, const BYTE* alpha, EncoderPixels& out) {
  const bool paletted = view.bitCount <= 8 && c != Container::Jpeg;
  const bool withAlpha = !paletted && alpha && (c == Container::Png || c == Container::Tiff);
  const int bits = paletted ? view.bitCount : withAlpha ? 32 : 24;
  const int64_t stride = DibStride(view.width, bits);
  const uint64_t total = uint64_t(stride) * uint64_t(view.height);
  if (total > bxload::kMaxDibBytes) return false;
  out.stride = UINT(stride);
  out.rows.assign(size_t(total), 0);
  if (paletted) {
    out.format = bits == 1 ? GUID_WICPixelFormat1bppIndexed
               : bits == 4 ? GUID_WICPixelFormat4bppIndexed
                           : GUID_WICPixelFormat8bppIndexed;
    for (int i = 0; i < (1 << bits); ++i) {
      const DibColour col = view.Colour(i);
      out.palette.push_back(0xFF000000u | WICColor(col.red) << 16 | WICColor(col.green) << 8 | col.blue);
    }
    const size_t rowBytes = size_t((int64_t(view.width) * bits + 7) / 8);
    for (int y = 0; y < view.height; ++y)
      std::memcpy(out.rows.data() + stride * y, view.Row(y), rowBytes);
    return true;
  }
  out.format = withAlpha ? GUID_WICPixelFormat32bppBGRA : GUID_WICPixelFormat24bppBGR;
  for (int y = 0; y < view.height; ++y) {
    const uint8_t* src = view.Row(y);
    uint8_t* dst = out.rows.data() + stride * y;
    for (int x = 0; x < view.width; ++x) {
      uint8_t bgr[3];
      if (view.bitCount <= 8) {
        const DibColour col = view.Colour(bxload::IndexAt(src, x, view.bitCount));
        bgr[0] = col.blue, bgr[1] = col.green, bgr[2] = col.red;
      } else {
        std::memcpy(bgr, src + int64_t(x) * (view.bitCount / 8), 3);
      }
      uint8_t* d = dst + int64_t(x) * (bits / 8);
      std::memcpy(d, bgr, 3);
      if (withAlpha) d[3] = alpha[int64_t(y) * view.width + x];
    }
  }
  return true;
}

void WriteOption(IPropertyBag2* bag, const wchar_t* name, VARIANT& value) {
  PROPBAG2 option{};
  option.pstrName = const_cast<LPOLESTR>(name);
  bag->Write(1, &option, &value);  // an encoder without the option keeps its default
}

void SetOptions(IPropertyBag2* bag, Container c, const SaveOptions& options) {
  if (!bag) return;
  VARIANT value;
  VariantInit(&value);
  if (c == Container::Jpeg) {
    const int q = options.jpegQuality < 1 ? 1 : options.jpegQuality > 100 ? 100 : options.jpegQuality;
    value.vt = VT_R4;
    value.fltVal = float(q) / 100.0f;
    WriteOption(bag, L"ImageQuality", value);
  } else if (c == Container::Tiff) {
    value.vt = VT_UI1;
    value.bVal = BYTE(options.tiffCompress ? WICTiffCompressionLZW : WICTiffCompressionNone);
    WriteOption(bag, L"TiffCompressionMethod", value);
  }
}

// Runs the encoder into the file at `path` (the temporary file).
std::string Encode(IWICImagingFactory* factory, const wchar_t* path, Container c,
                   const SaveOptions& options, const DibView& view, EncoderPixels& pixels) {
  ComPtr<IWICStream> stream;
  ComPtr<IWICBitmapEncoder> encoder;
  ComPtr<IWICBitmapFrameEncode> frame;
  ComPtr<IPropertyBag2> bag;
  if (FAILED(factory->CreateStream(stream.out())) ||
      FAILED(stream->InitializeFromFilename(path, GENERIC_WRITE)))
    return "the file cannot be created.";
  if (FAILED(factory->CreateEncoder(ContainerGuid(c), nullptr, encoder.out())) ||
      FAILED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)) ||
      FAILED(encoder->CreateNewFrame(frame.out(), bag.out())))
    return "this system has no encoder for the format.";
  SetOptions(bag.get(), c, options);
  if (FAILED(frame->Initialize(bag.get())) ||
      FAILED(frame->SetSize(UINT(view.width), UINT(view.height))) ||
      FAILED(frame->SetResolution(72.0, 72.0)))
    return "the encoder refused the picture.";
  WICPixelFormatGUID format = pixels.format;
  if (FAILED(frame->SetPixelFormat(&format)) || format != pixels.format)
    return "the encoder cannot store this colour depth.";
  if (!pixels.palette.empty()) {
    ComPtr<IWICPalette> palette;
    if (FAILED(factory->CreatePalette(palette.out())) ||
        FAILED(palette->InitializeCustom(pixels.palette.data(), UINT(pixels.palette.size()))) ||
        FAILED(frame->SetPalette(palette.get())))
      return "the encoder refused the colour table.";
  }
  if (FAILED(frame->WritePixels(UINT(view.height), pixels.stride, UINT(pixels.rows.size()),
                                pixels.rows.data())) ||
      FAILED(frame->Commit()) || FAILED(encoder->Commit()))
    return "the picture could not be written (is the disk full?).";
  return {};
}

}  // namespace

BOOL SaveDib(HGLOBAL dib, const char* path, Container container, const SaveOptions& options,
             char* error, size_t errorSize) {
  const void* base = dib ? GlobalLock(dib) : nullptr;
  if (!base) {
    Report(error, errorSize, "the picture is missing.");
    return FALSE;
  }
  DibView view;
  std::string reason;
  EncoderPixels pixels;
  const bool sound = bxload::ParseDib(static_cast<const uint8_t*>(base), GlobalSize(dib), view, reason);
  const bool prepared = sound && PreparePixels(view, container, options.alphaMask, pixels);
  if (!prepared && sound) reason = "the picture is too large.";
  if (!prepared) {
    GlobalUnlock(dib);
    Report(error, errorSize, reason);
    return FALSE;
  }
  ComScope com;
  ComPtr<IWICImagingFactory> factory;
  if (com.usable()) factory = CreateFactory();
  if (!factory) {
    GlobalUnlock(dib);
    Report(error, errorSize, "the imaging component of Windows is not available.");
    return FALSE;
  }
  ReplacingFile file(path);
  if (!file.ok()) {
    GlobalUnlock(dib);
    Report(error, errorSize, file.reason());
    return FALSE;
  }
  reason = Encode(factory.get(), Widen(file.tempPath()).c_str(), container, options, view, pixels);
  GlobalUnlock(dib);
  if (reason.empty() && !file.Commit()) reason = file.reason();
  if (!reason.empty()) {
    Report(error, errorSize, reason);
    return FALSE;
  }
  return TRUE;
}

}  // namespace quillo::wic
