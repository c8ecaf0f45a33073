#include "wic_probe.h"

namespace quillo::test {

bool ProbeFile(const std::string& path, FileProbe& probe) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IWICImagingFactory* factory = nullptr;
  IWICBitmapDecoder* decoder = nullptr;
  IWICBitmapFrameDecode* frame = nullptr;
  IWICBitmapSource* bgra = nullptr;
  bool ok = false;
  std::wstring wide(path.begin(), path.end());
  if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory1, nullptr, CLSCTX_INPROC_SERVER,
                                 IID_IWICImagingFactory, reinterpret_cast<void**>(&factory))) &&
      SUCCEEDED(factory->CreateDecoderFromFilename(wide.c_str(), nullptr, GENERIC_READ,
                                                   WICDecodeMetadataCacheOnDemand, &decoder)) &&
      SUCCEEDED(decoder->GetContainerFormat(&probe.container)) &&
      SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(frame->GetSize(&probe.width, &probe.height)) &&
      SUCCEEDED(frame->GetPixelFormat(&probe.format)) &&
      SUCCEEDED(WICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, frame, &bgra))) {
    probe.bgra.resize(size_t(probe.width) * probe.height * 4);
    ok = SUCCEEDED(bgra->CopyPixels(nullptr, probe.width * 4, UINT(probe.bgra.size()), probe.bgra.data()));
  }
  if (bgra) bgra->Release();
  if (frame) frame->Release();
  if (decoder) decoder->Release();
  if (factory) factory->Release();
  CoUninitialize();
  return ok;
}

}  // namespace quillo::test
