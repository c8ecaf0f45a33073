#include "saver_command_line.h"

#include <cctype>
#include <cstdlib>

namespace quillo::saver {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

HWND WindowNumberAt(const char* text) {
  while (IsBlank(*text) || *text == ':') ++text;
  if (!std::isdigit(static_cast<unsigned char>(*text))) return nullptr;
  return reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::strtoull(text, nullptr, 10)));
}

}  // namespace

SaverCommand ParseSaverCommandLine(const char* line) {
  while (IsBlank(*line)) ++line;
  if (*line == '/' || *line == '-') ++line;
  const HWND window = *line ? WindowNumberAt(line + 1) : nullptr;
  switch (std::tolower(static_cast<unsigned char>(*line))) {
    case 'c': return {SaverMode::Settings, window};
    case 's': return {SaverMode::FullScreen, nullptr};
    case 'p': return {SaverMode::Preview, window};
    case 'a': return {SaverMode::ChangePassword, window};
    default: return {SaverMode::UnownedSettings, nullptr};
  }
}

}  // namespace quillo::saver
