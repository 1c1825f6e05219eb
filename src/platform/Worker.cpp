#include "platform/Worker.h"

#include <cstdlib>
#include <list>
#include <mutex>
#include <thread>
#include <utility>

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace zelvano {

struct Worker::Task {
    std::shared_ptr<Worker> worker;
    std::function<void()> work;
    std::function<void()> ended;
};

namespace {

struct Started {
    std::thread thread;
    std::shared_ptr<std::atomic<bool>> finished; // set as the last thing the thread does
};

// Every thread the program started and has not joined. Never taken down, so that a thread left
// behind on a drive finds it whenever it ends.
struct Threads {
    std::mutex mutex;
    std::list<Started> started;
};

Threads& All() {
    static auto* const all = new Threads;
    return *all;
}

// Joins the threads that have finished. Under the lock.
void JoinFinished(Threads& all) {
    all.started.remove_if([](Started& s) {
        if (!s.finished->load(std::memory_order_acquire)) {
            return false;
        }
        s.thread.join();
        return true;
    });
}

} // namespace

std::shared_ptr<Worker> Worker::Start(std::function<void()> work, std::function<void()> ended) {
    auto worker = std::make_shared<Worker>();
    auto task = std::make_unique<Task>(Task{worker, std::move(work), std::move(ended)});
    auto finished = std::make_shared<std::atomic<bool>>(false);
    Threads& all = All();
    const std::lock_guard lock(all.mutex);
    JoinFinished(all);
    // The place first: a thread made and then dropped for want of memory would end the program.
    Started& place = all.started.emplace_back(Started{{}, finished});
    try {
        place.thread = std::thread([task = std::move(task), finished]() mutable {
            Run(std::move(task));
            finished->store(true, std::memory_order_release);
        });
    } catch (...) {
        all.started.pop_back();
        throw;
    }
    return worker;
}

// Everything the work held is let go here, before the thread says it has finished.
void Worker::Run(std::unique_ptr<Task> task) {
    try {
        task->work();
    } catch (...) {
        task->worker->failure_ = std::current_exception();
    }
    task->worker->done_.store(true, std::memory_order_release);
    if (task->ended) {
        task->ended();
    }
}

void Worker::rethrow() const {
    if (failure_) {
        std::rethrow_exception(failure_);
    }
}

bool Worker::AnyUnderWay() {
    Threads& all = All();
    const std::lock_guard lock(all.mutex);
    JoinFinished(all);
    return !all.started.empty();
}

bool Worker::JoinAll(std::chrono::milliseconds patience) {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (AnyUnderWay()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

int Worker::EndOfProgram(int code) {
    if (!JoinAll(std::chrono::seconds(2))) {
        EndProgramNow(code);
    }
    return code;
}

void Worker::YieldToOthers() {
#if defined(_WIN32)
    ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
#else
    ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), 10); // Linux: the thread alone
#endif
}

void Worker::EndProgramNow(int code) {
#if !defined(_WIN32)
    ::close_range(3, ~0U, 0); // all but the standard streams
#endif
    std::_Exit(code);
}

} // namespace zelvano
