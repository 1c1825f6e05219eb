#include "platform/posix/PosixOs.h"

#include "platform/FileFailure.h"
#include "platform/ScopeExit.h"
#include "platform/posix/FileDescriptor.h"
#include "platform/posix/MountTable.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace zelvano {

bool IsFolder(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

OpResult FromErrno(int error, std::string_view path) {
    if (error == ENOENT && !path.empty()) {
        // An unplugged drive leaves its empty mount folder behind: its files are away, not gone.
        if (OnAbsentDrive(path)) {
            return OpResult::fail(Failure::Other,
                                  std::string(std::strerror(error)) + " (its drive is not mounted)");
        }
        return FileNotFound(path, '/', IsFolder, std::strerror(error));
    }
    Failure kind = Failure::Other;
    switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
        kind = Failure::AccessError;
        break;
    default:
        break;
    }
    return OpResult::fail(kind, std::strerror(error));
}

namespace {

OpResult LastError(const std::string& path) {
    return FromErrno(errno, path);
}

// Writes `content` to a new file in `folder` and returns its path, or empty with `result` set.
std::string WriteBeside(const std::string& path, const ContentSource& content, mode_t mode,
                        OpResult& result) {
    std::string temp = path + ".XXXXXX";
    FileDescriptor fd(::mkstemp(temp.data()));
    if (!fd.valid()) {
        result = LastError(path);
        return {};
    }
    // What gives the content may stop part way with an exception: the half-written copy goes.
    ScopeExit unfinished([&temp] { ::unlink(temp.c_str()); });
    int error = ::fchmod(fd.get(), mode) == 0 ? 0 : errno;
    if (error == 0) {
        content([&](std::string_view piece) {
            if (error == 0) {
                error = WriteAll(fd.get(), piece);
            }
        });
    }
    if (const int closeError = fd.close(); error == 0) {
        error = closeError;
    }
    if (error != 0) {
        result = FromErrno(error, path);
        return {};
    }
    unfinished.dismiss();
    return temp;
}

} // namespace

Presence PosixOs::fileExists(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode)) {
        return Presence::Present;
    }
    return OnAbsentDrive(path) ? Presence::Unknown : Presence::Missing; // see FromErrno
}

OpResult PosixOs::setArchiveOnly(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        return LastError(path);
    }
    if ((st.st_mode & S_IWUSR) != 0) {
        return OpResult::success();
    }
    return ::chmod(path.c_str(), (st.st_mode & 07777) | S_IWUSR) == 0 ? OpResult::success() : LastError(path);
}

OpResult PosixOs::deleteFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0 ? OpResult::success() : LastError(path);
}

OpResult PosixOs::readFile(const std::string& path, const ContentSink& sink) {
    // Non-blocking, so that a pipe in the file's place cannot hang the window.
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd.valid()) {
        return LastError(path);
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) {
        return LastError(path);
    }
    if (!S_ISREG(st.st_mode)) {
        return OpResult::fail(Failure::Other, "not an ordinary file");
    }
    std::vector<char> buffer(std::size_t{1} << 20);
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return LastError(path);
        }
        if (n == 0) {
            return OpResult::success();
        }
        sink({buffer.data(), static_cast<std::size_t>(n)});
    }
}

OpResult PosixOs::readFileStart(const std::string& path, std::size_t count, std::string& start) {
    start.clear();
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd.valid()) {
        return LastError(path);
    }
    start.resize(count);
    const ssize_t n = ::pread(fd.get(), start.data(), start.size(), 0);
    start.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return n < 0 ? LastError(path) : OpResult::success();
}

OpResult PosixOs::readFileEnd(const std::string& path, std::size_t count, std::string& end) {
    end.clear();
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat st {};
    if (!fd.valid() || ::fstat(fd.get(), &st) != 0) {
        return LastError(path);
    }
    const auto size = static_cast<std::size_t>(st.st_size);
    end.resize(std::min(count, size));
    const ssize_t n = ::pread(fd.get(), end.data(), end.size(), static_cast<off_t>(size - end.size()));
    if (n < 0) {
        end.clear();
        return LastError(path);
    }
    end.resize(static_cast<std::size_t>(n));
    return OpResult::success();
}

