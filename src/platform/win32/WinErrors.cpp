#include "platform/win32/WinOs.h"

#include <windows.h>

namespace zelvano {

OpResult FromWinError(unsigned long error) {
    Failure kind = Failure::Other;
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_BAD_NETPATH:
    case ERROR_INVALID_DRIVE:
        kind = Failure::NotFound;
        break;
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
    return OpResult::fail(kind, reason);
}

EntryType EntryTypeFromAttributes(unsigned long attributes) {
    const bool reparse = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return reparse ? EntryType::Other : EntryType::Folder;
    }
    return reparse ? EntryType::Link : EntryType::File;
}

} // namespace zelvano
