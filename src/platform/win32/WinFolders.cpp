#include "platform/win32/CodePage.h"
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
    // Listed in UTF-16, since the 8-bit listing gives look-alikes for the letters the code page
    // lacks; each name is then kept only when its bytes open that very file.
    const std::optional<std::wstring> wideFolder = WideFromCodePage(folder);
    if (!wideFolder) {
        return OpResult::fail(Failure::Other, "the folder's name is not text of the code page");
    }
    WIN32_FIND_DATAW data{};
    const std::wstring pattern = *wideFolder + L'*';
    HANDLE find = ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                     FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        // An empty drive root lists no entry at all, not even "." and "..".
        return error == ERROR_FILE_NOT_FOUND ? OpResult::success() : FromWinError(error);
    }
    // The program's paths are opened without the long-path prefix, so a full path must stay
    // below MAX_PATH with its closing NUL, counted in UTF-16 units. A folder is worth entering
    // only when a file in it could be opened: its name, a separator and one letter at least.
    const auto room = static_cast<long long>(MAX_PATH) - 1 - static_cast<long long>(wideFolder->size());
    if (visitor.enter(FolderId{0, nextFolder_++})) {
        std::string name;
        do {
            const std::wstring_view wide(data.cFileName); // ends at its NUL
            if (wide == L"." || wide == L"..") {
                continue;
            }
            const EntryType type = EntryTypeFromAttributes(data.dwFileAttributes);
            const auto needed = static_cast<long long>(wide.size()) + (type == EntryType::Folder ? 2 : 0);
            if (needed <= room && ExactCodePage(wide, name)) {
                visitor.entry(name, type);
            }
        } while (::FindNextFileW(find, &data));
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
