#pragma once

#include <string_view>

namespace zelvano {

// The ASCII lower case of a byte; every other byte stays as it is, as file names compare here.
inline char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether `name` ends with `end`, ASCII letter case aside.
bool EndsWithIgnoringCase(std::string_view name, std::string_view end);

// Whether a name carries the type's extension: "." and the type, in any letter case, as the
// search finds a type's pictures. Rename and Copy add the extension by the same rule, so that a
// picture the search found keeps its name.
bool HasTypeExtension(std::string_view name, std::string_view picType);

} // namespace zelvano
