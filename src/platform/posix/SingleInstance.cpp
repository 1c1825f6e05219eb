#include "platform/posix/SingleInstance.h"

#include <cerrno>
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

// The folder by its identity, so that two spellings of one folder (a link, a bind) are one.
std::string AddressOf(const std::string& folder) {
    struct stat st {};
    const std::string identity = ::stat(folder.c_str(), &st) == 0
                                     ? std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino)
                                     : folder;
    return "zelvano/" + std::to_string(std::hash<std::string>{}(identity));
}

sockaddr_un SocketAddress(const std::string& name, socklen_t& length) {
    sockaddr_un a{};
    a.sun_family = AF_UNIX;
    // An abstract address: its first byte is NUL, and it goes with the last socket that holds it.
    std::memcpy(a.sun_path + 1, name.data(), name.size());
    length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
    return a;
}

bool WaitFor(int fd, short events, std::chrono::milliseconds patience) {
    pollfd p{fd, events, 0};
    return ::poll(&p, 1, static_cast<int>(patience.count())) == 1 && (p.revents & events) != 0;
}

} // namespace

SingleInstance::SingleInstance(const std::string& listFolder) {
    FileDescriptor lock(
        ::open((listFolder + "/.zelvano.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!lock.valid()) {
        return;
    }
    if (::flock(lock.get(), LOCK_EX | LOCK_NB) != 0) {
        first_ = errno != EWOULDBLOCK;
        return;
    }
    lock_ = std::move(lock);
    FileDescriptor listener(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    socklen_t length = 0;
    const sockaddr_un a = SocketAddress(AddressOf(listFolder), length);
    if (listener.valid() && ::bind(listener.get(), reinterpret_cast<const sockaddr*>(&a), length) == 0 &&
        ::listen(listener.get(), 4) == 0) {
        listener_ = std::move(listener);
    }
}

bool SingleInstance::BringForward(const std::string& listFolder, std::chrono::milliseconds patience) {
    using Clock = std::chrono::steady_clock;
    const auto until = Clock::now() + patience;
    socklen_t length = 0;
    const sockaddr_un a = SocketAddress(AddressOf(listFolder), length);
    do {
        FileDescriptor s(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
        if (s.valid() && ::connect(s.get(), reinterpret_cast<const sockaddr*>(&a), length) == 0) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now());
            char reply = 0;
            return ::send(s.get(), "F", 1, MSG_NOSIGNAL) == 1 &&
                   WaitFor(s.get(), POLLIN, std::max(left, {})) && ::read(s.get(), &reply, 1) == 1;
        }
        // The running copy may not listen yet: it takes the lock first.
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    } while (Clock::now() < until);
    return false;
}

void SingleInstance::answer() const {
    for (;;) {
        const FileDescriptor s(::accept4(listener_.get(), nullptr, nullptr, SOCK_CLOEXEC));
        if (!s.valid()) {
            return; // none left waiting
        }
        char request = 0;
        if (WaitFor(s.get(), POLLIN, std::chrono::milliseconds(500)) && ::read(s.get(), &request, 1) == 1) {
            // A start that has given up waiting has gone: its socket is closed, and a plain write
            // to it would end this copy with SIGPIPE.
            (void)::send(s.get(), "K", 1, MSG_NOSIGNAL);
        }
    }
}

} // namespace zelvano
