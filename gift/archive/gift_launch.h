// What the self-extracting stub does, read from its own file name and
// command line: a stub saved as "Eff01234.exe" unpacks its archive and
// starts "_Eff01234.exe" from it; with "/preview" it unpacks into a
// temporary folder and passes "/preview" on to that program.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace quillo::gift {

struct GiftLaunch {
  std::string base;    // the stub's file name without folder and extension
  std::string player;  // "_" + base + ".exe", the member to start
  bool preview = false;
};

// `modulePath` is the stub's own path, `commandLine` the whole command line
// (program name first, as Windows hands it over). Nullopt when the file name
// gives no base.
std::optional<GiftLaunch> GiftLaunchOf(std::string_view modulePath, std::string_view commandLine);

// The command line without the program name (quoted or not) in front.
std::string_view ArgumentsOf(std::string_view commandLine);

}  // namespace quillo::gift
