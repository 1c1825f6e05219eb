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

private:
    QLabel* progress_;
};

} // namespace zelvano
