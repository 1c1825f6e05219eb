// The real program started twice on one list folder: the second start brings the first forward and
// ends, without touching the lists.
#include "platform/posix/SingleInstance.h"
#include "support/TestFolder.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace zelvano {
namespace {

using namespace std::chrono_literals;

// The program, copied into `folder` so that its lists live there, started with no display.
pid_t Start(const std::string& folder) {
    const std::string program = folder + "/zelvano";
    std::filesystem::copy_file(ZELVANO_PROGRAM, program, std::filesystem::copy_options::skip_existing);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    pid_t pid = -1;
    char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
    return ::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ) == 0 ? pid : -1;
}

// The exit status of `pid` once it has ended, or nothing when it has not within `patience`.
std::optional<int> Ended(pid_t pid, std::chrono::milliseconds patience) {
    const auto until = std::chrono::steady_clock::now() + patience;
    int status = 0;
    while (::waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > until) {
            return std::nullopt;
        }
        std::this_thread::sleep_for(10ms);
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The first copy sits in its start-up question about a vanished picture; a second start would
// have asked it too, and a Yes in each copy would write its own list over the other's.
TEST(SecondStart, BringsTheRunningCopyForwardAndTouchesNoList) {
    test::TestFolder dir;
    dir.writeBmp("pics/a.jpg", 4, 4);
    const std::string list = dir.write(
        "Zelvanojpg.log", test::ListText({{dir.folder("pics"), "gone.jpg"}, {dir.folder("pics"), "a.jpg"}}));
    const pid_t first = Start(dir.path());
    ASSERT_GT(first, 0);
    const bool answered = SingleInstance::BringForward(dir.path(), 10s);
    EXPECT_TRUE(answered) << "the running copy listens from its start";

    const pid_t second = Start(dir.path());
    ASSERT_GT(second, 0);
    const auto status = Ended(second, 10s);
    EXPECT_EQ(status, std::optional<int>(0));
    EXPECT_FALSE(Ended(first, 0ms).has_value()) << "the first copy runs on";
    EXPECT_EQ(test::TestFolder::slurp(list),
              test::ListText({{dir.folder("pics"), "gone.jpg"}, {dir.folder("pics"), "a.jpg"}}));
    ::kill(first, SIGKILL);
    Ended(first, 10s);
    if (!status) {
        ::kill(second, SIGKILL);
        Ended(second, 10s);
    }
    EXPECT_TRUE(SingleInstance(dir.path()).first()) << "the lock goes with the copy that held it";
}

} // namespace
} // namespace zelvano
