// Shared helpers of the format tests: byte strings and pixel dumps.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "outside/bxload/packed_dib.h"

namespace quillo::bxload::test {

std::vector<uint8_t> Bytes(const std::string& text);
// The picture as red, green, blue bytes, top row first; empty when the DIB is unsound.
std::vector<uint8_t> Rgb(const std::vector<uint8_t>& dib, int* width = nullptr, int* height = nullptr);
// Bit count of a packed DIB, 0 when unsound.
int BitsOf(const std::vector<uint8_t>& dib);
DibView View(const std::vector<uint8_t>& dib);

}  // namespace quillo::bxload::test
