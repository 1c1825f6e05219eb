#include "platform/Worker.h"

#include "support/TestFolder.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>
#include <thread>

namespace zelvano {
namespace {

TEST(Worker, EndsOnceTheWorkHasEndedAndHandsOnWhatItThrew) {
    test::Gate go;
    auto ended = std::make_shared<test::Gate>();
    auto worker = Worker::Start(
        [&go] {
            go.wait();
            throw std::runtime_error("x");
        },
        [ended] { ended->open(); });
    EXPECT_TRUE(!worker->done() && Worker::AnyUnderWay());
    go.open();
    ended->wait();
    EXPECT_TRUE(worker->done() && Worker::JoinAll(std::chrono::seconds(5)) && !Worker::AnyUnderWay());
    EXPECT_THROW(worker->rethrow(), std::runtime_error);
}

// A thread held for good does not hold the program: after a short wait it ends at once, with the
// status it was ending with.
TEST(WorkerDeathTest, AProgramEndsThoughAThreadIsHeld) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto ending = [] {
        Worker::Start([] { std::this_thread::sleep_for(std::chrono::hours(1)); });
        std::exit(Worker::EndOfProgram(3) + 1);
    };
    EXPECT_EXIT(ending(), ::testing::ExitedWithCode(3), "");
}

} // namespace
} // namespace zelvano
