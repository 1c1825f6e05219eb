#pragma once

#include <string>
#include <string_view>

namespace zelvano {

// A file-name pattern ("*" any run of characters, "?" one character) matched without regard to
// ASCII letter case, on the name itself only (no short-name aliases). "*." and an extension,
// the scan's pattern, is matched by comparing the end of the name.
class NamePattern {
public:
    explicit NamePattern(std::string pattern);
    [[nodiscard]] bool matches(std::string_view name) const;

private:
    std::string pattern_; // lower case
    std::string suffix_;  // ".jpg" when the pattern is "*.jpg"
    bool suffixOnly_ = false;
};

} // namespace zelvano
