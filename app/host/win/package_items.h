// The package item queries: what else a running effect wants kept with its
// picture and record (its parameter block, extra pictures). Packages and
// gifts both ask through here.
#pragma once
#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>

namespace quillo {

// Asks `effectWindow` (messages 2122 and 2121) for its items and hands each
// parameter block with data to `onBlock` and each extra picture to
// `onPicture` with its item index. Items of other kinds, empty blocks and
// null pictures are skipped. False as soon as a callback fails.
bool CaptureEffectItems(HWND effectWindow, const std::function<bool(const void*, size_t)>& onBlock,
                        const std::function<bool(unsigned, HGLOBAL)>& onPicture);

// Each file name the plug-in's optional GetExtraImport export names (files
// of the program folder the effect also needs), handed to `onName`; a null
// name fails. True without the export. False as soon as `onName` fails.
bool ForEachExtraImport(HMODULE plugin, const std::function<bool(const char*)>& onName);

// The plug-in's resource module name through its ResName export; empty
// without one.
std::string ResourceModuleName(HMODULE plugin);

}  // namespace quillo
