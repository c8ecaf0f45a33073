// What every plug-in module carries: its attach and detach work, the plain
// exports (version, name, information table, resource module) and access to
// the resource module its dialogs and strings come from.
#pragma once
#include <windows.h>

#include "contracts/plugin_contract.h"

namespace quillo {

// Supplied by each plug-in module (one definition per module).
struct PluginModuleDescription {
  const char* resourceModuleName;  // "BXCOMM1.R"
  const PlugInInfo* infoTable;     // ends with an entry whose kindFlags <= 0
  // What GetName answers ("Qlo12.PL1"); null leaves the name empty, so
  // hosts catalogue the module under its file name.
  const char* moduleName = nullptr;
};
extern const PluginModuleDescription kPluginModule;

// The resource module loaded at attach.
HINSTANCE PluginResources();
// The folder the plug-in module was loaded from (no trailing backslash).
const char* PluginDirectory();

// A file name that names nothing outside its folder: no path separators,
// drive colon or "..".
bool IsBareFileName(const char* name);

}  // namespace quillo
