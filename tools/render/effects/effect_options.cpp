#include "effect_options.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace quillo::render {

namespace {

std::string FormatNumber(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", v);
  return text;
}

bool ParseSwitch(std::string_view text, double& value) {
  if (text == "on" || text == "1" || text == "yes") {
    value = 1;
    return true;
  }
  if (text == "off" || text == "0" || text == "no") {
    value = 0;
    return true;
  }
  return false;
}

}  // namespace

bool ParseInteger(std::string_view text, long long low, long long high, long long& value) {
  long long v = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, v);
  if (text.empty() || ec != std::errc() || ptr != end || v < low || v > high) return false;
  value = v;
  return true;
}

bool ParseNumber(std::string_view text, double low, double high, double& value) {
  // strtod needs a terminated string; numbers longer than this are not numbers a user means.
  if (text.empty() || text.size() > 64) return false;
  const std::string copy(text);
  char* end = nullptr;
  const double v = std::strtod(copy.c_str(), &end);
  if (end != copy.c_str() + copy.size() || !std::isfinite(v) || v < low || v > high) return false;
  value = v;
  return true;
}

OptionValues::OptionValues(std::span<const OptionInfo> infos) : infos_(infos) {
  for (const OptionInfo& info : infos) values_.push_back(info.start);
  texts_.resize(values_.size());
}

int OptionValues::Find(std::string_view name) const {
  for (size_t i = 0; i < infos_.size(); ++i)
    if (name == infos_[i].name) return int(i);
  return -1;
}

bool OptionValues::Set(std::string_view name, std::string_view text, std::string& error) {
  const int index = Find(name);
  if (index < 0) {
    error = "unknown option --" + std::string(name);
    return false;
  }
  const OptionInfo& info = infos_[size_t(index)];
  if (info.kind == OptionKind::kText) {
    texts_[size_t(index)] = std::string(text);
    return true;
  }
  double value = 0;
  bool ok = false;
  switch (info.kind) {
    case OptionKind::kInteger: {
      long long v = 0;
      ok = ParseInteger(text, (long long)info.low, (long long)info.high, v);
      value = double(v);
      break;
    }
    case OptionKind::kNumber: ok = ParseNumber(text, info.low, info.high, value); break;
    case OptionKind::kSwitch: ok = ParseSwitch(text, value); break;
    case OptionKind::kText: break;
  }
  if (!ok) {
    error = "--" + std::string(name) + " takes ";
    if (info.kind == OptionKind::kSwitch)
      error += "on or off";
    else
      error += std::string(info.kind == OptionKind::kInteger ? "a whole number" : "a number") + " from " +
               FormatNumber(info.low) + " to " + FormatNumber(info.high);
    error += ", not \"" + std::string(text) + "\"";
    return false;
  }
  values_[size_t(index)] = value;
  return true;
}

double OptionValues::Number(std::string_view name, double fallback) const {
  const int index = Find(name);
  if (index < 0 || !values_[size_t(index)]) return fallback;
  return *values_[size_t(index)];
}

std::string OptionValues::Text(std::string_view name, std::string_view fallback) const {
  const int index = Find(name);
  if (index < 0 || !texts_[size_t(index)]) return std::string(fallback);
  return *texts_[size_t(index)];
}

int OptionValues::Integer(std::string_view name, int fallback) const {
  return int(Number(name, fallback));
}

std::string DescribeOptions(std::span<const OptionInfo> infos) {
  std::string text;
  for (const OptionInfo& info : infos) {
    text += "  --" + std::string(info.name);
    switch (info.kind) {
      case OptionKind::kInteger:
      case OptionKind::kNumber:
        text += " " + FormatNumber(info.low) + ".." + FormatNumber(info.high);
        text += info.start ? " (" + FormatNumber(*info.start) + ")" : std::string(" (worked out by the effect)");
        break;
      case OptionKind::kSwitch: text += std::string(" on|off (") + (info.start && *info.start ? "on" : "off") + ")"; break;
      case OptionKind::kText: text += " <text>"; break;
    }
    text += "  " + std::string(info.help) + "\n";
  }
  return text;
}

}  // namespace quillo::render
