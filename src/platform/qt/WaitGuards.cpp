#include "platform/qt/WaitGuards.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace zelvano {

InputGate::InputGate(std::function<bool(const QWidget&)> open) : open_(std::move(open)) {
    QCoreApplication::instance()->installEventFilter(this);
}

InputGate::~InputGate() {
    QCoreApplication::instance()->removeEventFilter(this);
}

bool InputGate::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::Wheel:
    case QEvent::ContextMenu: {
        // The system's windows pass these on to their widgets, where they are judged.
        const auto* widget = qobject_cast<const QWidget*>(watched);
        if (widget == nullptr || open_(*widget)) {
            return false;
        }
        const bool clickOrKey = event->type() != QEvent::Shortcut && event->type() != QEvent::Wheel &&
                                event->type() != QEvent::ContextMenu;
        if (holding_ && clickOrKey) {
            held_.emplace_back(watched, std::unique_ptr<QEvent>(event->clone()));
        }
        return true;
    }
    default:
        return false;
    }
}

void InputGate::dropFromNow() {
    holding_ = false;
    held_.clear();
}

QuietControls::QuietControls(std::vector<QWidget*> controls, QAction* update, QWidget* exit, QWidget* focused)
    : update_(update), exit_(exit), exitFocus_(exit->focusPolicy()), focused_(focused) {
    exit_->setFocusPolicy(Qt::NoFocus);
    if (focused == exit_) {
        exit_->clearFocus();
    }
    for (QWidget* w : controls) {
        controls_.emplace_back(w, w->isEnabled());
        w->setEnabled(false);
    }
    update_->setEnabled(false);
}

QuietControls::~QuietControls() {
    update_->setEnabled(true);
    for (auto& [w, enabled] : controls_) {
        w->setEnabled(enabled);
    }
    exit_->setFocusPolicy(static_cast<Qt::FocusPolicy>(exitFocus_));
    if (focused_ != nullptr && focused_->isEnabled()) {
        focused_->setFocus(Qt::OtherFocusReason);
    }
}

} // namespace zelvano
