#pragma once

#include <QFrame>

class QLabel;

namespace zelvano {

// Vent: the borderless wait window of the scan, centred on the screen, with a line of progress
// under its label.
class WaitWindow : public QFrame {
    Q_OBJECT

public:
    explicit WaitWindow(QWidget* owner);
    void setProgress(const QString& text);

signals:
    // The Cancel button, or Escape anywhere in the program.
    void cancelled();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* progress_;
};

} // namespace zelvano
