#include "platform/Worker.h"

#include <chrono>
#include <cstdio>
#include <gtest/gtest.h>

namespace zelvano::test {
namespace {

// Every thread the tests started has ended before the test program does, as in the program: one
// still running while the program ends would run on among what the ending takes down.
class ThreadsEnd : public ::testing::Environment {
public:
    void TearDown() override {
        if (!Worker::JoinAll(std::chrono::seconds(30))) {
            std::fputs("A thread the tests started was still running 30 s after the last test.\n", stderr);
            std::fflush(nullptr);
            Worker::EndProgramNow(1);
        }
    }
};

[[maybe_unused]] const auto* const kThreadsEnd = ::testing::AddGlobalTestEnvironment(new ThreadsEnd);

} // namespace
} // namespace zelvano::test