namespace {

// The process's file mode mask, read without changing it: a mask changed even for a moment would
// give the wrong mode to a file that another thread creates meanwhile. Where the system does not
// tell it, new lists are the user's alone.
mode_t CreationMask() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("Umask:", 0) == 0) {
            return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
        }
    }
    return 077;
}

// Where a chain of links at `path` ends; `path` itself when it is no link. A list kept on another
// disk and linked in must stay linked, so a rewrite replaces the file the links lead to.
std::string FinalTarget(PosixOs& os, const std::string& path) {
    std::string at = path;
    for (int hop = 0; hop < 40; ++hop) { // the system's own limit on links in a row
        const std::string target = os.linkTarget(at);
        if (target.empty()) {
            break;
        }
        const std::string folder = FolderPart(at, '/');
        at = target.front() == '/' || folder.empty() ? target : folder + "/" + target;
    }
    return at;
}

} // namespace

OpResult PosixOs::replaceFile(const std::string& listed, const ContentSource& content) {
    const std::string path = FinalTarget(*this, listed);
    mode_t mode = 0666 & ~CreationMask();
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        // Respect a file we may not write: open it for writing without changing it.
        FileDescriptor probe(::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK));
        if (!probe.valid()) {
            return LastError(path);
        }
        mode = st.st_mode & 07777;
    }
    OpResult result;
    const std::string temp = WriteBeside(path, content, mode, result);
    if (temp.empty()) {
        return result;
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        result = LastError(path);
        ::unlink(temp.c_str());
    }
    return result;
}

std::string PosixOs::executableFolder() {
    std::string exe(PATH_MAX, '\0');
    const ssize_t n = ::readlink("/proc/self/exe", exe.data(), exe.size());
    if (n <= 0) {
        return ".";
    }
    exe.resize(static_cast<std::size_t>(n));
    const std::string folder = FolderPart(exe, '/');
    return folder.empty() ? std::string(".") : folder;
}

std::string DataFolder(const char* xdgDataHome, const char* home) {
    if (xdgDataHome != nullptr && xdgDataHome[0] == '/') {
        return std::string(xdgDataHome) + "/zelvano";
    }
    if (home != nullptr && home[0] == '/') {
        return std::string(home) + "/.local/share/zelvano";
    }
    return {};
}

namespace {

// Whether the program runs from where an install put it: its folder is a bin folder with the
// program's desktop entry installed beside it (see data/CMakeLists.txt), under whatever prefix.
bool Installed(const std::string& folder) {
    struct stat st {};
    return folder.size() >= 4 && folder.compare(folder.size() - 4, 4, "/bin") == 0 &&
           ::stat((folder + "/../share/applications/org.zelvano.Zelvano.desktop").c_str(), &st) == 0;
}

} // namespace

std::string PosixOs::listFileFolder() {
    if (!listFileFolder_.empty()) {
        return listFileFolder_;
    }
    // An installed program's folder (/usr/bin) is not the user's, even for root who may write
    // there, and neither is a folder the user cannot write: the lists then live with the user's
    // data, made on the way as the XDG rules ask (mode 0700).
    listFileFolder_ = executableFolder();
    if (Installed(listFileFolder_) || ::faccessat(AT_FDCWD, listFileFolder_.c_str(), W_OK, AT_EACCESS) != 0) {
        const std::string data = DataFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
        for (std::size_t at = data.find('/', 1); !data.empty(); at = data.find('/', at + 1)) {
            ::mkdir(data.substr(0, at).c_str(), 0700); // an existing folder stays as it is
            if (at == std::string::npos) {
                break;
            }
        }
        if (!data.empty()) {
            listFileFolder_ = data;
        }
    }
    return listFileFolder_;
}

void PosixOs::openWebPage(const std::string& address) {
    // Twice forked, so that the browser outlives nothing of ours and leaves no zombie behind.
    const pid_t child = ::fork();
    if (child == 0) {
        if (::fork() == 0) {
            ::setsid();
            ::execlp("xdg-open", "xdg-open", address.c_str(), static_cast<char*>(nullptr));
        }
        ::_exit(0);
    }
    if (child > 0) {
        int status = 0;
        ::waitpid(child, &status, 0);
    }
}

} // namespace zelvano
