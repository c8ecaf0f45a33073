#include "saver_settings.h"

#include "app/shell/settings_values.h"
#include "app/host/effect_record.h"

namespace quillo::effsaver {

namespace {

std::string Cut(const std::optional<std::string>& text, size_t chars) {
  if (!text) return {};
  return text->substr(0, chars);
}

// A number as the profile functions read one; nullopt when no digit.
std::optional<int> Number(const std::optional<std::string>& text) {
  if (!text) return std::nullopt;
  const char* cursor = text->c_str();
  bool valid = false;
  const int value = ParseInt(cursor, valid);
  if (!valid) return std::nullopt;
  return value;
}

}  // namespace

SaverSettings ParseSaverSettings(const SaverSettingsText& text) {
  SaverSettings settings;
  const std::string module = Cut(text.module, kModuleChars);
  const std::string function = Cut(text.function, kFunctionChars);
  if (module.size() >= 4 && function.size() >= 4 && IsBareFileName(module)) {
    settings.module = module;
    settings.function = function;
  }
  settings.id = Number(text.id).value_or(0);
  const int minutes = Number(text.time).value_or(0);
  settings.minutes = minutes >= 1 && minutes <= kMaxMinutes ? minutes : kDefaultMinutes;
  settings.random = text.random ? Number(text.random).value_or(0) != 0 : true;
  return settings;
}

std::vector<std::pair<std::string, std::string>> SettingsToWrite(const SaverSettings& settings) {
  return {{"Random", settings.random ? "1" : "0"},
          {"ID", std::to_string(settings.id)},
          {"Time", std::to_string(settings.minutes)},
          {"Modual", settings.module},
          {"Function", settings.function}};
}

int SwitchPeriodTicks(int minutes) {
  const int ticks = minutes * 60;
  return ticks > 0 ? ticks : kDefaultMinutes * 60;
}

}  // namespace quillo::effsaver
