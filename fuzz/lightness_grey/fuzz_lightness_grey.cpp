// libFuzzer target: the lightness grey on any packed DIB (an image a
// plug-in hands over, or any opened image). The input is the whole block. A
// refused block must come back untouched; an accepted one keeps its header,
// and grey again is grey: a second pass accepts it and changes nothing.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "app/shell/mask_transform.h"
#include "contracts/dib_format.h"

using namespace quillo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // An exact-size copy, so a read or write past the block is caught.
  std::unique_ptr<uint8_t[]> dib(new uint8_t[size]);
  if (size) std::memcpy(dib.get(), data, size);
  if (!LightnessGreyDib(dib.get(), size)) {
    if (size && std::memcmp(dib.get(), data, size) != 0) __builtin_trap();
    return 0;
  }
  if (std::memcmp(dib.get(), data, sizeof(DibHeader)) != 0) __builtin_trap();
  std::unique_ptr<uint8_t[]> again(new uint8_t[size]);
  std::memcpy(again.get(), dib.get(), size);
  if (!LightnessGreyDib(again.get(), size)) __builtin_trap();
  if (std::memcmp(again.get(), dib.get(), size) != 0) __builtin_trap();
  return 0;
}
