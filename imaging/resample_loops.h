// The resampler with a choice of inner loops, for the tests: the SSE2 loops
// and the plain loops must give the same bytes, so both are reachable on a
// build that has SSE2.
#pragma once
#include "zoom.h"

namespace quillo::imaging::internal {

// ResampleBgr24 with the SSE2 loops when `vectors` is set and the build has
// them, the plain loops otherwise.
ZoomStatus ResampleBgr24Using(const Bgr24Picture& source, const Bgr24Picture& target,
                              const ResampleFilter& filter, bool vectors);

}  // namespace quillo::imaging::internal
