#include "platform/win32/window/SingleInstance.h"

#include "platform/win32/CodePage.h"
#include "platform/win32/window/Win32Window.h"

#include <cstdint>
#include <cstdio>
#include <string_view>
#include <thread>

namespace zelvano {

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// The folder as the system tells folders apart: its volume and its number there, the same under
// every drive letter and share name that reaches it. Empty when the folder cannot be opened, or
// when its file system numbers no files (some network shares say 0 for all), which would give
// every folder there one name.
std::string NameByIdentity(const std::string& folder) {
    const HANDLE handle = ::CreateFileA(folder.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return {};
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const BOOL known = ::GetFileInformationByHandle(handle, &info);
    ::CloseHandle(handle);
    if (!known || (info.nFileIndexHigh == 0 && info.nFileIndexLow == 0)) {
        return {};
    }
    char name[40];
    std::snprintf(name, sizeof name, "Zelvano-%08lx-%08lx%08lx", info.dwVolumeSerialNumber,
                  info.nFileIndexHigh, info.nFileIndexLow);
    return name;
}

// A folder that cannot be opened is told by its long name, letter case aside: one reached under
// two drive letters then counts as two.
std::string NameByPath(const std::string& folder) {
    std::wstring wide = WideFromCodePage(folder).value_or(std::wstring());
    std::wstring longName(32768, L'\0');
    const DWORD n = ::GetLongPathNameW(wide.c_str(), longName.data(), static_cast<DWORD>(longName.size()));
    if (n > 0 && n < longName.size()) {
        wide.assign(longName.data(), n);
    }
    if (!wide.empty()) {
        ::CharUpperBuffW(wide.data(), static_cast<DWORD>(wide.size()));
    }
    std::uint64_t hash = 14695981039346656037ULL; // FNV-1a
    for (const wchar_t unit : wide) {
        hash = (hash ^ static_cast<std::uint16_t>(unit)) * 1099511628211ULL;
    }
    char name[32];
    std::snprintf(name, sizeof name, "Zelvano-%016llx", static_cast<unsigned long long>(hash));
    return name;
}

struct Search {
    const std::string* name;
    HWND found = nullptr;
};

BOOL CALLBACK IsMarked(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<Search*>(lParam);
    char windowClass[32] = {};
    ::GetClassNameA(window, windowClass, sizeof windowClass);
    if (std::string_view(windowClass) == kMainWindowClass &&
        ::GetPropA(window, search->name->c_str()) != nullptr) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

SingleInstance::SingleInstance(const std::string& listFolder) : name_(NameByIdentity(listFolder)) {
    if (name_.empty()) {
        name_ = NameByPath(listFolder);
    }
    // Local: one copy per folder in each session, as each session has its own windows.
    mutex_ = ::CreateMutexA(nullptr, FALSE, ("Local\\" + name_).c_str());
    const DWORD error = ::GetLastError();
    // A copy run by another user (or elevated) holds a mutex this one may not open.
    first_ = !(error == ERROR_ALREADY_EXISTS || (mutex_ == nullptr && error == ERROR_ACCESS_DENIED));
    if (first_) {
        // An atom of our own names the mark, so that marking adds no reference to the global one.
        mark_ = ::GlobalAddAtomA(name_.c_str());
    }
}

SingleInstance::~SingleInstance() {
    if (mark_ != 0) {
        ::GlobalDeleteAtom(mark_);
    }
    if (mutex_ != nullptr) {
        ::CloseHandle(mutex_);
    }
}

void SingleInstance::mark(HWND window) const {
    if (mark_ != 0) {
        ::SetPropA(window, MAKEINTATOM(mark_), reinterpret_cast<HANDLE>(1));
    }
}

bool SingleInstance::showFirst(std::chrono::milliseconds patience) const {
    const auto until = std::chrono::steady_clock::now() + patience;
    for (;;) {
        Search search{&name_};
        ::EnumWindows(IsMarked, reinterpret_cast<LPARAM>(&search));
        // The window is made before the lists are loaded and shown after: until then only a
        // message it shows may be in sight.
        HWND shown = search.found != nullptr ? ::GetLastActivePopup(search.found) : nullptr;
        if (shown != nullptr && ::IsWindowVisible(shown)) {
            if (::IsIconic(search.found)) {
                // Not waited for: a first copy that does not answer must not hold this one.
                ::ShowWindowAsync(search.found, SW_RESTORE);
            }
            ::SetForegroundWindow(shown);
            return true;
        }
        if (std::chrono::steady_clock::now() >= until) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

} // namespace zelvano
