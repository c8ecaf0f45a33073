// Builds the effect catalogue "BXFun.inf" beside the program without the
// studio's message boxes, so a fresh build can be tried at once:
//   MakeCatalogue.exe
// The scan is the studio's own (Effects > Rebuild Effect Catalogue); its
// messages are printed instead. Exit code 0 when effects were catalogued.
#include <windows.h>

#include <cstdio>

#include "app/host/win/plugin_scan.h"
#include "app/shell/app_state.h"
#include "app/shell/path_join.h"

namespace {

void Print(const char* text, const char* caption) {
  std::printf("%s%s%s\n", caption ? caption : "", caption ? ": " : "", text);
}

}  // namespace

int main() {
  using namespace quillo;
  char resources[MAX_PATH];
  if (JoinPathInto(resources, sizeof resources, ProgramDirectory(), "BXFUN.R"))
    g_app.resources = LoadLibraryExA(resources, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  const int count = ScanPluginsIn(ProgramDirectory(), Print);
  std::printf("%d effects catalogued\n", count);
  return count > 0 ? 0 : 1;
}
