// Writer of BMP files (1, 4, 8 and 24 bits, uncompressed, bottom-up).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "packed_dib.h"

namespace quillo::bxload {

// The complete file for `view`; paletted pictures get a full table of
// 2^bits entries. Empty with `error` set when the picture cannot be written
// (32 bits, or a file larger than 4 GiB).
std::vector<uint8_t> WriteBmp(const DibView& view, std::string& error);

}  // namespace quillo::bxload
