#include "platform/win32/DriveStrings.h"
#include "platform/win32/WinOs.h"

#include <windows.h>

namespace zelvano {

std::vector<std::string> WinOs::listDrives() {
    // A drive without a medium answers with a failure, not with a dialog box.
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    char buffer[255] = {};
    const DWORD written = ::GetLogicalDriveStringsA(sizeof buffer, buffer);
    return DrivesFromLogicalStrings(buffer, sizeof buffer, static_cast<long>(written));
}

OpResult WinOs::listFolder(const std::string& folder, FolderVisitor& visitor) {
    WIN32_FIND_DATAA data{};
    const std::string pattern = folder + "*";
    HANDLE find = ::FindFirstFileExA(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                     FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        // An empty drive root lists no entry at all, not even "." and "..".
        return error == ERROR_FILE_NOT_FOUND ? OpResult::success() : FromWinError(error);
    }
    if (visitor.enter(FolderId{0, nextFolder_++})) {
        do {
            const std::string_view name(data.cFileName); // ends at its NUL
            // "?" stands in for a letter the code page lacks; such a name opens nothing.
            if (name == "." || name == ".." || name.find('?') != std::string_view::npos) {
                continue;
            }
            visitor.entry(name, EntryTypeFromAttributes(data.dwFileAttributes));
        } while (::FindNextFileA(find, &data));
    }
    ::FindClose(find);
    return OpResult::success();
}

EntryType WinOs::typeOf(const std::string& path, bool followLinks) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return EntryType::Other;
    }
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0 || !followLinks) {
        return EntryTypeFromAttributes(attributes);
    }
    // Where the link leads: opening it follows it.
    HANDLE h = ::CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return EntryType::Other;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = ::GetFileInformationByHandle(h, &info) != 0;
    ::CloseHandle(h);
    return known ? EntryTypeFromAttributes(info.dwFileAttributes & ~DWORD{FILE_ATTRIBUTE_REPARSE_POINT})
                 : EntryType::Other;
}

} // namespace zelvano
