#include "platform/FileFailure.h"
#include "platform/win32/WinOs.h"

#include <windows.h>

namespace zelvano {

namespace {

bool IsFolder(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

} // namespace

OpResult FromWinError(unsigned long error, std::string_view path) {
    // A missing folder on the way, a drive or share that is away or not ready: all ordinary
    // failures, so that no record is offered for removal while its drive is gone.
    Failure kind = Failure::Other;
    switch (error) {
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
        kind = Failure::AccessError;
        break;
    default:
        break;
    }
    char text[512] = {};
    const DWORD n = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                     error, 0, text, sizeof text, nullptr);
    std::string reason(text, n);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == '.')) {
        reason.pop_back();
    }
    if (reason.empty()) {
        reason = "error " + std::to_string(error);
    }
    if (error == ERROR_FILE_NOT_FOUND && !path.empty()) {
        return FileNotFound(path, '\\', IsFolder, std::move(reason));
    }
    return OpResult::fail(kind, std::move(reason));
}

EntryType EntryTypeFromAttributes(unsigned long attributes) {
    const bool reparse = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return reparse ? EntryType::Other : EntryType::Folder;
    }
    return reparse ? EntryType::Link : EntryType::File;
}

} // namespace zelvano
