// libFuzzer target: the any-map, wireless bitmap and targa readers on the
// same arbitrary bytes. Whatever a reader accepts must be a sound DIB that
// the matching writer (targa for all, wireless bitmap for 1-bit) accepts.
#include <cstddef>
#include <cstdint>
#include <string>

#include "outside/bxload/pnm_codec.h"
#include "outside/bxload/tga_codec.h"
#include "outside/bxload/wbmp_codec.h"

namespace {

void Check(const std::vector<uint8_t>& dib) {
  using namespace quillo::bxload;
  if (dib.empty()) return;
  DibView view;
  std::string error;
  if (!ParseDib(dib.data(), dib.size(), view, error)) __builtin_trap();
  if (view.width <= 65535 && view.height <= 65535 && WriteTga(view, error).empty()) __builtin_trap();
  if (view.bitCount == 1 && WriteWbmp(view, error).empty()) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quillo::bxload;
  constexpr uint64_t kLimit = uint64_t(8) << 20;
  Check(ReadPnm(data, size, kLimit).dib);
  Check(ReadWbmp(data, size, kLimit).dib);
  Check(ReadTga(data, size, kLimit).dib);
  return 0;
}
