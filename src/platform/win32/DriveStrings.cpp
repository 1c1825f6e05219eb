#include "platform/win32/DriveStrings.h"

#include <cctype>
#include <string_view>

namespace zelvano {

std::vector<std::string> DrivesFromLogicalStrings(const char* buffer, std::size_t size, long written) {
    std::vector<std::string> drives;
    if (written <= 0) {
        return drives;
    }
    const std::string_view all(buffer, size);
    const auto upper = [](char c) {
        return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    };
    for (std::size_t start = 0; start < all.size();) {
        const std::size_t end = std::min(all.find('\0', start), all.size());
        const std::string_view piece = all.substr(start, end - start);
        start = end + 1;
        if (piece.empty() || static_cast<unsigned char>(upper(piece[0])) < 'A') {
            continue;
        }
        std::string root(1, upper(piece[0]));
        if (piece.size() > 1) {
            root += upper(piece[1]);
        }
        drives.push_back(root + '\\');
    }
    return drives;
}

} // namespace zelvano
