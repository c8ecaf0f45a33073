// Quillo.exe: the studio's entry point.
#include <windows.h>

#include "app/shell/win/studio.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show) {
  HACCEL accelerators = nullptr;
  const int started = quillo::StartStudio(instance, commandLine, show, &accelerators);
  if (started != -1) return started;
  quillo::RunStudioLoop(accelerators);
  quillo::StopStudio();
  return 0;
}
