// A gift program is the self-extracting stub followed by a zip archive.
#pragma once
#include <cstdint>
#include <optional>
#include <vector>

namespace quillo::gift {

// The stub's bytes followed by the archive, with the archive's offsets moved
// by the stub's size so they count from the start of the program: ordinary
// zip tools then read the gift program as a zip, and the stub finds its
// archive either way. Nullopt when `zip` is not an archive the stub would
// accept (ReadZipDirectory with the default limits) or the program would
// pass 4 GiB.
std::optional<std::vector<uint8_t>> MakeGiftProgram(const std::vector<uint8_t>& stubBytes,
                                                    const std::vector<uint8_t>& zipBytes);

}  // namespace quillo::gift
