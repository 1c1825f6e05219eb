#include "state/TypeExtension.h"

#include <algorithm>

namespace zelvano {

bool EndsWithIgnoringCase(std::string_view name, std::string_view end) {
    return name.size() >= end.size() &&
           std::equal(end.begin(), end.end(), name.end() - static_cast<std::ptrdiff_t>(end.size()),
                      [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

bool HasTypeExtension(std::string_view name, std::string_view picType) {
    return name.size() > picType.size() && name[name.size() - picType.size() - 1] == '.' &&
           EndsWithIgnoringCase(name, picType);
}

} // namespace zelvano
