// Decoding the first frame of a WIC-readable file into a packed 24-bit DIB.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "com_support.h"
#include "outside/bxload/packed_dib.h"
#include "wic_codec.h"

namespace quillo::wic {

namespace {

void Report(char* error, size_t errorSize, const char* text) {
  if (!error || errorSize == 0) return;
  std::strncpy(error, text, errorSize - 1);
  error[errorSize - 1] = '\0';
}

}  // namespace

HGLOBAL LoadDib(const char* path, char* error, size_t errorSize) {
  if (!path || !*path) {
    Report(error, errorSize, "No file name was given.");
    return nullptr;
  }
  const DWORD attributes = GetFileAttributesA(path);
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    Report(error, errorSize, "The file does not exist.");
    return nullptr;
  }
  ComScope com;
  ComPtr<IWICImagingFactory> factory;
  if (com.usable()) factory = CreateFactory();
  if (!factory) {
    Report(error, errorSize, "The imaging component of Windows is not available.");
    return nullptr;
  }
  const std::wstring wide = Widen(path);
  ComPtr<IWICBitmapDecoder> decoder;
  ComPtr<IWICBitmapFrameDecode> frame;
  if (FAILED(factory->CreateDecoderFromFilename(wide.c_str(), nullptr, GENERIC_READ,
                                                WICDecodeMetadataCacheOnDemand, decoder.out())) ||
      FAILED(decoder->GetFrame(0, frame.out()))) {
    Report(error, errorSize, "The file is not a picture that can be read.");
    return nullptr;
  }
  UINT width = 0, height = 0;
  if (FAILED(frame->GetSize(&width, &height)) || width == 0 || height == 0 ||
      width > INT32_MAX || height > INT32_MAX) {
    Report(error, errorSize, "The picture has no pixels.");
    return nullptr;
  }
  const int64_t stride = Stride24(width);
  const uint64_t rowsBytes = uint64_t(stride) * height;
  if (rowsBytes > bxload::kMaxDibBytes || rowsBytes > UINT_MAX) {
    Report(error, errorSize, "The picture is too large.");
    return nullptr;
  }
  // A decoder that delivers 24-bit BGR (JPEG colour pictures) is read as it
  // is, straight into the rows. Every other format converts to 32-bit BGRA
  // (not all convert to 24-bit directly); the fourth byte is dropped while
  // packing the rows.
  WICPixelFormatGUID native = {};
  const bool direct = SUCCEEDED(frame->GetPixelFormat(&native)) && native == GUID_WICPixelFormat24bppBGR;
  ComPtr<IWICBitmapSource> bgra;
  if (!direct && FAILED(WICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, frame.get(), bgra.out()))) {
    Report(error, errorSize, "The picture's pixel format cannot be converted.");
    return nullptr;
  }
  const UINT pixelBytes = direct ? 3 : 4;
  IWICBitmapSource* source = direct ? static_cast<IWICBitmapSource*>(frame.get()) : bgra.get();
  HGLOBAL dib = GlobalAlloc(GHND, SIZE_T(sizeof(DibHeader) + rowsBytes));
  if (!dib) {
    Report(error, errorSize, "There is not enough memory for the picture.");
    return nullptr;
  }
  auto* base = static_cast<uint8_t*>(GlobalLock(dib));
  DibHeader header{};
  header.size = sizeof header;
  header.width = int32_t(width);
  header.height = int32_t(height);
  header.planes = 1;
  header.bitCount = 24;
  header.compression = kDibRgb;
  header.sizeImage = uint32_t(rowsBytes);
  header.xPelsPerMeter = header.yPelsPerMeter = 2835;
  std::memcpy(base, &header, sizeof header);
  uint8_t* bits = base + sizeof header;
  // Bands of rows, top-down from WIC, stored bottom-up in the DIB.
  const UINT rowBytes = width * pixelBytes;
  const UINT bandRows = UINT(std::max<uint64_t>(1, (uint64_t(4) << 20) / rowBytes));
  std::vector<uint8_t> band(size_t(std::min<uint64_t>(bandRows, height)) * rowBytes);
  HRESULT hr = S_OK;
  for (UINT top = 0; top < height && SUCCEEDED(hr); top += bandRows) {
    const UINT rows = std::min(bandRows, height - top);
    const WICRect rect{0, INT(top), INT(width), INT(rows)};
    hr = source->CopyPixels(&rect, rowBytes, UINT(size_t(rows) * rowBytes), band.data());
    for (UINT r = 0; r < rows && SUCCEEDED(hr); ++r) {
      const uint8_t* src = band.data() + size_t(r) * rowBytes;
      uint8_t* dst = bits + stride * (int64_t(height) - 1 - (top + r));
      if (direct) {
        std::memcpy(dst, src, rowBytes);
        continue;
      }
      for (UINT x = 0; x < width; ++x, src += 4, dst += 3) {
        dst[0] = src[0];
        dst[1] = src[1];
        dst[2] = src[2];
      }
    }
  }
  GlobalUnlock(dib);
  if (FAILED(hr)) {
    GlobalFree(dib);
    Report(error, errorSize, "The picture data is damaged.");
    return nullptr;
  }
  return dib;
}

}  // namespace quillo::wic
