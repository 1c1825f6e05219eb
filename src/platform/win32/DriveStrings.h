#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zelvano {

// The drive roots in a buffer filled by GetLogicalDriveStringsA ("C:\", NUL, "D:\", NUL, ..., NUL,
// then NULs to its end): the whole buffer is split at every NUL; empty pieces, and pieces whose
// first letter, upper-cased, comes before "A", are passed over; each other piece gives its first
// two characters upper-cased and a backslash. No drives when `written` is 0 or less.
std::vector<std::string> DrivesFromLogicalStrings(const char* buffer, std::size_t size, long written);

// The drive a Windows path is on, as the wait window names it: "C:\" for a drive letter's path,
// "\\server\share\" for a share's, and otherwise the path's first folder (or the path) with a
// backslash.
std::string DriveOfWindowsPath(std::string_view path);

} // namespace zelvano
