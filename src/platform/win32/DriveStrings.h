#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace zelvano {

// The drive roots in a buffer filled by GetLogicalDriveStringsA ("C:\", NUL, "D:\", NUL, ..., NUL,
// then NULs to its end): the whole buffer is split at every NUL; empty pieces, and pieces whose
// first letter, upper-cased, comes before "A", are passed over; each other piece gives its first
// two characters upper-cased and a backslash. No drives when `written` is 0 or less.
std::vector<std::string> DrivesFromLogicalStrings(const char* buffer, std::size_t size, long written);

} // namespace zelvano
