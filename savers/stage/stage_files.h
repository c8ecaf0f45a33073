// Reading the small files of a package whole: records, parameter blocks.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace quillo::stage {

// The whole of `path` into `out` when the file holds exactly `exactSize`
// bytes (when not 0), or at most `maxSize` bytes (when exactSize is 0).
// False, with `out` empty, otherwise or when it cannot be read.
bool ReadWholeFile(const std::string& path, uint64_t exactSize, uint64_t maxSize, std::vector<uint8_t>& out);

}  // namespace quillo::stage
