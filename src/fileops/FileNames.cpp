#include "fileops/FileNames.h"

#include <algorithm>

namespace zelvano {

std::string WithTypeExtension(std::string name, const std::string& picType) {
    const std::string extension = "." + picType;
    const std::size_t tail = std::min(extension.size(), name.size());
    if (name.compare(name.size() - tail, tail, extension) != 0) {
        name += extension;
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
