// Which member names a gift archive may hold. Members are unpacked into one
// folder, so a name must be a plain file name there: no folder part, no drive,
// no "..", nothing Windows would read as a device or silently change.
#pragma once
#include <string>
#include <string_view>

namespace quillo::gift {

// A bare file name (no "\", "/", ":" or "..", not empty) of at most 255
// characters, without control characters or any of <>"|?*, not ending in a
// dot or a blank (Windows drops those, so two names could meet), and not a
// device name (CON, PRN, AUX, NUL, COM1-9, LPT1-9, with or without an
// extension), which would write to the device instead of a file.
bool IsSafeMemberName(std::string_view name);

// Names compared as Windows compares file names in the ASCII range: case does
// not matter.
bool SameMemberName(std::string_view a, std::string_view b);
// The form under which SameMemberName names are equal (ASCII lower case),
// for sets of names.
std::string MemberNameKey(std::string_view name);

}  // namespace quillo::gift
