#include "cursor_script.h"

#include <cstdint>

namespace quillo::render {

namespace {

constexpr long long kMaxKeyFrame = 1000000;
constexpr long long kMaxOffScreen = 100000;

// The fields of one line split at spaces and tabs.
std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
    const size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') ++i;
    if (i > start) fields.push_back(line.substr(start, i - start));
  }
  return fields;
}

// a + (b - a) t / span, rounded half away from zero.
int Between(int a, int b, int64_t t, int64_t span) {
  const int64_t scaled = int64_t(b - a) * t * 2;
  const int64_t step = scaled >= 0 ? (scaled + span) / (2 * span) : -((-scaled + span) / (2 * span));
  return int(a + step);
}

}  // namespace

bool CursorScript::ReadKeys(std::string_view text, std::string& error) {
  std::vector<Key> keys;
  int lineNumber = 0;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    ++lineNumber;
    const std::vector<std::string_view> fields = Fields(line);
    if (fields.empty() || fields[0][0] == '#') continue;
    long long frame = 0, x = 0, y = 0;
    if (fields.size() != 3 || !ParseInteger(fields[0], 1, kMaxKeyFrame, frame) ||
        !ParseInteger(fields[1], -kMaxOffScreen, kMaxOffScreen, x) ||
        !ParseInteger(fields[2], -kMaxOffScreen, kMaxOffScreen, y)) {
      error = "cursor path line " + std::to_string(lineNumber) + ": expected \"frame x y\"";
      return false;
    }
    if (!keys.empty() && frame <= keys.back().frame) {
      error = "cursor path line " + std::to_string(lineNumber) + ": frames must ascend";
      return false;
    }
    keys.push_back({int(frame), int(x), int(y)});
  }
  if (keys.empty()) {
    error = "the cursor path holds no \"frame x y\" line";
    return false;
  }
  keys_ = std::move(keys);
  return true;
}

CursorPoint CursorScript::At(int frame) const {
  CursorPoint c = fixed_;
  if (keys_.empty()) return c;
  if (frame <= keys_.front().frame) {
    c.x = keys_.front().x;
    c.y = keys_.front().y;
    return c;
  }
  for (size_t i = 1; i < keys_.size(); ++i) {
    const Key& a = keys_[i - 1];
    const Key& b = keys_[i];
    if (frame <= b.frame) {
      c.x = Between(a.x, b.x, frame - a.frame, b.frame - a.frame);
      c.y = Between(a.y, b.y, frame - a.frame, b.frame - a.frame);
      return c;
    }
  }
  c.x = keys_.back().x;
  c.y = keys_.back().y;
  return c;
}

}  // namespace quillo::render
