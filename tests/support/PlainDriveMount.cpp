#include "support/PlainDriveMount.h"

#include "support/PrivateMounts.h"

#include <cerrno>
#include <chrono>
#include <csignal>
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

// What one read of `fd` gives within `within`: its byte count, 0 at its end, -1 when nothing came.
// The drive says "ready" once mounted, and its output ends with it.
ssize_t ReadWithin(int fd, std::chrono::milliseconds within) {
    pollfd p{fd, POLLIN, 0};
    char buffer[64];
    return ::poll(&p, 1, static_cast<int>(within.count())) == 1 ? ::read(fd, buffer, sizeof buffer) : -1;
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
    // In the foreground, so that it stays our child to end and wait for; with a thread for each
    // call, so that a call that waits on a silent or stalled drive holds nothing else up.
    std::vector<std::string> words = {ZELVANO_PLAIN_DRIVE};
    words.insert(words.end(), mode.begin(), mode.end());
    words.insert(words.end(), {folder_, "-f"});
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
    } else if (ReadWithin(output_, std::chrono::seconds(10)) <= 0) {
        why_ = "the plain drive could not be mounted on " + folder_;
    }
#endif
}

void PlainDriveMount::goOn() const {
    if (pid_ >= 0) {
        ::kill(pid_, SIGUSR1);
    }
}

void PlainDriveMount::fallSilent() const {
    if (pid_ >= 0) {
        ::kill(pid_, SIGUSR2);
    }
}

void PlainDriveMount::stop() {
    if (pid_ >= 0) {
        const std::string q = "'" + folder_ + "'";
        (void)std::system(
            ("fusermount3 -u " + q + " 2>/dev/null || umount -l " + q + " 2>/dev/null").c_str());
        // Unmounted, the drive ends and closes its output; one that does not is ended here.
        if (ReadWithin(output_, std::chrono::seconds(5)) != 0) {
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
