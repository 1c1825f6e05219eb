// plain_drive [--silent | --lost-replies | --slow BYTES_PER_SECOND | --stall-after BYTES] FOLDER
// [fuse options]:
// mounts a drive over FOLDER that shows what FOLDER held, and that, like many FUSE, SMB and NFS
// drives, can rename but has no hard links and takes no rename flags. It prints "ready" once the
// drive answers.
//
// --slow: a far drive: it answers at once, and delivers a file's content at that many bytes a
// second, in pieces. --stall-after: a drive that stops answering in the middle of a file: reads
// past that many bytes wait as a silent drive's listings do.
//
// --silent: a network drive that has stopped answering (a dead NAS, a dropped VPN): every look at
// it, its root too, every listing, read, write, rename and deletion waits until the drive is told to
// go on (SIGUSR1) or is ended (SIGTERM, SIGINT, SIGHUP), which unmounts it. SIGUSR2 makes any drive
// fall silent so, and SIGUSR1 makes it answer again. Run it multithreaded (without -s), so that a
// waiting call holds nothing else up.
//
// --lost-replies: a network drive whose replies to renames are lost on the way back: it renames,
// and the caller hears that it failed.
#define FUSE_USE_VERSION 31

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fuse.h>
#include <poll.h>
#include <string>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int base = -1; // FOLDER as it was before the drive covered it

// A silent drive's calls wait for this pipe to become readable: going on writes to it, falling
// silent empties it.
std::atomic<bool> silent{false};
bool lostReplies = false;  // --lost-replies
double bytesPerSecond = 0; // --slow
off_t stallAfter = -1;     // --stall-after
std::array<int, 2> goOn{-1, -1};
std::array<struct sigaction, NSIG> previous{};

void FallSilent(int /*sig*/) {
    const int saved = errno;
    silent = true;
    char drained[64];
    while (::read(goOn[0], drained, sizeof drained) > 0) {
    }
    errno = saved;
}

void GoOn(int sig) {
    const int saved = errno;
    silent = false;
    [[maybe_unused]] const ssize_t told = ::write(goOn[1], "x", 1);
    errno = saved;
    // The ending signals go on to FUSE's own handler, which ends the drive's loop.
    if (sig != SIGUSR1 && previous[static_cast<std::size_t>(sig)].sa_handler != SIG_DFL &&
        previous[static_cast<std::size_t>(sig)].sa_handler != SIG_IGN) {
        previous[static_cast<std::size_t>(sig)].sa_handler(sig);
    }
}

// Called once FUSE has set its own handlers, which these wrap.
void ListenForGoOn() {
    for (const int sig : {SIGUSR1, SIGUSR2, SIGTERM, SIGINT, SIGHUP}) {
        struct sigaction action {};
        action.sa_handler = sig == SIGUSR2 ? FallSilent : GoOn;
        ::sigemptyset(&action.sa_mask);
        ::sigaction(sig, &action, &previous[static_cast<std::size_t>(sig)]);
    }
}

const char* Relative(const char* path) {
    return path[1] == '\0' ? "." : path + 1;
}

int Result(int r) {
    return r < 0 ? -errno : 0;
}

// Waits, as a silent drive does, until the drive is told to go on or is ended.
void WaitToGoOn() {
    pollfd told{goOn[0], POLLIN, 0};
    while (::poll(&told, 1, -1) < 0 && errno == EINTR) {
    }
}

// A call to a drive that has fallen silent waits until it answers again.
void Answer() {
    while (silent) {
        WaitToGoOn();
    }
}

void* Init(fuse_conn_info* /*conn*/, fuse_config* config) {
    config->use_ino = 1;
    // A slow drive's pieces reach the reader as they come, short ones too, past any cache.
    config->direct_io = bytesPerSecond > 0 ? 1 : 0;
    ListenForGoOn();
    [[maybe_unused]] const ssize_t told = ::write(STDOUT_FILENO, "ready\n", 6);
    return nullptr;
}

int GetAttr(const char* path, struct stat* st, fuse_file_info* fi) {
    Answer();
    return Result(fi != nullptr ? ::fstat(static_cast<int>(fi->fh), st)
                                : ::fstatat(base, Relative(path), st, AT_SYMLINK_NOFOLLOW));
}

