#include "platform/qt/OffThread.h"

#include "platform/Worker.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <memory>

namespace zelvano {

bool WorkUnderWay() {
    return Worker::AnyUnderWay();
}

Ending RunOffThread(std::function<void()> work, const std::function<void()>& tick, Wait wait,
                    const std::function<bool()>& cancelled) {
    const std::shared_ptr<Worker> worker = Worker::Start(std::move(work));
    Ending ending = Ending::Done;
    QEventLoop loop;
    QTimer poll;
    QElapsedTimer clock;
    clock.start();
    qint64 lastTick = 0;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (worker->done()) {
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
    if (!worker->done()) {
        loop.exec(wait.cancellable ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    }
    if (ending != Ending::Done) {
        return ending;
    }
    if (tick) {
        tick();
    }
    worker->rethrow();
    return ending;
}

} // namespace zelvano
