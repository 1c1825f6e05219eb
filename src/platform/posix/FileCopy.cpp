#include "platform/posix/FileDescriptor.h"
#include "platform/posix/PosixOs.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace zelvano {

namespace {

// What a placeholder holds, so that it can be told from a picture that took its name.
std::string PlaceholderMark() {
    static std::atomic<unsigned> made{0};
    return "zelvano placeholder " + std::to_string(::getpid()) + "." + std::to_string(made++) + "." +
           std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
}

// Whether the name still holds the placeholder, as the drive itself tells on a fresh open: a
// network drive's cached look at the name may still show the placeholder where the picture is.
bool HoldsMark(const char* path, const std::string& mark) {
    FileDescriptor fd(::open(path, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    std::string held(mark.size() + 1, '\0');
    const ssize_t n = fd.valid() ? ::read(fd.get(), held.data(), held.size()) : -1;
    return n == static_cast<ssize_t>(mark.size()) && held.compare(0, mark.size(), mark) == 0;
}

// Renames without replacing: in one step where the file system can. A drive without that (many
// FUSE, SMB and NFS drives, which often lack hard links too) gets the name taken by a file of our
// own first, so that the plain rename can replace nothing but that placeholder. A rename that says
// it failed may have been made all the same, by a drive whose reply was lost: the placeholder goes
// only while it provably holds what was put in it and the source is still in place; else nothing
// is removed, and the failure is told.
int RenameNoReplace(const char* from, const char* to) {
#if defined(__linux__)
    if (::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP && errno != ENOTSUP) {
        return errno;
    }
#endif
    FileDescriptor placeholder(::open(to, O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600));
    if (!placeholder.valid()) {
        return errno; // EEXIST: the name is taken, as the one-step rename says too
    }
    const std::string mark = PlaceholderMark();
    int error = WriteAll(placeholder.get(), mark);
    if (const int closeError = placeholder.close(); error == 0) {
        error = closeError;
    }
    if (error != 0) {
        ::unlink(to); // no rename was tried: the name holds nothing but ours
        return error;
    }
    if (::rename(from, to) != 0) {
        error = errno;
        struct stat source {};
        if (HoldsMark(to, mark) && ::lstat(from, &source) == 0) {
            ::unlink(to);
        }
        return error;
    }
    return 0;
}

// A failed rename's "no such file" is about the source, unless the source is there: then the
// destination's folder is missing.
OpResult RenameFailure(int error, const std::string& from, const std::string& to) {
    struct stat st {};
    const bool sourceThere = error == ENOENT && ::lstat(from.c_str(), &st) == 0;
    return FromErrno(error, sourceThere ? to : from);
}

int CopyContent(int in, int out, LastAnswer* heard) {
    char buffer[1 << 16];
    for (;;) {
        if (heard != nullptr) {
            heard->heard();
        }
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

// Copies `from` into a new file beside `to` and returns its path, or empty with `result` set.
std::string CopyBeside(const std::string& from, const std::string& to, OpResult& result, LastAnswer* heard) {
    FileDescriptor in(::open(from.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat st {};
    if (!in.valid() || ::fstat(in.get(), &st) != 0) {
        result = FromErrno(errno, from);
        return {};
    }
    if (!S_ISREG(st.st_mode)) {
        result = FromErrno(EISDIR, from);
        return {};
    }
    std::string temp = to + ".XXXXXX";
    FileDescriptor out(::mkstemp(temp.data()));
    if (!out.valid()) {
        result = FromErrno(errno, to);
        return {};
    }
    int error = ::fchmod(out.get(), st.st_mode & 07777) == 0 ? 0 : errno;
    if (error == 0) {
        error = CopyContent(in.get(), out.get(), heard);
    }
    if (const int closeError = out.close(); error == 0) {
        error = closeError;
    }
    if (error != 0) {
        ::unlink(temp.c_str());
        result = FromErrno(error, to);
        return {};
    }
    return temp;
}

} // namespace

OpResult PosixOs::renameFile(const std::string& from, const std::string& to, bool replace) {
    const int error = replace ? (::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno)
                              : RenameNoReplace(from.c_str(), to.c_str());
    return error == 0 ? OpResult::success() : RenameFailure(error, from, to);
}

OpResult PosixOs::copyFile(const std::string& from, const std::string& to, bool replace, LastAnswer* heard) {
    struct stat st {};
    if (replace && ::stat(to.c_str(), &st) == 0) {
        // Respect a destination we may not write: open it for writing without changing it.
        FileDescriptor probe(::open(to.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK));
        if (!probe.valid()) {
            return FromErrno(errno, to);
        }
    }
    OpResult result;
    const std::string temp = CopyBeside(from, to, result, heard);
    if (temp.empty()) {
        return result;
    }
    const int error = replace ? (::rename(temp.c_str(), to.c_str()) == 0 ? 0 : errno)
                              : RenameNoReplace(temp.c_str(), to.c_str());
    if (error != 0) {
        ::unlink(temp.c_str());
        return FromErrno(error, to);
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
