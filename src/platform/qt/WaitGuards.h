#pragma once

#include <QEvent>
#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

class QAction;
class QWidget;

namespace zelvano {

// A click or key held back for a widget, to be delivered later.
using HeldInput = std::pair<QPointer<QObject>, std::unique_ptr<QEvent>>;

// While it lives, the user's clicks and keys reach only the widgets that `open` lets through, so
// that no other command starts in the middle of a wait. The rest are held, in order, for the window
// to deliver once the command has ended, or, from `dropFromNow` on, dropped. The window keeps
// painting all the same.
class InputGate : public QObject {
public:
    explicit InputGate(std::function<bool(const QWidget&)> open);
    ~InputGate() override;
    InputGate(const InputGate&) = delete;
    InputGate& operator=(const InputGate&) = delete;

    // What is held so far goes, and so does what the gate turns away from now on.
    void dropFromNow();
    [[nodiscard]] std::vector<HeldInput> takeHeld() { return std::move(held_); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<bool(const QWidget&)> open_;
    bool holding_ = true;
    std::vector<HeldInput> held_;
};

// While it lives, the window's commands are greyed, so that a wait window's wait shows as one, and
// the keys belong to the wait window: Exit takes no keyboard focus meanwhile, or a key that reached
// the window would end the program. Afterwards each control is as it was, and the one that had the
// focus has it again.
class QuietControls {
public:
    QuietControls(std::vector<QWidget*> controls, QAction* update, QWidget* exit, QWidget* focused);
    ~QuietControls();
    QuietControls(const QuietControls&) = delete;
    QuietControls& operator=(const QuietControls&) = delete;

private:
    std::vector<std::pair<QWidget*, bool>> controls_;
    QAction* update_;
    QWidget* exit_;
    int exitFocus_;
    QPointer<QWidget> focused_;
};

} // namespace zelvano
