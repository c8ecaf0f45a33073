// Reading the effect records of a plug-in module: what the studio's
// catalogue scan and the effect saver's catalogue builder share. A module
// qualifies by its first bytes, is accepted by its version and name, and
// each entry of its info table becomes a 292-byte effect record.
#pragma once
#include <windows.h>

#include <functional>

#include "app/host/effect_record.h"

namespace quillo {

// A file qualifies when it starts with "MZ"; one that exists but cannot be
// opened is given the benefit of the doubt (the loader decides).
bool LooksLikePluginModule(const char* path);

// A plug-in is accepted when its version is 0 or 1 and its name, when it
// gives one, is its file name (without regard to case).
bool AcceptedPlugin(HMODULE module, const char* fileName);

// One entry of the info table as a record. When `built` is not kOk the
// record is all zero and the entry must be left out.
struct PluginEntry {
  RecordBuildResult built = RecordBuildResult::kOk;
  EffectRecord record = {};
  bool displayNameMissing = false;  // written with "N/A": a bad plug info
  const char* functionName = nullptr;  // the entry's own text, may be null
};

// Calls `visit` for every entry of the loaded plug-in's info table, in table
// order. False when the module has no GetPlugInInfo or GetResInst, or gives
// no table.
bool VisitPluginEntries(HMODULE module, const char* fileName,
                        const std::function<void(const PluginEntry&)>& visit);

}  // namespace quillo
