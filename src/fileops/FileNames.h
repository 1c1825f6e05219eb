#pragma once

#include <string>
#include <string_view>

namespace zelvano {

// The type's extension is added when the name does not carry it (see HasTypeExtension): holiday
// becomes holiday.jpg, and holiday.JPG stays as it is.
std::string WithTypeExtension(std::string name, const std::string& picType);

// A record of the list file is one line per cell, so no name in it may hold a CR or an LF.
bool HoldsLineBreak(std::string_view text);
inline constexpr std::string_view kNoLineBreak = "A name can not hold a line break. Write it on one line.";
// A name typed in a dialog that the file system's names cannot hold exactly, in the bytes the
// program keeps.
inline constexpr std::string_view kNotWritable =
    "The name holds characters that can not be written in a file name. Type them again.";

// Whether two names differ in ASCII letter case alone.
bool EqualIgnoringCase(std::string_view a, std::string_view b);

inline constexpr std::string_view kAlreadyExists =
    "The picture name already exists do you want to overwrite it?";
inline constexpr std::string_view kWriteProtectedRename =
    "The file are, write protected and can not bee renamed.";

} // namespace zelvano
