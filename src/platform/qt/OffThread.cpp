#include "platform/qt/OffThread.h"

#include <QEventLoop>
#include <QFutureWatcher>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

namespace zelvano {

void RunOffThread(const std::function<void()>& work, const std::function<void()>& tick) {
    QFutureWatcher<void> watcher;
    QEventLoop loop;
    QTimer timer;
    QObject::connect(&watcher, &QFutureWatcherBase::finished, &loop, &QEventLoop::quit);
    if (tick) {
        QObject::connect(&timer, &QTimer::timeout, &loop, tick);
        timer.start(100);
    }
    watcher.setFuture(QtConcurrent::run(work));
    if (!watcher.isFinished()) {
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    watcher.waitForFinished();
    if (tick) {
        tick();
    }
}

} // namespace zelvano
