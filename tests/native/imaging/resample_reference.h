// The resampler's previous implementation, kept for the tests as the
// definition of the exact output bytes.
#pragma once
#include "imaging/zoom.h"

namespace quillo::imaging::testing {

// ResampleBgr24 exactly as before (same checks, taps, pass order, sums).
ZoomStatus ReferenceResampleBgr24(const Bgr24Picture& source, const Bgr24Picture& target,
                                  const ResampleFilter& filter);

}  // namespace quillo::imaging::testing
