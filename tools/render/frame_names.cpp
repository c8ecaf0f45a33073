#include "frame_names.h"

namespace quillo::render {

bool FramePattern::Parse(std::string_view pattern, std::string& error) {
  std::string before, after;
  int width = 0;
  bool seen = false;
  for (size_t i = 0; i < pattern.size(); ++i) {
    std::string& part = seen ? after : before;
    if (pattern[i] != '%') {
      part += pattern[i];
      continue;
    }
    if (i + 1 < pattern.size() && pattern[i + 1] == '%') {
      part += '%';
      ++i;
      continue;
    }
    size_t j = i + 1;
    int w = 0;
    if (j < pattern.size() && pattern[j] == '0' && j + 1 < pattern.size() && pattern[j + 1] >= '1' &&
        pattern[j + 1] <= '9') {
      w = pattern[j + 1] - '0';
      j += 2;
    }
    if (seen || j >= pattern.size() || pattern[j] != 'd') {
      error = "the frame pattern takes exactly one %d (or %03d and the like), and %% for a percent sign";
      return false;
    }
    seen = true;
    width = w;
    i = j;
  }
  if (!seen) {
    error = "the frame pattern needs a %d for the frame number, as in frame-%03d.png";
    return false;
  }
  before_ = std::move(before);
  after_ = std::move(after);
  width_ = width;
  return true;
}

std::string FramePattern::Name(int number) const {
  std::string digits = std::to_string(number);
  if (int(digits.size()) < width_) digits.insert(0, size_t(width_) - digits.size(), '0');
  return before_ + digits + after_;
}

}  // namespace quillo::render
