#include "platform/win32/WinOs.h"

#include "platform/ScopeExit.h"
#include "platform/win32/DriveStrings.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <shellapi.h>
#include <vector>

namespace zelvano {

namespace {

OpResult LastError(const std::string& path) {
    return FromWinError(::GetLastError(), path);
}

// A handle that is closed when it goes out of scope.
class Handle {
public:
    explicit Handle(HANDLE h) : h_(h) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() {
        if (valid()) {
            ::CloseHandle(h_);
        }
    }
    [[nodiscard]] bool valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
    [[nodiscard]] HANDLE get() const { return h_; }

private:
    HANDLE h_;
};

DWORD WriteAll(HANDLE file, std::string_view data) {
    while (!data.empty()) {
        const DWORD chunk = data.size() > (1U << 30) ? (1U << 30) : static_cast<DWORD>(data.size());
        DWORD written = 0;
        if (!::WriteFile(file, data.data(), chunk, &written, nullptr)) {
            return ::GetLastError();
        }
        data.remove_prefix(written);
    }
    return ERROR_SUCCESS;
}

bool ReadOnly(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

OpResult Move(const std::string& from, const std::string& to, bool replace) {
    return ::MoveFileExA(from.c_str(), to.c_str(), replace ? MOVEFILE_REPLACE_EXISTING : 0)
               ? OpResult::success()
               : LastError(from); // "not found" is about the file that moves
}

} // namespace

Presence WinOs::fileExists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        // A drive with no medium in it is not there now: what it holds comes back with the medium.
        return ::GetLastError() == ERROR_NOT_READY ? Presence::Unknown : Presence::Missing;
    }
    constexpr DWORD notOrdinary = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    return (attributes & notOrdinary) == 0 ? Presence::Present : Presence::Missing;
}

OpResult WinOs::setArchiveOnly(const std::string& path) {
    return ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_ARCHIVE) ? OpResult::success() : LastError(path);
}

OpResult WinOs::deleteFile(const std::string& path) {
    return ::DeleteFileA(path.c_str()) ? OpResult::success() : LastError(path);
}

OpResult WinOs::renameFile(const std::string& from, const std::string& to, bool replace) {
    return Move(from, to, replace);
}

namespace {

// CopyFileEx's report of each piece copied: the drive answers.
DWORD CALLBACK NoteAnswer(LARGE_INTEGER, LARGE_INTEGER, LARGE_INTEGER, LARGE_INTEGER, DWORD, DWORD, HANDLE,
                          HANDLE, LPVOID heard) {
    if (heard != nullptr) {
        static_cast<LastAnswer*>(heard)->heard();
    }
    return PROGRESS_CONTINUE;
}

} // namespace

OpResult WinOs::copyFile(const std::string& from, const std::string& to, bool replace, LastAnswer* heard) {
    if (replace && ReadOnly(to)) {
        return FromWinError(ERROR_ACCESS_DENIED); // as a copy straight onto it would be refused
    }
    const std::string temporary = to + ".zelvano-copy";
    if (!::CopyFileExA(from.c_str(), temporary.c_str(), NoteAnswer, heard, nullptr, 0)) {
        return LastError(from);
    }
    OpResult moved = Move(temporary, to, replace);
    if (!moved.ok()) {
        ::DeleteFileA(temporary.c_str());
    }
    return moved;
}

bool WinOs::sameFile(const std::string& a, const std::string& b) {
    const auto identify = [](const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
        const Handle h(::CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        return h.valid() && ::GetFileInformationByHandle(h.get(), &info);
    };
    BY_HANDLE_FILE_INFORMATION ia{};
    BY_HANDLE_FILE_INFORMATION ib{};
    return identify(a, ia) && identify(b, ib) && ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber &&
           ia.nFileIndexHigh == ib.nFileIndexHigh && ia.nFileIndexLow == ib.nFileIndexLow;
}

OpResult WinOs::readFile(const std::string& path, const ContentSink& sink) {
    const Handle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.valid()) {
        return LastError(path);
    }
    std::vector<char> buffer(std::size_t{1} << 20);
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr)) {
            return LastError(path);
        }
        if (read == 0) {
            return OpResult::success();
        }
        sink({buffer.data(), read});
    }
}

