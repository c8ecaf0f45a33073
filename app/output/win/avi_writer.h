// One video stream of an AVI file written through AVIFile: the file, its
// stream, the compressed stream made with the codec the user picks in the
// system's compression dialog, and the frames written one sample at a time.
#pragma once
#include <windows.h>
#include <vfw.h>

#include <cstdint>

namespace quillo {

// The sample format of a capture: `first` (a frame's header) with the output
// size, 1 plane, 24 bits, no compression, and image size, resolution and
// colour counts 0; always 40 bytes, no colour table.
BITMAPINFOHEADER CaptureSampleFormat(const BITMAPINFOHEADER& first, int width, int height);

class AviWriter {
 public:
  AviWriter() = default;
  ~AviWriter() { Close(); }
  AviWriter(const AviWriter&) = delete;
  AviWriter& operator=(const AviWriter&) = delete;

  // Creates the file at `path` with one video stream ("vids", handler 0,
  // 5 samples per second, suggested buffer `frameBytes`, frame rectangle of
  // the format's size), lets the user pick the codec (dialog owned by
  // `owner`; cancelling fails) and sets the sample format. Any failure
  // releases whatever was made and answers false.
  bool Open(const char* path, const BITMAPINFOHEADER& format, LONG frameBytes, HWND owner);
  // Writes one key-frame sample of `bytes` bytes at `position`.
  bool Write(LONG position, const void* bits, LONG bytes);
  // Releases the compressed stream, the stream and the file (the file is
  // complete then) and ends the AVIFile session Open began. Safe to repeat.
  void Close();
  bool opened() const { return compressed_ != nullptr; }

 private:
  bool session_ = false;
  PAVIFILE file_ = nullptr;
  PAVISTREAM stream_ = nullptr;
  PAVISTREAM compressed_ = nullptr;
  AVICOMPRESSOPTIONS options_ = {};
  bool optionsChosen_ = false;
};

}  // namespace quillo
