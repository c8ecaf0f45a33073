// libFuzzer target: the BMP reader on arbitrary bytes. The output limit is
// kept small so that huge RLE canvases do not dominate the run.
#include <cstddef>
#include <cstdint>
#include <string>

#include "outside/bxload/bmp_reader.h"
#include "outside/bxload/bmp_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quillo::bxload;
  BmpImage image = ReadBmp(data, size, uint64_t(8) << 20);
  if (image.dib.empty()) return 0;
  // Whatever was read must be a sound DIB that the writer accepts.
  DibView view;
  std::string error;
  if (!ParseDib(image.dib.data(), image.dib.size(), view, error)) __builtin_trap();
  if (WriteBmp(view, error).empty()) __builtin_trap();
  return 0;
}
