#include "platform/qt/OffThread.h"

#include "platform/Worker.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <chrono>
#include <memory>

namespace zelvano {

bool WorkUnderWay() {
    return Worker::AnyUnderWay();
}

Ending RunOffThread(std::function<void()> work, const std::function<void()>& tick, Wait wait,
                    const std::function<bool()>& cancelled) {
    // The loop to wake when the work ends, touched on the window's thread only: work that ends after
    // its wait was given up finds none.
    struct Waiting {
        QEventLoop* loop = nullptr;
    };
    const auto waiting = std::make_shared<Waiting>();
    const std::shared_ptr<Worker> worker = Worker::Start(std::move(work), [waiting] {
        if (QCoreApplication* app = QCoreApplication::instance()) {
            QMetaObject::invokeMethod(
                app,
                [waiting] {
                    if (waiting->loop != nullptr) {
                        waiting->loop->quit();
                    }
                },
                Qt::QueuedConnection);
        }
    });
    Ending ending = Ending::Done;
    QEventLoop loop;
    QTimer poll;
    QElapsedTimer clock;
    clock.start();
    const auto start = std::chrono::steady_clock::now();
    qint64 lastTick = 0;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (worker->done()) {
            loop.quit();
        } else if (cancelled && cancelled()) {
            ending = Ending::Cancelled;
            loop.quit();
        } else if (wait.runOut(start)) {
            ending = Ending::OutOfTime;
            loop.quit();
        } else if (tick && clock.elapsed() - lastTick >= 100) {
            tick();
            lastTick = clock.elapsed();
        }
    });
    // The end of the work wakes the loop at once; the poll is for Cancel, the patience and ticks.
    poll.start(20);
    if (!worker->done()) {
        waiting->loop = &loop;
        loop.exec(QEventLoop::AllEvents);
        waiting->loop = nullptr;
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
