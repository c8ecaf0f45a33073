// The package item queries: what else a running effect wants kept with its
// picture and record (its parameter block, extra pictures). Packages and
// gifts both ask through here.
#pragma once
#include <windows.h>

#include <cstddef>
#include <functional>

namespace quillo {

// Asks `effectWindow` (messages 2122 and 2121) for its items and hands each
// parameter block with data to `onBlock` and each extra picture to
// `onPicture` with its item index. Items of other kinds, empty blocks and
// null pictures are skipped. False as soon as a callback fails.
bool CaptureEffectItems(HWND effectWindow, const std::function<bool(const void*, size_t)>& onBlock,
                        const std::function<bool(unsigned, HGLOBAL)>& onPicture);

}  // namespace quillo
