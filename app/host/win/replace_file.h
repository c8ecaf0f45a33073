// Writing a whole file so that a failure never damages the old one: the
// bytes go to a temporary file in the same folder, which replaces the old
// file only after every write, flush and close succeeded.
#pragma once
#include <cstddef>

namespace quillo {

bool ReplaceFileContents(const char* path, const void* data, size_t size);

}  // namespace quillo
