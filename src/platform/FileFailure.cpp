#include "platform/FileFailure.h"

namespace zelvano {

std::string FolderPart(std::string_view path, char separator) {
    const auto cut = path.rfind(separator);
    if (cut == std::string_view::npos) {
        return {};
    }
    // A root keeps its separator: "/" and "C:\" are folders, "" and "C:" are not.
    const bool root = cut == 0 || (cut == 2 && path[1] == ':');
    return std::string(path.substr(0, root ? cut + 1 : cut));
}

OpResult FileNotFound(std::string_view path, char separator,
                      const std::function<bool(const std::string& folder)>& isFolder, std::string reason) {
    const std::string folder = FolderPart(path, separator);
    if (!folder.empty() && isFolder(folder)) {
        return OpResult::fail(Failure::NotFound, std::move(reason));
    }
    return OpResult::fail(Failure::Other, "its folder is not there (" + reason + ")");
}

} // namespace zelvano
