#include "effect_trace.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace quillo::effsaver {

namespace {

std::string g_tracePath;

}  // namespace

void LoadTraceSetting() {
  char path[MAX_PATH] = {};
  const DWORD n = GetEnvironmentVariableA(kTraceVariable, path, sizeof path);
  g_tracePath = n > 0 && n < sizeof path ? path : "";
}

void TraceEffectStart(const char* module, const char* function, int id) {
  if (g_tracePath.empty()) return;
  HANDLE file = CreateFileA(g_tracePath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  char line[160];
  const int n = std::snprintf(line, sizeof line, "%s %s %d\r\n", module, function, id);
  DWORD written = 0;
  if (n > 0) WriteFile(file, line, DWORD(n < int(sizeof line) ? n : int(sizeof line) - 1), &written, nullptr);
  CloseHandle(file);
}

}  // namespace quillo::effsaver
