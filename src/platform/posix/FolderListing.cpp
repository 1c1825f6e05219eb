#include "platform/posix/FileDescriptor.h"
#include "platform/posix/MountTable.h"
#include "platform/posix/PosixOs.h"

#include <cerrno>
#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#if defined(__linux__)
#include <sys/syscall.h>
#endif

namespace zelvano {

namespace {

EntryType FromMode(mode_t mode) {
    if (S_ISREG(mode)) {
        return EntryType::File;
    }
    if (S_ISDIR(mode)) {
        return EntryType::Folder;
    }
    return S_ISLNK(mode) ? EntryType::Link : EntryType::Other;
}

EntryType FromDirentType(unsigned char type) {
    switch (type) {
    case DT_REG:
        return EntryType::File;
    case DT_DIR:
        return EntryType::Folder;
    case DT_LNK:
        return EntryType::Link;
    case DT_UNKNOWN:
        return EntryType::Unknown;
    default:
        return EntryType::Other;
    }
}

bool IsDotOrDotDot(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

#if defined(__linux__)
// One getdents64 buffer holds a few hundred entries, so most folders take one or two calls.
struct LinuxDirent {
    ino64_t d_ino;
    off64_t d_off;
    unsigned short d_reclen;
    unsigned char d_type;
    char d_name[1];
};

OpResult ListEntries(int fd, FolderVisitor& visitor) {
    alignas(8) static thread_local char buffer[64 * 1024];
    for (;;) {
        const long n = ::syscall(SYS_getdents64, fd, buffer, sizeof buffer);
        if (n == 0) {
            return OpResult::success();
        }
        if (n < 0) {
            return FromErrno(errno);
        }
        for (long at = 0; at < n;) {
            const auto* d = reinterpret_cast<const LinuxDirent*>(buffer + at);
            at += d->d_reclen;
            if (!IsDotOrDotDot(d->d_name)) {
                visitor.entry(d->d_name, FromDirentType(d->d_type));
            }
        }
    }
}
#else
OpResult ListEntries(int fd, FolderVisitor& visitor) {
    DIR* dir = ::fdopendir(::dup(fd));
    if (dir == nullptr) {
        return FromErrno(errno);
    }
    errno = 0;
    while (const dirent* d = ::readdir(dir)) {
        if (!IsDotOrDotDot(d->d_name)) {
            visitor.entry(d->d_name, FromDirentType(d->d_type));
        }
    }
    const int error = errno;
    ::closedir(dir);
    return error == 0 ? OpResult::success() : FromErrno(error);
}
#endif

} // namespace

namespace {

// The mount table of the program's own mount namespace; procfs answers for it, not the drives.
std::string MountInfo() {
    std::ifstream in("/proc/self/mountinfo");
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Only asked about btrfs mounts, which are local disks (see DrivesFromMountInfo).
std::optional<std::uint64_t> DeviceOfPoint(const std::string& point) {
    struct stat st {};
    return ::stat(point.c_str(), &st) == 0 ? std::optional<std::uint64_t>(st.st_dev) : std::nullopt;
}

} // namespace

std::vector<std::string> PosixOs::listDrives() {
    const std::string table = MountInfo();
    return table.empty() ? std::vector<std::string>{"/"} : DrivesFromMountInfo(table, DeviceOfPoint);
}

std::string PosixOs::driveOf(const std::string& path) {
    return DriveOfPath(MountInfo(), path);
}

std::vector<std::string> PosixOs::otherDrivesWithin(const std::string& root) {
    return OtherDrivesWithin(MountInfo(), root, DeviceOfPoint);
}

OpResult PosixOs::listFolder(const std::string& folder, FolderVisitor& visitor) {
    // No link is followed into: the folder was listed as a folder, and must still be one. A
    // trailing separator would make the system follow a link, so it is left off.
    const std::string path =
        folder.size() > 1 && folder.back() == '/' ? folder.substr(0, folder.size() - 1) : folder;
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
    if (!fd.valid()) {
        return FromErrno(errno);
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) {
        return FromErrno(errno);
    }
    if (!visitor.enter(
            FolderId{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)})) {
        return OpResult::success();
    }
    return ListEntries(fd.get(), visitor);
}

std::string PosixOs::linkTarget(const std::string& path) {
    std::string target(PATH_MAX, '\0');
    const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
    target.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return target;
}

EntryType PosixOs::typeOf(const std::string& path, bool followLinks) {
    struct stat st {};
    const int result = followLinks ? ::stat(path.c_str(), &st) : ::lstat(path.c_str(), &st);
    return result == 0 ? FromMode(st.st_mode) : EntryType::Other;
}

} // namespace zelvano
