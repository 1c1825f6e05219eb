#include "support/PlainDriveMount.h"

#include "support/PrivateMounts.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace zelvano::test {

namespace {

// Reads `fd` until `wanted` has come, or until its end when `wanted` is empty; false when the end
// or the deadline comes first.
bool ReadUntil(int fd, const std::string& wanted, std::chrono::milliseconds within) {
    const auto deadline = std::chrono::steady_clock::now() + within;
    std::string seen;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, static_cast<int>(std::max<std::int64_t>(left.count(), 0)));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            return false;
        }
        char buffer[256];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0) {
            return wanted.empty();
        }
        seen.append(buffer, static_cast<std::size_t>(n));
        if (!wanted.empty() && seen.find(wanted) != std::string::npos) {
            return true;
        }
    }
}

} // namespace

PlainDriveMount::PlainDriveMount(std::string folder, std::vector<std::string> mode)
    : folder_(std::move(folder)) {
#if !defined(ZELVANO_PLAIN_DRIVE)
    why_ = "the plain drive was not built: pkg-config found no fuse3";
#else
    PrivateMounts(); // where it can be had; a drive that outlives its test ends itself regardless
    if (::access("/dev/fuse", R_OK | W_OK) != 0) {
        why_ = "no /dev/fuse to mount a drive with";
        return;
    }
    if (std::system("command -v fusermount3 >/dev/null") != 0) {
        why_ = "no fusermount3 to unmount a drive with";
        return;
    }
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) {
        why_ = std::string("no pipe: ") + std::strerror(errno);
        return;
    }
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    // In the foreground, so that it stays our child to end and wait for. One thread is plenty, but
    // for a drive that stalls: a read that waits must hold nothing else up.
    std::vector<std::string> words = {ZELVANO_PLAIN_DRIVE};
    words.insert(words.end(), mode.begin(), mode.end());
    words.insert(words.end(), {folder_, "-f"});
    if (mode.empty() || mode.front() != "--stall-after") {
        words.emplace_back("-s");
    }
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    const int spawned = ::posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    output_ = out[0];
    if (spawned != 0) {
        pid_ = -1;
        why_ = "the plain drive did not start: " + std::string(std::strerror(spawned));
    } else if (!ReadUntil(output_, "ready\n", std::chrono::seconds(10))) {
        why_ = "the plain drive could not be mounted on " + folder_;
    }
#endif
}

void PlainDriveMount::goOn() const {
    if (pid_ >= 0) {
        ::kill(pid_, SIGUSR1);
    }
}

void PlainDriveMount::stop() {
    if (pid_ >= 0) {
        const std::string q = "'" + folder_ + "'";
        (void)std::system(
            ("fusermount3 -u " + q + " 2>/dev/null || umount -l " + q + " 2>/dev/null").c_str());
        // Unmounted, the drive ends and closes its output; one that does not is ended here.
        if (!ReadUntil(output_, {}, std::chrono::seconds(5))) {
            ::kill(pid_, SIGKILL);
        }
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
    if (output_ >= 0) {
        ::close(output_);
        output_ = -1;
    }
}

} // namespace zelvano::test
