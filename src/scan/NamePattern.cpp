#include "scan/NamePattern.h"

#include "state/TypeExtension.h"

#include <algorithm>

namespace zelvano {

namespace {

// Wildcard match with one point to come back to after the last "*": linear for names.
bool WildcardMatch(std::string_view pattern, std::string_view name) {
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t starP = std::string_view::npos;
    std::size_t starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == AsciiLower(name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') {
        ++p;
    }
    return p == pattern.size();
}

} // namespace

NamePattern::NamePattern(std::string pattern) : pattern_(std::move(pattern)) {
    std::transform(pattern_.begin(), pattern_.end(), pattern_.begin(), AsciiLower);
    suffixOnly_ =
        pattern_.size() >= 2 && pattern_[0] == '*' && pattern_.find_first_of("*?", 1) == std::string::npos;
    if (suffixOnly_) {
        suffix_ = pattern_.substr(1);
    }
}

bool NamePattern::matches(std::string_view name) const {
    if (!suffixOnly_) {
        return WildcardMatch(pattern_, name);
    }
    return EndsWithIgnoringCase(name, suffix_);
}

} // namespace zelvano
