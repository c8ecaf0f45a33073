// The two file primitives packages and gifts are written with. Neither ever
// leaves a damaged file behind: the bytes go to a temporary file beside the
// destination, which replaces it only when every read, write, flush and
// close succeeded.
#pragma once
#include <cstddef>

namespace quillo {

// Copies `source` to `destination` in 30000-byte blocks. The source is
// opened first, so a missing source never touches the destination. 1 on
// success, 0 on failure. A source of 0 bytes gives an empty destination.
int CopyFileChunked(const char* destination, const char* source);

// Writes `size` bytes at `data` as the whole of `path`. 1 on success.
int WriteBufferToFile(const void* data, size_t size, const char* path);

}  // namespace quillo
