#include "settings_file.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "engine_state.h"

namespace quillo::effsaver {

namespace {

// The names of the keys the section holds, so a missing key can be told
// from an empty one.
std::vector<std::string> KeysOfSection() {
  std::vector<char> buffer(4096);
  const DWORD n = GetPrivateProfileStringA(kSettingsSection, nullptr, "", buffer.data(),
                                           DWORD(buffer.size()), kSettingsFile);
  std::vector<std::string> keys;
  for (DWORD i = 0; i < n && buffer[i];) {
    keys.emplace_back(&buffer[i]);
    i += DWORD(keys.back().size()) + 1;
  }
  return keys;
}

std::optional<std::string> Read(const std::vector<std::string>& keys, const char* key, DWORD chars) {
  bool present = false;
  for (const std::string& k : keys) present = present || lstrcmpiA(k.c_str(), key) == 0;
  if (!present) return std::nullopt;
  std::string value(chars + 1, '\0');
  const DWORD n = GetPrivateProfileStringA(kSettingsSection, key, "", value.data(), chars + 1, kSettingsFile);
  value.resize(n);
  return value;
}

}  // namespace

SaverSettings ReadSettingsFile() {
  const std::vector<std::string> keys = KeysOfSection();
  SaverSettingsText text;
  text.module = Read(keys, "Modual", kModuleChars);
  text.function = Read(keys, "Function", kFunctionChars);
  text.id = Read(keys, "ID", 20);
  text.time = Read(keys, "Time", 20);
  text.random = Read(keys, "Random", 20);
  return ParseSaverSettings(text);
}

void WriteSettingsFile(const SaverSettings& settings) {
  for (const auto& [key, value] : SettingsToWrite(settings))
    WritePrivateProfileStringA(kSettingsSection, key.c_str(), value.c_str(), kSettingsFile);
}

}  // namespace quillo::effsaver
