#include "app/FmZelvano.h"
#include "app/ProductInfo.h"
#include "platform/NativeOs.h"
#include "platform/qt/MainWindow.h"

#include <QApplication>
#include <QImageReader>
#include <QPainter>
#include <QSvgRenderer>

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

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zelvano"));
    // Matches the window to its desktop entry.
    QGuiApplication::setDesktopFileName(QString::fromUtf8(
        zelvano::kApplicationId.data(), static_cast<qsizetype>(zelvano::kApplicationId.size())));
    QApplication::setFont(QFont(QStringLiteral("Sans Serif"), 8));
    QApplication::setWindowIcon(ProgramIcon());
    QImageReader::setAllocationLimit(1024); // MiB: room for very large photos

    zelvano::NativeOs os;
    zelvano::MainWindow window;
    zelvano::FmZelvano form(os, window);
    window.wire(form);
    form.Form_Load();
    window.show();
    return QApplication::exec();
}
