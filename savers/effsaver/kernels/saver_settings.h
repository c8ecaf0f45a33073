// EffSaver's settings, section "Saver" of the settings file: the configured
// effect ("Modual", "Function", "ID"), the switch time in minutes ("Time")
// and the random mode ("Random"). Text in, checked values out; the Win32
// shell reads and writes the profile file.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quillo::effsaver {

// The effect played when the settings name none.
inline constexpr char kDefaultModule[] = "Qlo11.PL1";
inline constexpr char kDefaultFunction[] = "ProcessEnvmap";
// How many characters of each name the saver reads.
constexpr size_t kModuleChars = 30;
constexpr size_t kFunctionChars = 60;
constexpr int kDefaultMinutes = 5;
constexpr int kMaxMinutes = 30;

// The values as the settings file holds them; nullopt = key missing.
struct SaverSettingsText {
  std::optional<std::string> module;
  std::optional<std::string> function;
  std::optional<std::string> id;
  std::optional<std::string> time;
  std::optional<std::string> random;
};

struct SaverSettings {
  std::string module = kDefaultModule;
  std::string function = kDefaultFunction;
  int32_t id = 0;
  int minutes = kDefaultMinutes;
  bool random = true;
};

// The names are cut to what the saver reads (30 and 60 characters). When
// either has fewer than 4 characters, or the module is not a bare file name,
// both fall back to the default effect. "ID" reads as a number (0 when
// missing or not a number); "Time" outside 1..30, missing or not a number
// gives 5; "Random" missing means random, otherwise a non-zero number does.
SaverSettings ParseSaverSettings(const SaverSettingsText& text);

// The keys and values the configuration dialog's OK writes, in that order:
// "Random", "ID", "Time", "Modual", "Function".
std::vector<std::pair<std::string, std::string>> SettingsToWrite(const SaverSettings& settings);

// Ticks (one a second) between two random switches.
int SwitchPeriodTicks(int minutes);

}  // namespace quillo::effsaver
