#pragma once

#include "app/FmZelvano.h"
#include "platform/Window.h"

#include <functional>

namespace zelvano {

// How a window hands the user's actions to the form's handlers, the same in every window. While a
// handler runs the window cannot be closed, except in a cancellable wait (a scan), which Cancel,
// Escape and closing the window end.
class HandlerRunner {
public:
    void attach(FmZelvano& form) { form_ = &form; }
    [[nodiscard]] bool attached() const { return form_ != nullptr; }

    // Runs a handler on the form (nested ones are counted too).
    void run(const std::function<void(FmZelvano&)>& handler);
    // What runs `handler` of the form, for a control's event.
    std::function<void()> forward(void (FmZelvano::*handler)());

    // Whether closing the window may end the program now.
    [[nodiscard]] bool mayClose() const { return running_ == 0 || cancellable_; }

    // Runs a cancellable wait: `wait` is given what tells it that the user asked to end it.
    Ending runCancellable(const std::function<Ending(const std::function<bool()>& cancelled)>& wait);
    // Cancel or Escape: ends a cancellable wait under way, and does nothing otherwise.
    void cancel();

private:
    FmZelvano* form_ = nullptr;
    int running_ = 0;
    bool cancellable_ = false;
    bool cancelRequested_ = false;
};

} // namespace zelvano
