#include "fileops/FileNames.h"

#include "state/TypeExtension.h"

#include <algorithm>

namespace zelvano {

std::string WithTypeExtension(std::string name, const std::string& picType) {
    if (!HasTypeExtension(name, picType)) {
        name += "." + picType;
    }
    return name;
}

bool HoldsLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    const auto lower = [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

} // namespace zelvano
