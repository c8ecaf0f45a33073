// The saver program's entry: picks the mode its command line asks for.
#include <windows.h>

#include <scrnsave.h>

#include "saver_command_line.h"
#include "saver_globals.h"
#include "saver_modes.h"

using namespace quillo::saver;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  LoadSaverGlobals(instance);
  const SaverCommand command = ParseSaverCommandLine(commandLine ? commandLine : "");
  switch (command.mode) {
    case SaverMode::FullScreen:
      return RunFullScreen();
    case SaverMode::Preview:
      return RunPreview(command.window);
    case SaverMode::ChangePassword:
      ScreenSaverChangePassword(command.window);
      return 0;
    case SaverMode::Settings:
      return RunSettings(IsWindow(command.window) ? command.window : GetForegroundWindow());
    case SaverMode::UnownedSettings:
      break;
  }
  return RunSettings(nullptr);
}