int ReadDir(const char* path, void* buffer, fuse_fill_dir_t fill, off_t /*offset*/, fuse_file_info* /*fi*/,
            fuse_readdir_flags /*flags*/) {
    Answer();
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

int Create(const char* path, mode_t mode, fuse_file_info* fi) {
    Answer();
    const int fd = ::openat(base, Relative(path), fi->flags | O_CLOEXEC, mode); // O_CREAT when created
    fi->fh = static_cast<std::uint64_t>(fd);
    return Result(fd);
}

int Read(const char* /*path*/, char* buffer, size_t size, off_t offset, fuse_file_info* fi) {
    Answer();
    if (stallAfter >= 0 && offset + static_cast<off_t>(size) > stallAfter) {
        WaitToGoOn();
    }
    if (bytesPerSecond > 0) {
        size = std::min<size_t>(size, 16384); // in pieces, as a far drive delivers
        ::usleep(static_cast<useconds_t>(1e6 * static_cast<double>(size) / bytesPerSecond));
    }
    const ssize_t n = ::pread(static_cast<int>(fi->fh), buffer, size, offset);
    return n < 0 ? -errno : static_cast<int>(n);
}

int Write(const char* /*path*/, const char* buffer, size_t size, off_t offset, fuse_file_info* fi) {
    Answer();
    const ssize_t n = ::pwrite(static_cast<int>(fi->fh), buffer, size, offset);
    return n < 0 ? -errno : static_cast<int>(n);
}

int Release(const char* /*path*/, fuse_file_info* fi) {
    return Result(::close(static_cast<int>(fi->fh)));
}

int Unlink(const char* path) {
    Answer();
    return Result(::unlinkat(base, Relative(path), 0));
}

int Rename(const char* from, const char* to, unsigned int flags) {
    Answer();
    if (flags != 0) {
        return -EINVAL; // no RENAME_NOREPLACE, no RENAME_EXCHANGE
    }
    const int result = Result(::renameat(base, Relative(from), base, Relative(to)));
    return lostReplies ? -EIO : result;
}

int Chmod(const char* path, mode_t mode, fuse_file_info* fi) {
    Answer();
    return Result(fi != nullptr ? ::fchmod(static_cast<int>(fi->fh), mode)
                                : ::fchmodat(base, Relative(path), mode, 0));
}

} // namespace

int main(int argc, char* argv[]) {
    // The mode comes first, with its number; FUSE takes the rest as it would without them.
    const std::string mode = argc > 1 ? argv[1] : "";
    silent = mode == "--silent";
    lostReplies = mode == "--lost-replies";
    const int taken = silent || lostReplies                                       ? 1
                      : (mode == "--slow" || mode == "--stall-after") && argc > 2 ? 2
                                                                                  : 0;
    if (taken == 2 && mode == "--slow") {
        bytesPerSecond = std::atof(argv[2]);
    } else if (taken == 2) {
        stallAfter = std::atoll(argv[2]);
    }
    argv[taken] = argv[0];
    argv += taken;
    argc -= taken;
    if (argc < 2) {
        std::fprintf(
            stderr,
            "usage: %s [--silent | --lost-replies | --slow BYTES_PER_SECOND | --stall-after BYTES] FOLDER "
            "[fuse options]\n",
            argv[0]);
        return 2;
    }
    // A drive whose test was killed ends, and so unmounts, with it.
    const pid_t parent = ::getppid();
    if (::prctl(PR_SET_PDEATHSIG, SIGTERM) != 0 || ::getppid() != parent) {
        return 1;
    }
    if (::pipe2(goOn.data(), O_CLOEXEC | O_NONBLOCK) != 0) {
        std::perror("pipe");
        return 1;
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
    ops.open = [](const char* path, fuse_file_info* fi) {
        return Create(path, 0, fi);
    };
    ops.create = Create;
    ops.read = Read;
    ops.write = Write;
    ops.release = Release;
    ops.unlink = Unlink;
    ops.rename = Rename;
    ops.chmod = Chmod;
    return fuse_main(argc, argv, &ops, nullptr);
}
