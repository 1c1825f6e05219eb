// plain_drive FOLDER [fuse options]: mounts a drive over FOLDER that shows what FOLDER held, and
// that, like many FUSE, SMB and NFS drives, can rename but has no hard links and takes no rename
// flags. It prints "ready" once the drive answers.
#define FUSE_USE_VERSION 31

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <fuse.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int base = -1; // FOLDER as it was before the drive covered it

const char* Relative(const char* path) {
    return path[1] == '\0' ? "." : path + 1;
}

int Result(int r) {
    return r < 0 ? -errno : 0;
}

void* Init(fuse_conn_info* /*conn*/, fuse_config* config) {
    config->use_ino = 1;
    [[maybe_unused]] const ssize_t told = ::write(STDOUT_FILENO, "ready\n", 6);
    return nullptr;
}

int GetAttr(const char* path, struct stat* st, fuse_file_info* fi) {
    return Result(fi != nullptr ? ::fstat(static_cast<int>(fi->fh), st)
                                : ::fstatat(base, Relative(path), st, AT_SYMLINK_NOFOLLOW));
}

int ReadDir(const char* path, void* buffer, fuse_fill_dir_t fill, off_t /*offset*/, fuse_file_info* /*fi*/,
            fuse_readdir_flags /*flags*/) {
    const int fd = ::openat(base, Relative(path), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* folder = fd < 0 ? nullptr : ::fdopendir(fd);
    if (folder == nullptr) {
        return -errno;
    }
    while (const dirent* entry = ::readdir(folder)) {
        fill(buffer, entry->d_name, nullptr, 0, static_cast<fuse_fill_dir_flags>(0));
    }
    ::closedir(folder);
    return 0;
}

int Open(const char* path, fuse_file_info* fi) {
    const int fd = ::openat(base, Relative(path), fi->flags | O_CLOEXEC);
    fi->fh = static_cast<std::uint64_t>(fd);
    return Result(fd);
}

int Create(const char* path, mode_t mode, fuse_file_info* fi) {
    const int fd = ::openat(base, Relative(path), fi->flags | O_CREAT | O_CLOEXEC, mode);
    fi->fh = static_cast<std::uint64_t>(fd);
    return Result(fd);
}

int Read(const char* /*path*/, char* buffer, size_t size, off_t offset, fuse_file_info* fi) {
    const ssize_t n = ::pread(static_cast<int>(fi->fh), buffer, size, offset);
    return n < 0 ? -errno : static_cast<int>(n);
}

int Write(const char* /*path*/, const char* buffer, size_t size, off_t offset, fuse_file_info* fi) {
    const ssize_t n = ::pwrite(static_cast<int>(fi->fh), buffer, size, offset);
    return n < 0 ? -errno : static_cast<int>(n);
}

int Release(const char* /*path*/, fuse_file_info* fi) {
    return Result(::close(static_cast<int>(fi->fh)));
}

int Unlink(const char* path) {
    return Result(::unlinkat(base, Relative(path), 0));
}

int Rename(const char* from, const char* to, unsigned int flags) {
    if (flags != 0) {
        return -EINVAL; // no RENAME_NOREPLACE, no RENAME_EXCHANGE
    }
    return Result(::renameat(base, Relative(from), base, Relative(to)));
}

int Chmod(const char* path, mode_t mode, fuse_file_info* fi) {
    return Result(fi != nullptr ? ::fchmod(static_cast<int>(fi->fh), mode)
                                : ::fchmodat(base, Relative(path), mode, 0));
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER [fuse options]\n", argv[0]);
        return 2;
    }
    base = ::open(argv[1], O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (base < 0) {
        std::perror(argv[1]);
        return 1;
    }
    fuse_operations ops{};
    ops.init = Init;
    ops.getattr = GetAttr;
    ops.readdir = ReadDir;
    ops.open = Open;
    ops.create = Create;
    ops.read = Read;
    ops.write = Write;
    ops.release = Release;
    ops.unlink = Unlink;
    ops.rename = Rename;
    ops.chmod = Chmod;
    return fuse_main(argc, argv, &ops, nullptr);
}
