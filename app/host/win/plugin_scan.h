// Building the effect catalogue "BXFun.inf" from the plug-in modules
// ("*.PL1") of a folder: each is loaded once, its info table copied into
// 292-byte effect records, and unloaded again.
#pragma once
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <vector>

namespace quillo {

// Receives the scan's messages instead of message boxes (caption may be null).
using ScanMessage = void (*)(const char* text, const char* caption);

// Scans `directory` (the program directory for the studio): writes
// "BXFun.inf" there and, with the GET_SETUP_INFO switch, "Plugin.txt" in the
// current directory. Reports the outcome with message boxes, or to `report`
// when given. Returns the number of records catalogued.
int ScanPluginsIn(const char* directory, ScanMessage report = nullptr);

// Appends the records of one loaded plug-in (file name `fileName`) to
// `catalogue` and, with a diagnostic file, their lines. Returns how many it
// wrote.
int RegisterPlugin(HMODULE module, std::vector<uint8_t>& catalogue, FILE* diagnostic,
                   const char* fileName);

}  // namespace quillo
