#include "app/HandlerRunner.h"

#include "support/AppFixture.h"

#include <stdexcept>

namespace zelvano::test {
namespace {

// A handler that fails part way, in the middle of a scan, must not leave the window unable to close
// or stuck behind the wait window; the next command runs as usual.
TEST(HandlerRunner, AFailingHandlerEndsItsRunAndTheWindowGoesOn) {
    TestFolder dir;
    TestOs os(dir.path());
    FakeWindow win;
    FmZelvano form(os, win);
    HandlerRunner runner;
    runner.attach(form);
    runner.run([&](FmZelvano& f) {
        f.context().win.showWait();
        f.context().win.setBusyCursor(true);
        runner.run([](FmZelvano&) { throw std::length_error("too long"); });
    });
    EXPECT_TRUE(runner.mayClose());
    EXPECT_FALSE(win.waitShown);
    EXPECT_FALSE(win.busy);
    EXPECT_EQ(win.messages(), std::vector<std::string>{"The command was stopped by a failure: too long"});
    bool ran = false;
    runner.run([&](FmZelvano&) { ran = !runner.mayClose(); });
    EXPECT_TRUE(ran);
}

} // namespace
} // namespace zelvano::test
