#include "member_name.h"

#include "app/host/effect_record.h"

#include <array>

namespace quillo::gift {
namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool IsDeviceName(std::string_view name) {
  // The device part ends at the first dot: "nul.txt" is the device too.
  const std::string_view stem = name.substr(0, name.find('.'));
  static constexpr std::array<std::string_view, 4> kPlain = {"con", "prn", "aux", "nul"};
  for (std::string_view device : kPlain)
    if (SameMemberName(stem, device)) return true;
  if (stem.size() == 4 && stem[3] >= '1' && stem[3] <= '9') {
    const std::string_view prefix = stem.substr(0, 3);
    if (SameMemberName(prefix, "com") || SameMemberName(prefix, "lpt")) return true;
  }
  return false;
}

}  // namespace

bool IsSafeMemberName(std::string_view name) {
  if (!IsBareFileName(name) || name.size() > 255) return false;
  for (char c : name)
    if (static_cast<unsigned char>(c) < 0x20 || std::string_view("<>\"|?*").find(c) != std::string_view::npos)
      return false;
  if (name.back() == '.' || name.back() == ' ') return false;
  return !IsDeviceName(name);
}

bool SameMemberName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

std::string MemberNameKey(std::string_view name) {
  std::string key(name);
  for (char& c : key) c = Lower(c);
  return key;
}

}  // namespace quillo::gift
