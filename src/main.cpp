#include "app/FmZelvano.h"
#include "app/ProductInfo.h"
#include "platform/NativeOs.h"
#include "platform/Worker.h"
#include "platform/posix/SingleInstance.h"
#include "platform/qt/MainWindow.h"
#include "platform/qt/Texts.h"

#include <QApplication>
#include <QImageReader>
#include <QMessageBox>
#include <QPainter>
#include <QSocketNotifier>
#include <QSvgRenderer>

#include <chrono>
#include <string>

namespace {

// The program's icon file, drawn at the sizes a desktop asks for.
QIcon ProgramIcon() {
    QSvgRenderer picture(QStringLiteral(":/org.zelvano.Zelvano.svg"));
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        picture.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

// Why this start ends without a window of its own.
std::string NotStarted(const zelvano::SingleInstance& instance, const std::string& folder) {
    if (instance.start() == zelvano::SingleInstance::Start::Running) {
        return std::string(zelvano::kRunningButSilent);
    }
    return "Zelvano can not start: its lists in " + folder + " can not be locked against a second copy (" +
           instance.why() + ").";
}

// A later start asked this copy to come forward: out of the taskbar if need be, and in front.
void ComeForward(QWidget& window) {
    window.setWindowState((window.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window.show();
    window.raise();
    window.activateWindow();
}

} // namespace

int main(int argc, char* argv[]) {
    zelvano::NativeOs os;
    // Decided before anything is read: a later start touches no list.
    const zelvano::SingleInstance instance(os.listFileFolder());
    if (instance.start() == zelvano::SingleInstance::Start::Running &&
        zelvano::SingleInstance::BringForward(os.listFileFolder(), std::chrono::seconds(5))) {
        return 0;
    }

    QApplication app(argc, argv);
    if (!instance.first()) {
        QMessageBox::warning(nullptr, zelvano::Display(std::string(zelvano::kProgramTitle)),
                             zelvano::Display(NotStarted(instance, os.listFileFolder())));
        return 1;
    }
    QApplication::setApplicationName(QStringLiteral("Zelvano"));
    // Matches the window to its desktop entry.
    QGuiApplication::setDesktopFileName(zelvano::Display(std::string(zelvano::kApplicationId)));
    QApplication::setFont(QFont(QStringLiteral("Sans Serif"), 8));
    QApplication::setWindowIcon(ProgramIcon());
    QImageReader::setAllocationLimit(1024); // MiB: room for very large photos

    zelvano::MainWindow window;
    // Heard from the start, also while a message of the start-up is open.
    if (instance.requests() >= 0) {
        auto* requests = new QSocketNotifier(instance.requests(), QSocketNotifier::Read, &window);
        QObject::connect(requests, &QSocketNotifier::activated, &window, [&window, &instance] {
            if (instance.answer()) {
                ComeForward(window);
            }
        });
    }
    zelvano::FmZelvano form(os, window);
    window.wire(form);
    window.load();
    window.show();
    return zelvano::Worker::EndOfProgram(QApplication::exec());
}
