#include "platform/Worker.h"

#include "support/TestFolder.h"

#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>

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

} // namespace
} // namespace zelvano
