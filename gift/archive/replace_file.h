// Writing a whole file so that a failure never damages the old one: the
// bytes go to a new, uniquely named temporary file in the same folder, which
// replaces the old file only after every write, flush and close succeeded.
// On failure the temporary file is removed and the old file is as it was.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace quillo::gift {

bool WriteFileReplacing(const std::string& path, const uint8_t* data, size_t size);

}  // namespace quillo::gift
