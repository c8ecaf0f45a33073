// A record of the effects the saver starts, for tests and demonstrations:
// when the environment variable QUILLO_EFFSAVER_TRACE names a file as the
// engine loads, every effect start appends one line "module function id".
#pragma once

namespace quillo::effsaver {

inline constexpr char kTraceVariable[] = "QUILLO_EFFSAVER_TRACE";

void LoadTraceSetting();
void TraceEffectStart(const char* module, const char* function, int id);

}  // namespace quillo::effsaver
