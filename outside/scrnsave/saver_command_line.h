// What the saver's command line asks for: the letter after "/", "-" or a
// blank (any case) and the decimal window handle that may follow it.
#pragma once
#include <windows.h>

namespace quillo::saver {

enum class SaverMode {
  Settings,          // "c": the configuration dialog, owned by `window` or the foreground window
  UnownedSettings,   // no argument or an unknown letter: the configuration dialog on its own
  FullScreen,        // "s"
  Preview,           // "p": a child of `window`
  ChangePassword,    // "a"
};

struct SaverCommand {
  SaverMode mode;
  HWND window;  // the number after the letter (a blank or colon between), or null
};

// `line` is the command line without the program's path.
SaverCommand ParseSaverCommandLine(const char* line);

}  // namespace quillo::saver
