#include "gift_launch.h"

#include "member_name.h"

namespace quillo::gift {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::string_view ArgumentsOf(std::string_view line) {
  size_t at = 0;
  if (!line.empty() && line[0] == '"') {
    const size_t close = line.find('"', 1);
    at = close == std::string_view::npos ? line.size() : close + 1;
  } else {
    while (at < line.size() && !IsBlank(line[at])) ++at;
  }
  while (at < line.size() && IsBlank(line[at])) ++at;
  return line.substr(at);
}

std::optional<GiftLaunch> GiftLaunchOf(std::string_view modulePath, std::string_view commandLine) {
  const size_t slash = modulePath.find_last_of("\\/:");
  const std::string_view file = slash == std::string_view::npos ? modulePath : modulePath.substr(slash + 1);
  const std::string_view base = file.substr(0, file.rfind('.'));
  if (base.empty()) return std::nullopt;
  GiftLaunch launch;
  launch.base = std::string(base);
  launch.player = "_" + launch.base + ".exe";

  std::string_view rest = ArgumentsOf(commandLine);
  while (!rest.empty()) {
    size_t end = 0;
    while (end < rest.size() && !IsBlank(rest[end])) ++end;
    if (SameMemberName(rest.substr(0, end), "/preview")) launch.preview = true;
    while (end < rest.size() && IsBlank(rest[end])) ++end;
    rest = rest.substr(end);
  }
  return launch;
}

}  // namespace quillo::gift
