// One call of an animated effect: the picture prepared (checked, perhaps
// turned, scaled or widened to the effect's working shape), the backup, the
// dialog with its own message loop, and the settlement of the caller's
// handle (OK keeps the last frame, Cancel gives back the backup).
#pragma once
#include <windows.h>

#include <new>

#include "animation_session.h"

namespace quillo::animation {

// Runs the session (which the call takes over and deletes). Returns 1 when
// the user accepted, 0 when cancelled or when set-up failed.
int RunAnimationSession(AnimationSession* session, const EffectCall& call);

template <class T>
int RunAnimation(const EffectCall& call) {
  T* session = new (std::nothrow) T();
  if (!session) {
    MessageBeep(0);
    return 0;
  }
  return RunAnimationSession(session, call);
}

}  // namespace quillo::animation

// Defines the exported effect function `name` running animation class T.
#define QUILLO_ANIMATION_EXPORT(name, T) \
  QUILLO_DEFINE_EFFECT_FUNCTION(name, quillo::animation::RunAnimation<T>)
