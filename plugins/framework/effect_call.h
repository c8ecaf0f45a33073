// The eleven arguments of an effect function, kept together so every layer
// of an effect run sees all of them: which catalogue row was chosen, the
// caller's context words (hidden runs, stored settings), the mask.
#pragma once
#include <windows.h>

#include "contracts/plugin_contract.h"

namespace quillo {

struct EffectCall {
  HWND ownerWindow = nullptr;    // receives the notify message and the frame messages
  HWND viewWindow = nullptr;     // shows the picture; receives the view messages
  HINSTANCE hostInstance = nullptr;
  UINT notifyMessage = 0;
  int effectValue = 0;           // the catalogue row's value
  UINT_PTR* runContext = nullptr;  // the caller's HostContext, or null
  HGLOBAL* imageHandle = nullptr;  // in/out: the caller's picture
  INT32* selection = nullptr;
  HWND* dialogOut = nullptr;
  BYTE** alphaMask = nullptr;

  // Word `index` of the caller's context, 0 when there is none.
  UINT_PTR ContextWord(int index) const { return runContext ? runContext[index] : 0; }
};

}  // namespace quillo

// Defines the exported effect function `name`, handing its arguments to
// `runner` (a function taking one EffectCall and returning the result).
#define QUILLO_DEFINE_EFFECT_FUNCTION(name, runner)                                            \
  extern "C" int WINAPI name(HWND ownerWindow, HWND viewWindow, HINSTANCE hostInstance,       \
                             UINT notifyMessage, int effectValue, UINT_PTR* runContext,       \
                             HGLOBAL* imageHandle, INT32* selection, HWND* dialogOut,         \
                             BYTE** alphaMask, int) {                                         \
    quillo::EffectCall call;                                                                  \
    call.ownerWindow = ownerWindow;                                                           \
    call.viewWindow = viewWindow;                                                             \
    call.hostInstance = hostInstance;                                                         \
    call.notifyMessage = notifyMessage;                                                       \
    call.effectValue = effectValue;                                                           \
    call.runContext = runContext;                                                             \
    call.imageHandle = imageHandle;                                                           \
    call.selection = selection;                                                               \
    call.dialogOut = dialogOut;                                                               \
    call.alphaMask = alphaMask;                                                               \
    return runner(call);                                                                      \
  }
