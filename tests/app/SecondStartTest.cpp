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

// The exit status of `pid` once it has ended, or nothing when it has not within `patience`.
std::optional<int> Ended(pid_t pid, std::chrono::milliseconds patience) {
    int status = 0;
    for (auto waited = 0ms; ::waitpid(pid, &status, WNOHANG) == 0; waited += 10ms) {
        if (waited >= patience) {
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
    const std::string text =
        test::ListText({{dir.folder("pics"), "gone.jpg"}, {dir.folder("pics"), "a.jpg"}});
    const std::string list = dir.write("Zelvanojpg.log", text);
    // The program, copied into the folder so that its lists live there, started with no display.
    std::string program = dir.path() + "/zelvano";
    std::filesystem::copy_file(ZELVANO_PROGRAM, program);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    char* argv[] = {program.data(), nullptr};
    pid_t first = -1, second = -1;
    ASSERT_EQ(::posix_spawn(&first, argv[0], nullptr, nullptr, argv, environ), 0);
    EXPECT_TRUE(SingleInstance::BringForward(dir.path(), 10s)) << "the running copy listens from its start";
    const bool started = ::posix_spawn(&second, argv[0], nullptr, nullptr, argv, environ) == 0;
    const std::optional<int> status = started ? Ended(second, 10s) : std::nullopt;
    EXPECT_EQ(status, std::optional<int>(0)) << "the second start ends";
    const bool firstRuns = !Ended(first, 0ms).has_value();
    EXPECT_TRUE(firstRuns) << "the first copy runs on";
    EXPECT_EQ(test::TestFolder::slurp(list), text);
    for (const pid_t running : {firstRuns ? first : -1, started && !status ? second : -1}) {
        if (running > 0) {
            ::kill(running, SIGKILL);
            Ended(running, 10s);
        }
    }
    EXPECT_TRUE(SingleInstance(dir.path()).first()) << "the lock goes with the copy that held it";
}

} // namespace
} // namespace zelvano
