// The gradient list of the colour-cycling effect, as text: each gradient is
// a quoted name, a colon and its colour stops (a position 0 .. 255 and a
// colour #rrggbb), separated by commas and ended by a semicolon. '#' at the
// start of a line's first word that is not a colour, and "//" anywhere,
// begin comments.
//
//   // warm evening light
//   "Sunset": 0 #1a0533, 90 #8e2a5b, 160 #e8542f, 215 #f7b733, 255 #fff6d5;
//
// The text comes from the resource module and may be edited by anyone, so
// reading it never fails: a malformed gradient is skipped up to its
// semicolon (or up to a name that starts a line, so one broken line does
// not take the next gradient with it) and reading goes on.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quillo::qlo13 {

struct GradientStop {
  int position = 0;  // 0 .. 255
  uint8_t red = 0, green = 0, blue = 0;
  bool operator==(const GradientStop&) const = default;
};

struct Gradient {
  std::string name;
  std::vector<GradientStop> stops;  // at least one, in position order
};

// Tokens of the gradient text.
enum class GradientToken { kName, kNumber, kColour, kColon, kComma, kSemicolon, kError, kEnd };

// A scanner over the text; each Next() gives the following token.
class GradientScanner {
 public:
  GradientScanner(const char* text, std::size_t size) : p_(text), end_(text + size) {}
  GradientToken Next();
  // The last token's text (a name without its quotes), value (a number,
  // or a colour as 0xRRGGBB) and line (from 1).
  const std::string& text() const { return text_; }
  int64_t value() const { return value_; }
  int line() const { return line_; }
  // Whether the last token was the first of its line.
  bool startsLine() const { return startsLine_; }

 private:
  void SkipSpaceAndComments();
  const char* p_;
  const char* end_;
  std::string text_;
  int64_t value_ = 0;
  int line_ = 1;
  int lastTokenLine_ = 0;
  bool startsLine_ = true;
};

// At most this many gradients, stops per gradient and characters of a name
// are kept; the rest is read past.
inline constexpr std::size_t kMaxGradients = 256;
inline constexpr std::size_t kMaxStops = 64;
inline constexpr std::size_t kMaxNameLength = 63;

// Every well-formed gradient of the text, in order. Positions outside
// 0 .. 255 are clamped; stops are sorted by position (equal positions keep
// their order, which makes a hard edge).
std::vector<Gradient> ReadGradients(const char* text, std::size_t size);

// The gradients the effect ships (the resource module's list, built in),
// offered when the resource module's text gives none. Never empty.
std::vector<Gradient> BuiltInGradients();

}  // namespace quillo::qlo13
