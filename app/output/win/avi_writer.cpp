#include "avi_writer.h"

#include "app/output/capture_rules.h"

namespace quillo {

BITMAPINFOHEADER CaptureSampleFormat(const BITMAPINFOHEADER& first, int width, int height) {
  BITMAPINFOHEADER format = first;
  format.biSize = sizeof(BITMAPINFOHEADER);
  format.biWidth = width;
  format.biHeight = height;
  format.biPlanes = 1;
  format.biBitCount = 24;
  format.biCompression = BI_RGB;
  format.biSizeImage = 0;
  format.biXPelsPerMeter = 0;
  format.biYPelsPerMeter = 0;
  format.biClrUsed = 0;
  format.biClrImportant = 0;
  return format;
}

bool AviWriter::Open(const char* path, const BITMAPINFOHEADER& format, LONG frameBytes, HWND owner) {
  Close();
  AVIFileInit();
  session_ = true;
  if (AVIFileOpenA(&file_, path, OF_WRITE | OF_CREATE, nullptr) != AVIERR_OK) {
    file_ = nullptr;
    Close();
    return false;
  }
  AVISTREAMINFOA info = {};
  info.fccType = streamtypeVIDEO;
  info.fccHandler = 0;
  info.dwScale = 1;
  info.dwRate = kCaptureRate;
  info.dwSuggestedBufferSize = DWORD(frameBytes);
  SetRect(&info.rcFrame, 0, 0, format.biWidth, format.biHeight);
  if (AVIFileCreateStreamA(file_, &stream_, &info) != AVIERR_OK) {
    stream_ = nullptr;
    Close();
    return false;
  }
  options_ = {};
  AVICOMPRESSOPTIONS* chosen[1] = {&options_};
  optionsChosen_ = true;  // freed by Close whatever the dialog answers
  if (!AVISaveOptions(owner, 0, 1, &stream_, chosen)) {
    Close();
    return false;
  }
  if (AVIMakeCompressedStream(&compressed_, stream_, &options_, nullptr) != AVIERR_OK) {
    compressed_ = nullptr;
    Close();
    return false;
  }
  BITMAPINFOHEADER header = format;
  if (AVIStreamSetFormat(compressed_, 0, &header, sizeof header) != AVIERR_OK) {
    Close();
    return false;
  }
  return true;
}

bool AviWriter::Write(LONG position, const void* bits, LONG bytes) {
  if (!compressed_) return false;
  return AVIStreamWrite(compressed_, position, 1, const_cast<void*>(bits), bytes, AVIIF_KEYFRAME,
                        nullptr, nullptr) == AVIERR_OK;
}

void AviWriter::Close() {
  if (compressed_) AVIStreamRelease(compressed_);
  if (stream_) AVIStreamRelease(stream_);
  if (file_) AVIFileRelease(file_);
  compressed_ = stream_ = nullptr;
  file_ = nullptr;
  if (optionsChosen_) {
    AVICOMPRESSOPTIONS* chosen[1] = {&options_};
    AVISaveOptionsFree(1, chosen);
    optionsChosen_ = false;
  }
  if (session_) AVIFileExit();
  session_ = false;
}

}  // namespace quillo
