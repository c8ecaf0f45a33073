#include "engine_path.h"

#include <cctype>

namespace quillo::bxsaver {

namespace {

bool IsSlash(char c) { return c == '\\' || c == '/'; }

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

// Length of the root: "C:\" or "\\server\share\"; 0 when not absolute.
size_t RootLength(std::string_view path) {
  if (path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' &&
      IsSlash(path[2]))
    return 3;
  if (path.size() >= 2 && IsSlash(path[0]) && IsSlash(path[1])) {
    const size_t server = path.find_first_of("\\/", 2);
    if (server == std::string_view::npos || server == 2) return 0;
    const size_t share = path.find_first_of("\\/", server + 1);
    if (share == std::string_view::npos || share == server + 1) return 0;
    return share + 1;
  }
  return 0;
}

}  // namespace

bool IsEnginePath(std::string_view path) {
  const size_t root = RootLength(path);
  if (root == 0) return false;
  std::string_view rest = path.substr(root);
  if (rest.empty() || IsSlash(rest.back())) return false;
  std::string_view last;
  while (!rest.empty()) {
    const size_t slash = rest.find_first_of("\\/");
    last = rest.substr(0, slash);
    if (last.empty() || last == "." || last == "..") return false;
    if (last.find(':') != std::string_view::npos) return false;
    rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
  }
  return SameIgnoringCase(last, kEngineFileName);
}

std::optional<std::string> EngineFolder(std::string_view path) {
  if (!IsEnginePath(path)) return std::nullopt;
  const size_t slash = path.find_last_of("\\/");
  std::string folder(path.substr(0, slash));
  // A drive root keeps its backslash ("C:\"), which is the folder's name.
  if (folder.size() == 2 && folder[1] == ':') folder += '\\';
  return folder;
}

}  // namespace quillo::bxsaver
