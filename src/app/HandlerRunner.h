#pragma once

#include "app/FmZelvano.h"
#include "platform/Window.h"

#include <functional>

namespace zelvano {

// How a window hands the user's actions to the form's handlers, the same in every window. While a
// handler runs the window cannot be closed, except while it waits for work off the window's thread
// (a scan, or work on a drive): then no other handler starts, Exit and closing the window end the
// program, and Cancel or Escape end the wait.
class HandlerRunner {
public:
    void attach(FmZelvano& form) { form_ = &form; }
    [[nodiscard]] bool attached() const { return form_ != nullptr; }

    // Runs a handler on the form (nested ones are counted too); none while a wait is under way.
    void run(const std::function<void(FmZelvano&)>& handler);
    // What runs `handler` of the form, for a control's event.
    std::function<void()> forward(void (FmZelvano::*handler)());
    // Exit and File > Exit, which end the program in the middle of a wait too.
    std::function<void()> forwardExit(void (FmZelvano::*handler)());

    // Whether closing the window may end the program now.
    [[nodiscard]] bool mayClose() const { return running_ == 0 || waiting_; }
    [[nodiscard]] bool running() const { return running_ > 0; }
    // Runs when a command has ended, with none under way.
    std::function<void()> whenIdle;

    // Runs a wait: `wait` is given what tells it that the user asked to end it.
    Ending runWait(const std::function<Ending(const std::function<bool()>& cancelled)>& wait);
    // Cancel or Escape: ends the wait under way, and does nothing otherwise.
    void cancel();

private:
    FmZelvano* form_ = nullptr;
    int running_ = 0;
    bool waiting_ = false;
    bool cancelRequested_ = false;
};

} // namespace zelvano
