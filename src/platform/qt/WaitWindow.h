#pragma once

#include <QFrame>

class QLabel;

namespace zelvano {

// Vent: the borderless wait window of the scan, and of any wait for a drive, centred on the screen,
// with a line of progress under its label. It takes the keys while it is up: Escape, Enter and Space
// are Cancel's.
class WaitWindow : public QFrame {
    Q_OBJECT

public:
    WaitWindow(QWidget* owner, const QString& label);
    void setProgress(const QString& text);

signals:
    // The Cancel button, Escape anywhere in the program, or closing the wait window.
    void cancelled();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QLabel* progress_;
};

} // namespace zelvano
