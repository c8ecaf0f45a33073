// Bringing a picture to the colour depth a file is written with.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "packed_dib.h"

namespace quillo::bxload {

// A packed DIB of `view` at `depth` bits (1, 4, 8 or 24):
// a copy when it already has that depth, a 24-bit expansion, or a colour
// reduction to 2, 16 or 256 colours through IndexDIB of the DIB services.
bool ConvertToDepth(const DibView& view, int depth, std::vector<uint8_t>& out,
                    std::string& reason);

}  // namespace quillo::bxload
