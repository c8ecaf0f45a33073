// Where BXSaver finds its engine: "bexadbms.ini" [Saver] "Engine" holds the
// full path of EffSaver.DLL in the studio's program folder. The value comes
// from a settings file anyone may edit, so it is checked before it is loaded.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace quillo::bxsaver {

inline constexpr char kEngineFileName[] = "EffSaver.DLL";

// An absolute path ("C:\..." or "\\server\share\...") whose last part is
// "EffSaver.DLL" (without regard to case), and no "." or ".." part.
bool IsEnginePath(std::string_view path);

// The folder of an engine path, without a trailing backslash except for a
// drive root ("C:\"); nullopt when the path is not an engine path.
std::optional<std::string> EngineFolder(std::string_view path);

}  // namespace quillo::bxsaver
