// The studio's process-wide state and the small frame services shared by
// every window of the shell.
#include "app/shell/app_state.h"

#include <cstring>

namespace quillo {

AppState g_app;

const char* LoadResString(UINT id) {
  static char buffer[500];
  buffer[0] = '\0';
  if (g_app.resources && LoadStringA(g_app.resources, id, buffer, sizeof buffer) <= 0)
    buffer[0] = '\0';
  return buffer;
}

const char* ProgramDirectory() {
  static char directory[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, directory, sizeof directory);
  if (length == 0 || length >= sizeof directory) {
    directory[0] = '\0';
    return directory;
  }
  if (char* slash = std::strrchr(directory, '\\')) *slash = '\0';
  return directory;
}

void SetStatusText(const char* text) {
  if (g_app.statusLine) {
    SetWindowTextA(g_app.statusLine, text ? text : "");
    InvalidateRect(g_app.statusLine, nullptr, TRUE);
  }
}

}  // namespace quillo
