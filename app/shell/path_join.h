// Bounded path building. Every path the program puts together goes through
// here, so an over-long one is refused (and the caller takes its ordinary
// failure road) instead of overrunning a fixed buffer.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quillo {

// Longest path the program handles: MAX_PATH less the terminating zero.
constexpr size_t kMaxPathChars = 259;

// dir + "\" + name (no separator added when dir is empty or already ends in
// "\" or "/"); nullopt when the result would exceed `limit` characters.
std::optional<std::string> JoinPath(std::string_view dir, std::string_view name,
                                    size_t limit = kMaxPathChars);

// The same into a caller's buffer of `capacity` bytes (terminating zero
// included). Returns false, leaving out[0] = 0, when it does not fit.
bool JoinPathInto(char* out, size_t capacity, std::string_view dir, std::string_view name);

// The directory part of a path: everything before its last backslash (or
// slash), keeping the backslash of a drive root ("C:\"); empty when there
// is none.
std::string_view DirectoryOf(std::string_view path);

}  // namespace quillo
