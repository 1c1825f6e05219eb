#include "app/FmZelvano.h"
#include "platform/NativeOs.h"
#include "platform/qt/MainWindow.h"

#include <QApplication>
#include <QImageReader>
#include <QPainter>

namespace {

QIcon ProgramIcon() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(70, 130, 180));
    p.setPen(QPen(QColor(40, 40, 40), 2));
    p.drawRoundedRect(3, 6, 26, 20, 3, 3);
    p.setBrush(QColor(250, 220, 90));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(11, 12), 3, 3);
    p.setBrush(QColor(60, 160, 80));
    p.drawPolygon(QPolygonF({QPointF(5, 24), QPointF(14, 14), QPointF(20, 20), QPointF(27, 24)}));
    return QIcon(pixmap);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zelvano"));
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
