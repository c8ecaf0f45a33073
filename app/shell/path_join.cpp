#include "path_join.h"

#include <cstring>

namespace quillo {

static bool NeedsSeparator(std::string_view dir) {
  return !dir.empty() && dir.back() != '\\' && dir.back() != '/';
}

std::optional<std::string> JoinPath(std::string_view dir, std::string_view name, size_t limit) {
  const size_t length = dir.size() + (NeedsSeparator(dir) ? 1 : 0) + name.size();
  if (length > limit) return std::nullopt;
  std::string path;
  path.reserve(length);
  path.append(dir);
  if (NeedsSeparator(dir)) path.push_back('\\');
  path.append(name);
  return path;
}

bool JoinPathInto(char* out, size_t capacity, std::string_view dir, std::string_view name) {
  if (!out || capacity == 0) return false;
  out[0] = 0;
  const std::optional<std::string> path = JoinPath(dir, name, capacity - 1);
  if (!path) return false;
  std::memcpy(out, path->c_str(), path->size() + 1);
  return true;
}

std::string_view DirectoryOf(std::string_view path) {
  const size_t cut = path.find_last_of("\\/");
  if (cut == std::string_view::npos) return {};
  // "C:\x.bmp" lies in "C:\", the root, not in "C:" (the drive's current folder).
  if (cut > 0 && path[cut - 1] == ':') return path.substr(0, cut + 1);
  return path.substr(0, cut);
}

}  // namespace quillo
