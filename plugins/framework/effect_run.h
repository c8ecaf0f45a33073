// One effect-function call: set-up, the effect's dialog with its own message
// loop, and settlement of the caller's image handle.
#pragma once
#include <windows.h>

#include <new>

#include "effect_call.h"
#include "effect_session.h"

namespace quillo {

// Runs the session (which the call takes over and deletes). Returns 1 when
// the user accepted, 0 when cancelled or when set-up failed.
int RunEffectSession(EffectSession* session, const EffectCall& call);

// The body of an exported effect function for effect class T.
template <class T>
int RunEffect(const EffectCall& call) {
  T* session = new (std::nothrow) T();
  if (!session) {
    MessageBeep(0);
    return 0;
  }
  return RunEffectSession(session, call);
}

}  // namespace quillo

// Defines the exported effect function `name` running effect class T.
#define QUILLO_EFFECT_EXPORT(name, T) QUILLO_DEFINE_EFFECT_FUNCTION(name, quillo::RunEffect<T>)
