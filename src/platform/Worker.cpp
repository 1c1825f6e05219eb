#include "platform/Worker.h"

#include <cstdlib>
#include <thread>

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace zelvano {

namespace {

std::atomic<int> g_underWay{0};

} // namespace

std::shared_ptr<Worker> Worker::Start(std::function<void()> work, std::function<void()> ended) {
    auto worker = std::make_shared<Worker>();
    ++g_underWay;
    std::thread([worker, work = std::move(work), ended = std::move(ended)] {
        try {
            work();
        } catch (...) {
            worker->failure_ = std::current_exception();
        }
        --g_underWay;
        worker->done_.store(true, std::memory_order_release);
        if (ended) {
            ended();
        }
    }).detach();
    return worker;
}

void Worker::rethrow() const {
    if (failure_) {
        std::rethrow_exception(failure_);
    }
}

bool Worker::AnyUnderWay() {
    return g_underWay.load() > 0;
}

void Worker::YieldToOthers() {
#if defined(_WIN32)
    ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
#else
    ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), 10); // Linux: the thread alone
#endif
}

void Worker::EndProgramNow() {
#if !defined(_WIN32)
    ::close_range(3, ~0U, 0); // all but the standard streams
#endif
    std::_Exit(0);
}

} // namespace zelvano
