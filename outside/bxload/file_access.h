// Reading a whole file for the codec kernels.
#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

namespace quillo::bxload {

// The bytes of `path`, refusing files above `maxBytes`. False when the file
// cannot be opened or read completely.
bool ReadWholeFile(const char* path, uint64_t maxBytes, std::vector<uint8_t>& bytes);

// A new movable block (GHND) holding a copy of `bytes`, or 0.
HGLOBAL GlobalCopy(const std::vector<uint8_t>& bytes);

}  // namespace quillo::bxload
