// Counts the bytes a test binary holds through operator new, so a test can
// put a ceiling on what a call allocates at its peak.
#pragma once
#include <cstddef>

namespace test_memory {

// Starts a new peak at what is held now.
void ResetPeak();
// Most bytes held at once since the last ResetPeak.
std::size_t Peak();

}  // namespace test_memory
