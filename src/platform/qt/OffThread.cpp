#include "platform/qt/OffThread.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <atomic>
#include <exception>
#include <memory>
#include <thread>

namespace zelvano {

namespace {

std::atomic<int> g_underWay{0};

// What the worker shares with the window's thread; it outlives whichever of them ends last.
struct Outcome {
    std::atomic<bool> done{false};
    std::exception_ptr failure;
};

} // namespace

bool WorkUnderWay() {
    return g_underWay.load() > 0;
}

Ending RunOffThread(std::function<void()> work, const std::function<void()>& tick, Wait wait,
                    const std::function<bool()>& cancelled) {
    auto outcome = std::make_shared<Outcome>();
    ++g_underWay;
    std::thread([outcome, work = std::move(work)] {
        try {
            work();
        } catch (...) {
            outcome->failure = std::current_exception();
        }
        outcome->done.store(true, std::memory_order_release);
        --g_underWay;
    }).detach();

    Ending ending = Ending::Done;
    QEventLoop loop;
    QTimer poll;
    QElapsedTimer clock;
    clock.start();
    qint64 lastTick = 0;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (outcome->done.load(std::memory_order_acquire)) {
            loop.quit();
        } else if (cancelled && cancelled()) {
            ending = Ending::Cancelled;
            loop.quit();
        } else if (wait.patience.count() > 0 && clock.elapsed() >= wait.patience.count()) {
            ending = Ending::OutOfTime;
            loop.quit();
        } else if (tick && clock.elapsed() - lastTick >= 100) {
            tick();
            lastTick = clock.elapsed();
        }
    });
    poll.start(2);
    if (!outcome->done.load(std::memory_order_acquire)) {
        loop.exec(wait.cancellable ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    }
    if (ending != Ending::Done) {
        return ending;
    }
    if (tick) {
        tick();
    }
    if (outcome->failure) {
        std::rethrow_exception(outcome->failure);
    }
    return ending;
}

} // namespace zelvano
