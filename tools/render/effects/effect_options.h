// The settings an effect takes from the command line or an example row:
// each effect lists its options (name, kind, range, start value), and a set
// of values starts from those start values and is changed by name from text.
// Text comes from users, so every value is checked against its kind and
// range before it is stored.
#pragma once
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quillo::render {

enum class OptionKind {
  kInteger,  // a whole number inside [low, high]
  kNumber,   // any finite number inside [low, high]
  kSwitch,   // on / off (also 1 / 0, yes / no)
  kText,     // a name the effect checks itself (low, high and start unused)
};

struct OptionInfo {
  const char* name;  // written "--name" on the command line
  OptionKind kind;
  double low, high;
  // Start value; empty when the effect works it out from the picture.
  std::optional<double> start;
  const char* help;
};

// The values of one effect's options.
class OptionValues {
 public:
  OptionValues() = default;
  explicit OptionValues(std::span<const OptionInfo> infos);

  // Sets the option `name` from `text`. False with `error` set for an
  // unknown name, text that is not a value of the option's kind, or a value
  // outside its range.
  bool Set(std::string_view name, std::string_view text, std::string& error);

  // The value of `name` (an option of the list), or `fallback` when it has
  // no start value and was not set.
  double Number(std::string_view name, double fallback = 0) const;
  int Integer(std::string_view name, int fallback = 0) const;
  bool Switch(std::string_view name) const { return Integer(name) != 0; }
  // The text given for a text option, or `fallback` when none was.
  std::string Text(std::string_view name, std::string_view fallback = {}) const;

 private:
  std::span<const OptionInfo> infos_;
  std::vector<std::optional<double>> values_;
  std::vector<std::optional<std::string>> texts_;
  int Find(std::string_view name) const;
};

// Whole text to a number, nothing before or after it: an integer in
// [low, high], or a finite number in [low, high]. False otherwise.
bool ParseInteger(std::string_view text, long long low, long long high, long long& value);
bool ParseNumber(std::string_view text, double low, double high, double& value);

// One line per option: "--name <kind> low..high (start) help".
std::string DescribeOptions(std::span<const OptionInfo> infos);

}  // namespace quillo::render
