// One running copy per list folder, whoever starts it; only the same user reaches the running copy,
// and nothing a caller does can make it wait.
#include "platform/posix/SingleInstance.h"

#include "support/TestFolder.h"

#include <filesystem>
#include <functional>
#include <future>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace zelvano {
namespace {

using namespace std::chrono_literals;
using test::TestFolder;

constexpr uid_t kOtherUser = 65534; // nobody

// Runs `body` in a child process as another user, with no runtime folder of its own given, and
// gives its exit status.
int AsOtherUser(const std::function<int()>& body) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::unsetenv("XDG_RUNTIME_DIR");
        if (::setgroups(0, nullptr) != 0 || ::setresgid(kOtherUser, kOtherUser, kOtherUser) != 0 ||
            ::setresuid(kOtherUser, kOtherUser, kOtherUser) != 0) {
            ::_exit(99);
        }
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The socket of the copy that runs for `folder`, in a runtime folder.
sockaddr_un SocketIn(const std::string& runtime, const std::string& folder) {
    struct stat st {};
    ::stat(folder.c_str(), &st);
    sockaddr_un a{};
    a.sun_family = AF_UNIX;
    (runtime + "/zelvano-" + std::to_string(st.st_dev) + "-" + std::to_string(st.st_ino))
        .copy(a.sun_path, sizeof a.sun_path - 1);
    return a;
}

// A folder shared by every user, with what an older copy left in the lock's place: a folder.
std::string SharedFolder(const TestFolder& dir) {
    std::filesystem::create_directory(dir.path() + "/.zelvano.lock");
    std::filesystem::permissions(dir.path(), std::filesystem::perms::all);
    return dir.path();
}

TEST(SingleInstance, OneCopyPerFolderWhoeverStartsIt) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "a second user needs root to be had";
    }
    const TestFolder dir;
    const std::string folder = SharedFolder(dir);
    {
        const SingleInstance running(folder);
        ASSERT_TRUE(running.first());
        EXPECT_EQ(SingleInstance(folder).start(), SingleInstance::Start::Running);
        // Another user takes part in the lock, and cannot reach the copy that runs.
        EXPECT_EQ(AsOtherUser([&] {
                      const bool held = SingleInstance(folder).start() == SingleInstance::Start::Running;
                      return held && !SingleInstance::BringForward(folder, 300ms) ? 0 : 1;
                  }),
                  0);
        EXPECT_FALSE(running.answer()) << "nothing of the other user's came through";
    }
    // The other user's copy runs: this user finds it, and is not answered even where it connects.
    int ready[2];
    int done[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(done), 0);
    std::future<int> other = std::async(std::launch::async, [&] {
        return AsOtherUser([&] {
            const SingleInstance theirs(folder);
            char byte = theirs.first() ? 'y' : 'n';
            (void)::write(ready[1], &byte, 1);
            (void)::read(done[0], &byte, 1);
            return theirs.answer() ? 1 : 0;
        });
    });
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    EXPECT_EQ(byte, 'y');
    EXPECT_EQ(SingleInstance(folder).start(), SingleInstance::Start::Running);
    const sockaddr_un a = SocketIn("/tmp/zelvano-" + std::to_string(kOtherUser), folder);
    const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(::connect(s, reinterpret_cast<const sockaddr*>(&a), sizeof a), 0) << a.sun_path;
    (void)::write(done[1], "x", 1);
    EXPECT_EQ(other.get(), 0) << "a caller of another user is not taken for a request";
    EXPECT_EQ(::read(s, &byte, 1), 0) << "and gets no answer";
    for (const int fd : {s, ready[0], ready[1], done[0], done[1]}) {
        ::close(fd);
    }
}

// Callers that connect and say nothing hold the running copy up not at all.
TEST(SingleInstance, SilentCallersDoNotHoldTheRunningCopy) {
    const TestFolder dir;
    const SingleInstance running(dir.path());
    ASSERT_TRUE(running.first());
    const sockaddr_un a = SocketIn(RuntimeFolder(std::getenv("XDG_RUNTIME_DIR")), dir.path());
    std::vector<int> silent;
    for (int i = 0; i < 7; ++i) {
        silent.push_back(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0));
        ASSERT_EQ(::connect(silent.back(), reinterpret_cast<const sockaddr*>(&a), sizeof a), 0);
    }
    std::future<bool> forward =
        std::async(std::launch::async, [&] { return SingleInstance::BringForward(dir.path(), 3s); });
    std::this_thread::sleep_for(100ms); // its request waits behind the silent ones
    while (forward.wait_for(10ms) != std::future_status::ready) {
        (void)running.answer();
    }
    EXPECT_TRUE(forward.get());
    for (const int s : silent) {
        ::close(s);
    }
}

// A running copy that does not answer in time is not taken as come forward; and its late answer,
// to a start that has given up and gone, does not end it.
TEST(SingleInstance, ALateAnswerToASecondStartEndsNothing) {
    const TestFolder dir;
    const SingleInstance running(dir.path());
    ASSERT_TRUE(running.first());
    EXPECT_FALSE(SingleInstance::BringForward(dir.path(), 100ms));
    EXPECT_TRUE(running.answer()); // and this process runs on
}

TEST(SingleInstance, WithoutALockNothingRunsAndTheReasonIsKept) {
    const TestFolder dir;
    const SingleInstance missing(dir.path() + "/not there");
    EXPECT_EQ(missing.start(), SingleInstance::Start::NoLock);
    EXPECT_FALSE(missing.why().empty());
    // A runtime folder open to others, or not this user's, is not used for the socket.
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_all |
                                                 std::filesystem::perms::group_read |
                                                 std::filesystem::perms::group_exec);
    EXPECT_NE(RuntimeFolder(dir.path().c_str()), dir.path());
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_all);
    EXPECT_EQ(RuntimeFolder(dir.path().c_str()), dir.path());
}

} // namespace
} // namespace zelvano
