#include "chooser_placement.h"

#include <string>

namespace quillo::effsaver {

namespace {

bool IsSeparator(char c) { return c == ',' || c == ' ' || c == '\t'; }

// Every run of separators becomes one comma; separators at either end go.
std::string CommaSeparated(const char* text) {
  std::string out;
  bool pending = false;
  for (const char* p = text; *p; ++p) {
    if (IsSeparator(*p)) {
      pending = !out.empty();
      continue;
    }
    if (pending) out += ',';
    pending = false;
    out += *p;
  }
  return out;
}

}  // namespace

std::optional<BrowserPlacement> ParseChooserPlacement(const char* text, int screenWidth,
                                                      int screenHeight) {
  if (!text) return std::nullopt;
  const std::string normalised = CommaSeparated(text);
  return ParseBrowserPlacement(normalised.c_str(), screenWidth, screenHeight);
}

}  // namespace quillo::effsaver
