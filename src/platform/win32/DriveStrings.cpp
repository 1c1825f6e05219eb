#include "platform/win32/DriveStrings.h"

#include <algorithm>
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

std::string DriveOfWindowsPath(std::string_view path) {
    if (path.size() >= 2 && path[1] == ':') { // a letter, as the drive strings give it
        return std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(path[0])))) + ":\\";
    }
    // A share's path: \\server\share\..., of which the server and the share name the drive.
    std::size_t end = path.starts_with("\\\\") ? path.find('\\', 2) : 0;
    end = end == std::string_view::npos ? path.size() : path.find('\\', end + 1);
    return std::string(path.substr(0, std::min(end, path.size()))) + '\\';
}

} // namespace zelvano
