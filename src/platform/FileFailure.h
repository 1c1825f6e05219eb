#pragma once

#include "platform/OpResult.h"

#include <functional>
#include <string>
#include <string_view>

namespace zelvano {

// The folder part of a path: what stands before its last separator ("/" for "/a.jpg" when the
// separator is "/", "C:\" for "C:\a.jpg"); empty when the path has no separator.
std::string FolderPart(std::string_view path, char separator);

// What "the system could not find this file" means. A file does not exist only when its folder is
// there and the file is not. When the folder is not there either, the file may well be on a drive
// that is unplugged, not mounted, not ready, or a network path that does not answer: that is an
// ordinary failure, so that no record is ever offered for removal while its drive is away.
// `isFolder` is asked about the file's folder.
OpResult FileNotFound(std::string_view path, char separator,
                      const std::function<bool(const std::string& folder)>& isFolder, std::string reason);

} // namespace zelvano
