#include "fileops/FileNames.h"

#include "state/TypeExtension.h"

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
    return a.size() == b.size() && EndsWithIgnoringCase(a, b);
}

} // namespace zelvano
