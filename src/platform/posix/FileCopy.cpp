#include "platform/posix/FileDescriptor.h"
#include "platform/posix/PosixOs.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zelvano {

namespace {

OpResult LastError() {
    return FromErrno(errno);
}

// Renames without replacing: in one step where the file system can, else by a new link.
int RenameNoReplace(const char* from, const char* to) {
#if defined(__linux__)
    if (::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return errno;
    }
#endif
    if (::link(from, to) != 0) {
        return errno;
    }
    return ::unlink(from) == 0 ? 0 : errno;
}

int CopyContent(int in, int out) {
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n == 0) {
            return 0;
        }
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        if (const int error = WriteAll(out, {buffer, static_cast<std::size_t>(n)}); error != 0) {
            return error;
        }
    }
}

// Copies `from` into a new file beside `to` and returns its path, or empty with `error` set.
std::string CopyBeside(const std::string& from, const std::string& to, int& error) {
    FileDescriptor in(::open(from.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat st {};
    if (!in.valid() || ::fstat(in.get(), &st) != 0) {
        error = errno;
        return {};
    }
    if (!S_ISREG(st.st_mode)) {
        error = EISDIR;
        return {};
    }
    std::string temp = to + ".XXXXXX";
    FileDescriptor out(::mkstemp(temp.data()));
    if (!out.valid()) {
        error = errno;
        return {};
    }
    error = ::fchmod(out.get(), st.st_mode & 07777) == 0 ? 0 : errno;
    if (error == 0) {
        error = CopyContent(in.get(), out.get());
    }
    if (const int closeError = out.close(); error == 0) {
        error = closeError;
    }
    if (error != 0) {
        ::unlink(temp.c_str());
        return {};
    }
    return temp;
}

} // namespace

OpResult PosixOs::renameFile(const std::string& from, const std::string& to, bool replace) {
    if (replace) {
        return ::rename(from.c_str(), to.c_str()) == 0 ? OpResult::success() : LastError();
    }
    const int error = RenameNoReplace(from.c_str(), to.c_str());
    return error == 0 ? OpResult::success() : FromErrno(error);
}

OpResult PosixOs::copyFile(const std::string& from, const std::string& to, bool replace) {
    struct stat st {};
    if (replace && ::stat(to.c_str(), &st) == 0) {
        // Respect a destination we may not write: open it for writing without changing it.
        FileDescriptor probe(::open(to.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK));
        if (!probe.valid()) {
            return LastError();
        }
    }
    int error = 0;
    const std::string temp = CopyBeside(from, to, error);
    if (temp.empty()) {
        return FromErrno(error);
    }
    error = replace ? (::rename(temp.c_str(), to.c_str()) == 0 ? 0 : errno)
                    : RenameNoReplace(temp.c_str(), to.c_str());
    if (error != 0) {
        ::unlink(temp.c_str());
        return FromErrno(error);
    }
    return OpResult::success();
}

bool PosixOs::sameFile(const std::string& a, const std::string& b) {
    struct stat sa {};
    struct stat sb {};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

} // namespace zelvano
