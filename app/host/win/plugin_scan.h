// Building the effect catalogue "BXFun.inf" from the plug-in modules
// ("*.PL1") of a folder: each is loaded once, its info table copied into
// 292-byte effect records, and unloaded again.
#pragma once
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <vector>

namespace quillo {

// Scans `directory` (the program directory for the studio): writes
// "BXFun.inf" there and, with the GET_SETUP_INFO switch, "Plugin.txt" in the
// current directory. Reports the outcome with message boxes. Returns the
// number of records catalogued.
int ScanPluginsIn(const char* directory);

// Appends the records of one loaded plug-in (file name `fileName`) to
// `catalogue` and, with a diagnostic file, their lines. Returns how many it
// wrote.
int RegisterPlugin(HMODULE module, std::vector<uint8_t>& catalogue, FILE* diagnostic,
                   const char* fileName);

}  // namespace quillo