OpResult WinOs::readFileStart(const std::string& path, std::size_t count, std::string& start) {
    start.clear();
    const Handle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        return LastError(path);
    }
    start.resize(count);
    DWORD read = 0;
    const BOOL ok = ::ReadFile(file.get(), start.data(), static_cast<DWORD>(start.size()), &read, nullptr);
    start.resize(ok ? read : 0);
    return ok ? OpResult::success() : LastError(path);
}

OpResult WinOs::readFileEnd(const std::string& path, std::size_t count, std::string& end) {
    end.clear();
    const Handle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file.valid() || !::GetFileSizeEx(file.get(), &size)) {
        return LastError(path);
    }
    const auto total = static_cast<std::uint64_t>(size.QuadPart);
    end.resize(static_cast<std::size_t>(std::min<std::uint64_t>(count, total)));
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(total - end.size());
    DWORD read = 0;
    if (!::SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN) ||
        !::ReadFile(file.get(), end.data(), static_cast<DWORD>(end.size()), &read, nullptr)) {
        end.clear();
        return LastError(path);
    }
    end.resize(read);
    return OpResult::success();
}

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

bool SymbolicLink(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        return false;
    }
    // Other reparse points, a file kept in the cloud or deduplicated, are the file itself.
    const Handle file(::CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    FILE_ATTRIBUTE_TAG_INFO tag{};
    return file.valid() &&
           ::GetFileInformationByHandleEx(file.get(), FileAttributeTagInfo, &tag, sizeof tag) &&
           tag.ReparseTag == IO_REPARSE_TAG_SYMLINK;
}

// The file a rewrite replaces: for a symbolic link, the file it leads to in the end, so that the
// link stays and its target takes the new content. A link that leads nowhere is itself.
std::string FileToReplace(const std::string& path) {
    if (!SymbolicLink(path)) {
        return path;
    }
    const Handle target(
        ::CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING, 0, nullptr));
    std::string resolved(32768, '\0');
    const DWORD n = target.valid() ? ::GetFinalPathNameByHandleA(target.get(), resolved.data(),
                                                                 static_cast<DWORD>(resolved.size()), 0)
                                   : 0;
    if (n == 0 || n >= resolved.size()) {
        return path;
    }
    resolved.resize(n);
    // The program's paths go without the long-path prefix, which the system puts on every final name.
    if (resolved.starts_with("\\\\?\\UNC\\")) {
        return "\\\\" + resolved.substr(8);
    }
    return resolved.starts_with("\\\\?\\") ? resolved.substr(4) : resolved;
}

} // namespace

OpResult WinOs::replaceFile(const std::string& named, const ContentSource& content) {
    const std::string path = FileToReplace(named);
    if (ReadOnly(path)) {
        return FromWinError(ERROR_ACCESS_DENIED); // a list the user protected stays as it is
    }
    const std::string temporary = path + ".zelvano-new";
    DWORD error = ERROR_SUCCESS;
    // What gives the content may stop part way with an exception: the half-written copy goes.
    ScopeExit unfinished([&temporary] { ::DeleteFileA(temporary.c_str()); });
    {
        const Handle file(::CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid()) {
            return LastError(path);
        }
        content([&](std::string_view piece) {
            if (error == ERROR_SUCCESS) {
                error = WriteAll(file.get(), piece);
            }
        });
    }
    if (error == ERROR_SUCCESS &&
        !::MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        error = ::GetLastError();
    }
    if (error != ERROR_SUCCESS) {
        return FromWinError(error, path);
    }
    unfinished.dismiss();
    return OpResult::success();
}

std::string WinOs::executableFolder() {
    char name[MAX_PATH] = {};
    const DWORD n = ::GetModuleFileNameA(nullptr, name, MAX_PATH);
    std::string path(name, n);
    const auto cut = path.rfind('\\');
    if (cut == std::string::npos) {
        return ".";
    }
    path.resize(cut);
    if (path.size() == 2 && path[1] == ':') {
        path += '\\'; // a drive's root keeps its backslash, as the system reports it
    }
    return path;
}

std::string WinOs::driveOf(const std::string& path) {
    return DriveOfWindowsPath(path);
}

std::string WinOs::listFileFolder() {
    return executableFolder(); // a Windows user puts the program in a folder of their own
}

void WinOs::openWebPage(const std::string& address) {
    ::ShellExecuteA(nullptr, nullptr, address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

} // namespace zelvano
