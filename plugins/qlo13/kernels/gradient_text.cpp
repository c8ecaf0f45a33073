#include "gradient_text.h"

#include <algorithm>

namespace quillo::qlo13 {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

void GradientScanner::SkipSpaceAndComments() {
  while (p_ < end_) {
    const char c = *p_;
    if (c == '\n') {
      ++line_;
      ++p_;
    } else if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
      ++p_;
    } else if (c == '/' && p_ + 1 < end_ && p_[1] == '/') {
      while (p_ < end_ && *p_ != '\n') ++p_;
    } else {
      return;
    }
  }
}

GradientToken GradientScanner::Next() {
  SkipSpaceAndComments();
  text_.clear();
  value_ = 0;
  startsLine_ = line_ != lastTokenLine_;
  lastTokenLine_ = line_;
  if (p_ >= end_ || *p_ == '\0') return GradientToken::kEnd;
  const char c = *p_++;
  switch (c) {
    case ':': return GradientToken::kColon;
    case ',': return GradientToken::kComma;
    case ';': return GradientToken::kSemicolon;
    case '"': {
      // A name runs to the closing quote on the same line.
      while (p_ < end_ && *p_ != '"' && *p_ != '\n' && *p_ != '\0') {
        if (text_.size() < kMaxNameLength) text_.push_back(*p_);
        ++p_;
      }
      if (p_ >= end_ || *p_ != '"') return GradientToken::kError;
      ++p_;
      return GradientToken::kName;
    }
    case '#': {
      int digits = 0;
      int64_t v = 0;
      while (p_ < end_ && HexValue(*p_) >= 0 && digits < 7) {
        v = v * 16 + HexValue(*p_++);
        ++digits;
      }
      if (digits != 6) return GradientToken::kError;
      value_ = v;
      return GradientToken::kColour;
    }
    default:
      break;
  }
  if (IsDigit(c) || c == '-') {
    const bool negative = c == '-';
    int64_t v = negative ? 0 : c - '0';
    if (negative && (p_ >= end_ || !IsDigit(*p_))) return GradientToken::kError;
    while (p_ < end_ && IsDigit(*p_)) {
      // Numbers past any sensible position saturate rather than overflow.
      v = std::min<int64_t>(v * 10 + (*p_++ - '0'), 1000000);
    }
    value_ = negative ? -v : v;
    return GradientToken::kNumber;
  }
  return GradientToken::kError;
}

std::vector<Gradient> ReadGradients(const char* text, std::size_t size) {
  std::vector<Gradient> result;
  if (!text) return result;
  GradientScanner scanner(text, size);
  GradientToken t = scanner.Next();
  // Reads past the rest of a gradient that went wrong, from the token that
  // broke it: to its semicolon, or to a name that starts a new line.
  auto recover = [&]() {
    while (t != GradientToken::kSemicolon && t != GradientToken::kEnd &&
           !(t == GradientToken::kName && scanner.startsLine()))
      t = scanner.Next();
    if (t == GradientToken::kSemicolon) t = scanner.Next();
  };
  while (t != GradientToken::kEnd) {
    if (t != GradientToken::kName) {
      recover();
      continue;
    }
    Gradient g;
    g.name = scanner.text();
    if ((t = scanner.Next()) != GradientToken::kColon) {
      recover();
      continue;
    }
    bool ok = true;
    for (;;) {
      if ((t = scanner.Next()) != GradientToken::kNumber) {
        ok = false;
        break;
      }
      GradientStop stop;
      stop.position = int(std::clamp<int64_t>(scanner.value(), 0, 255));
      if ((t = scanner.Next()) != GradientToken::kColour) {
        ok = false;
        break;
      }
      stop.red = uint8_t(scanner.value() >> 16);
      stop.green = uint8_t(scanner.value() >> 8);
      stop.blue = uint8_t(scanner.value());
      if (g.stops.size() < kMaxStops) g.stops.push_back(stop);
      t = scanner.Next();
      if (t == GradientToken::kComma) continue;
      if (t != GradientToken::kSemicolon) ok = false;
      break;
    }
    if (!ok) {
      recover();
      continue;
    }
    t = scanner.Next();
    std::stable_sort(g.stops.begin(), g.stops.end(),
                     [](const GradientStop& a, const GradientStop& b) { return a.position < b.position; });
    if (result.size() < kMaxGradients) result.push_back(std::move(g));
  }
  return result;
}

std::vector<Gradient> BuiltInGradients() {
  // The gradient list the resource module ships, built in at compile time.
  static const char kText[] =
#include "default_gradients.inc"
      ;
  std::vector<Gradient> list = ReadGradients(kText, sizeof kText - 1);
  if (list.empty()) list.push_back({"Grey", {{0, 0, 0, 0}, {255, 255, 255, 255}}});
  return list;
}

}  // namespace quillo::qlo13
