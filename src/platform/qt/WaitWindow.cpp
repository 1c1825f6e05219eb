#include "platform/qt/WaitWindow.h"

#include "platform/qt/Controls.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace zelvano {

WaitWindow::WaitWindow(QWidget* owner, const QString& text)
    : QFrame(owner, Qt::Tool | Qt::FramelessWindowHint), progress_(new QLabel(this)) {
    setObjectName(QStringLiteral("Vent"));
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setAutoFillBackground(true);
    const int t = kLayoutTwipsPerPixel;
    setFixedSize(6195 / t, 1485 / t); // the designed 1005 twips, and a row for Cancel
    auto* label = new QLabel(text, this);
    label->setObjectName(QStringLiteral("Label1"));
    label->setGeometry(135 / t, 240 / t, 5925 / t, 495 / t);
    QFont font(QStringLiteral("Arial"), 18, QFont::Bold);
    font.setStyleHint(QFont::SansSerif);
    // Where Arial is missing its stand-in may be wider: the whole text must still show.
    FitOnOneLine(*label, font);
    label->setAlignment(Qt::AlignCenter);
    progress_->setObjectName(QStringLiteral("Progress"));
    progress_->setGeometry(135 / t, 735 / t, 5925 / t, 255 / t);
    progress_->setAlignment(Qt::AlignCenter);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("Cancel"));
    cancel->setGeometry((6195 - 1035) / 2 / t, 1005 / t, 1035 / t, 375 / t);
    cancel->setAutoDefault(true); // Enter presses it, as in a dialog
    cancel->setFocus();           // taken up when the window is activated
    connect(cancel, &QPushButton::clicked, this, &WaitWindow::cancelled);
    QCoreApplication::instance()->installEventFilter(this); // Escape in any window of the program
    const QRect screen = (owner != nullptr ? owner->screen() : QGuiApplication::primaryScreen())->geometry();
    move(screen.center() - rect().center());
}

bool WaitWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        emit cancelled();
        return true;
    }
    return QFrame::eventFilter(watched, event);
}

void WaitWindow::closeEvent(QCloseEvent* event) {
    event->ignore(); // the window manager's close (Alt+F4) is one more way to say Cancel
    emit cancelled();
}

void WaitWindow::setProgress(const QString& text) {
    progress_->setText(text);
    FitOnOneLine(*progress_, font());
    // A drive's path may be longer than the line even in the smallest font: its middle gives way.
    const QFontMetrics measured(progress_->font(), progress_);
    progress_->setText(measured.elidedText(text, Qt::ElideMiddle, progress_->contentsRect().width()));
}

} // namespace zelvano
