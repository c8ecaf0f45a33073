#include "dialog_position.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace quillo {

// atoi without its undefined behaviour on overflow: out-of-range numbers
// saturate (and are then refused by the screen check).
static int ToInt(const char* text) {
  const long long v = std::strtoll(text, nullptr, 10);
  if (v > 0x7FFFFFFF) return 0x7FFFFFFF;
  if (v < -0x7FFFFFFF) return -0x7FFFFFFF;
  return int(v);
}

std::optional<DialogPosition> ParseDialogPosition(const char* text, int screenWidth,
                                                  int screenHeight) {
  if (!text) return std::nullopt;
  const char* fields[2] = {};
  int count = 0;
  for (const char* p = text; *p && count < 2;) {
    while (*p == ' ' || *p == ',' || *p == '\t') ++p;
    if (!*p) break;
    fields[count++] = p;
    while (*p && *p != ' ' && *p != ',' && *p != '\t') ++p;
  }
  if (count < 2) return std::nullopt;
  DialogPosition pos{ToInt(fields[0]), ToInt(fields[1])};
  if (pos.x < 0 || pos.x >= screenWidth - 5 || pos.y < 0 || pos.y >= screenHeight - 5)
    return std::nullopt;
  return pos;
}

std::string FormatDialogPosition(int x, int y) {
  char text[32];
  std::snprintf(text, sizeof text, "%d,%d", x, y);
  return text;
}

}  // namespace quillo
