#include "platform/posix/SingleInstance.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace zelvano {

namespace {

// A folder only this user may enter: another user's, or one others may write or enter, could
// hold a socket that is not ours.
bool OwnClosedFolder(const std::string& folder) {
    struct stat st {};
    return ::lstat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
           (st.st_mode & 077) == 0;
}

// The socket of the copy that runs for the folder, named by the folder's identity so that two
// spellings of one folder (a link, a bind) are one.
std::string SocketPath(const struct stat& folder) {
    const std::string runtime = RuntimeFolder(std::getenv("XDG_RUNTIME_DIR"));
    if (runtime.empty()) {
        return {};
    }
    return runtime + "/zelvano-" + std::to_string(folder.st_dev) + "-" + std::to_string(folder.st_ino);
}

std::string SocketPath(const std::string& listFolder) {
    struct stat st {};
    return ::stat(listFolder.c_str(), &st) == 0 ? SocketPath(st) : std::string();
}

bool Address(const std::string& path, sockaddr_un& a) {
    a = {};
    a.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof a.sun_path) {
        return false;
    }
    std::memcpy(a.sun_path, path.data(), path.size());
    return true;
}

bool WaitFor(int fd, short events, std::chrono::milliseconds patience) {
    pollfd p{fd, events, 0};
    return ::poll(&p, 1, static_cast<int>(patience.count())) == 1 && (p.revents & events) != 0;
}

FileDescriptor Listen(const std::string& path) {
    sockaddr_un a{};
    FileDescriptor listener(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!listener.valid() || !Address(path, a)) {
        return FileDescriptor(-1);
    }
    ::unlink(path.c_str()); // left by a copy that ended without a word: this one holds the lock
    if (::bind(listener.get(), reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0 ||
        ::listen(listener.get(), 8) != 0) {
        return FileDescriptor(-1);
    }
    return listener;
}

// Locks the list folder: the folder itself, which every user who may read it can lock, whatever
// lies in it. A network file system locks only what is open for writing, and refuses a folder:
// there a lock file of the folder's owner's stands for it, and whoever cannot open it cannot run
// here. Gives 0, or why no lock was had (EWOULDBLOCK: another copy holds it).
int Lock(const std::string& listFolder, FileDescriptor& held, struct stat& folderId) {
    FileDescriptor folder(::open(listFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.valid() || ::fstat(folder.get(), &folderId) != 0) {
        return errno;
    }
    if (::flock(folder.get(), LOCK_EX | LOCK_NB) == 0) {
        held = std::move(folder);
        return 0;
    }
    if (errno == EWOULDBLOCK) {
        return EWOULDBLOCK;
    }
    FileDescriptor file(::open((listFolder + "/.zelvano.lock").c_str(),
                               O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600));
    if (!file.valid() || ::flock(file.get(), LOCK_EX | LOCK_NB) != 0) {
        return errno;
    }
    held = std::move(file);
    return 0;
}

} // namespace

std::string RuntimeFolder(const char* xdgRuntimeDir) {
    if (xdgRuntimeDir != nullptr && xdgRuntimeDir[0] == '/' && OwnClosedFolder(xdgRuntimeDir)) {
        return xdgRuntimeDir;
    }
    const std::string own = "/tmp/zelvano-" + std::to_string(::geteuid());
    ::mkdir(own.c_str(), 0700); // one already there is used only when it passes the test below
    return OwnClosedFolder(own) ? own : std::string();
}

SingleInstance::SingleInstance(const std::string& listFolder) {
    struct stat folder {};
    const int error = Lock(listFolder, lock_, folder);
    if (error != 0) {
        start_ = error == EWOULDBLOCK ? Start::Running : Start::NoLock;
        why_ = std::strerror(error);
        return;
    }
    start_ = Start::First;
    listener_ = Listen(SocketPath(folder));
}

bool SingleInstance::BringForward(const std::string& listFolder, std::chrono::milliseconds patience) {
    using Clock = std::chrono::steady_clock;
    const auto until = Clock::now() + patience;
    sockaddr_un a{};
    if (!Address(SocketPath(listFolder), a)) {
        return false;
    }
    do {
        FileDescriptor s(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
        if (s.valid() && ::connect(s.get(), reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now());
            char reply = 0;
            return WaitFor(s.get(), POLLIN, std::max(left, {})) && ::read(s.get(), &reply, 1) == 1;
        }
        // The running copy may not listen yet: it takes the lock first.
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    } while (Clock::now() < until);
    return false;
}

bool SingleInstance::answer() const {
    bool asked = false;
    for (;;) {
        const FileDescriptor s(::accept4(listener_.get(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
        if (!s.valid()) {
            return asked; // none left waiting
        }
        // A connection is the whole request: nothing is read from it, so nothing can make the
        // window wait. Only this user's own starts are answered.
        ucred peer{};
        socklen_t size = sizeof peer;
        if (::getsockopt(s.get(), SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == ::geteuid()) {
            asked = true;
            // A start that has given up waiting has gone: its socket is closed, and a plain write
            // to it would end this copy with SIGPIPE.
            (void)::send(s.get(), "K", 1, MSG_NOSIGNAL | MSG_DONTWAIT);
        }
    }
}

} // namespace zelvano
