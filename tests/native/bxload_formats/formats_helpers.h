// Shared helpers of the format tests: byte strings and pixel dumps.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "outside/bxload/packed_dib.h"

namespace quillo::bxload::test {

std::vector<uint8_t> Bytes(const std::string& text);
// The picture as red, green, blue bytes, top row first; empty when the DIB is unsound.
std::vector<uint8_t> Rgb(const std::vector<uint8_t>& dib, int* width = nullptr, int* height = nullptr);
// Bit count of a packed DIB, 0 when unsound.
int BitsOf(const std::vector<uint8_t>& dib);
DibView View(const std::vector<uint8_t>& dib);
// A bottom-up DIB of `bits` (1, 4, 8, 24) whose table entries all differ and
// whose pixels vary in both directions (indices use the whole table).
std::vector<uint8_t> Patterned(int width, int height, int bits);
// The file of a picture written by `writer`, read back by `reader`: empty
// with a failure when either fails.
template <class Writer, class Reader>
std::vector<uint8_t> RoundTrip(const std::vector<uint8_t>& dib, Writer writer, Reader reader) {
  std::string error;
  const std::vector<uint8_t> file = writer(View(dib), error);
  if (file.empty()) {
    ADD_FAILURE() << error;
    return {};
  }
  auto image = reader(file.data(), file.size(), kMaxDibBytes);
  if (!image.error.empty()) ADD_FAILURE() << image.error;
  return image.dib;
}

}  // namespace quillo::bxload::test
