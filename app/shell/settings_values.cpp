#include "settings_values.h"

#include <cstdio>
#include <string>

namespace quillo {

int ParseInt(const char*& p, bool& valid) {
  valid = false;
  while (*p == ' ' || *p == '\t') ++p;
  bool negative = false;
  if (*p == '-' || *p == '+') negative = *p++ == '-';
  long long value = 0;
  while (*p >= '0' && *p <= '9') {
    valid = true;
    if (value < 0x80000000LL) value = value * 10 + (*p - '0');
    ++p;
  }
  if (negative) value = -value;
  if (value > 0x7FFFFFFF) value = 0x7FFFFFFF;
  if (value < -0x7FFFFFFFLL - 1) value = -0x7FFFFFFFLL - 1;
  return int(value);
}

std::optional<FramePlacement> ParseWinPos(const char* text, int screenWidth, int screenHeight) {
  if (!text) return std::nullopt;
  int v[5] = {};
  int count = 0;
  const char* p = text;
  for (; count < 5; ++count) {
    bool valid = false;
    v[count] = ParseInt(p, valid);
    if (!valid) break;
  }
  if (count < 4) return std::nullopt;
  FramePlacement f{v[0], v[1], v[2], v[3], count == 5 && v[4] == 1};
  // 64-bit sums: the numbers come from a file and may be anything.
  const long long left = f.left, top = f.top, width = f.width, height = f.height;
  if (width <= 0 || height <= 0) return std::nullopt;
  if (left > screenWidth - 10LL || top > screenHeight - 10LL) return std::nullopt;
  if (width > screenWidth + 100LL || height > screenHeight + 100LL) return std::nullopt;
  if (left + width < 10 || top + height < 10) return std::nullopt;
  return f;
}

std::string FormatWinPos(const FramePlacement& f) {
  char text[64];
  std::snprintf(text, sizeof text, "%d %d %d %d%s", f.left, f.top, f.width, f.height,
                f.maximized ? " 1" : "");
  return text;
}

bool ParseFlagSetting(const char* text, bool fallback) {
  if (!text) return fallback;
  bool valid = false;
  return ParseInt(text, valid) > 0;
}

int ParseAnimationInterval(const char* text) {
  if (!text) text = "3000";
  const std::string head = std::string(text).substr(0, 10);
  const char* p = head.c_str();
  bool valid = false;
  const int value = ParseInt(p, valid);  // empty or non-numeric: 0
  if (value < 100 || value > 30000) return 1000;
  return value;
}

}  // namespace quillo
