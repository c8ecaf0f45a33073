#include "package_names.h"

#include <cctype>

namespace quillo::package {

namespace {

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

bool AllDigits(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

}  // namespace

bool IsPackageMemberFile(std::string_view name, std::string_view fileName) {
  if (name.empty() || fileName.size() <= name.size() || !SameText(fileName.substr(0, name.size()), name))
    return false;
  const std::string_view rest = fileName.substr(name.size());
  if (SameText(rest, ".bexa") || SameText(rest, ".SSD") || SameText(rest, ".Prm")) return true;
  // "(k).bexa"
  constexpr std::string_view kExtraTail = ").bexa";
  if (rest.size() < 1 + kExtraTail.size() || rest.front() != '(') return false;
  if (!SameText(rest.substr(rest.size() - kExtraTail.size()), kExtraTail)) return false;
  return AllDigits(rest.substr(1, rest.size() - 1 - kExtraTail.size()));
}

}  // namespace quillo::package
