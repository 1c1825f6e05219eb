#include "app/HandlerRunner.h"

#include "platform/ScopeExit.h"

#include <exception>

namespace zelvano {

namespace {

// A handler that failed part way (memory ran out, a thread could not be started): its run ends
// here, what it left on the screen for its duration goes, and the user is told.
void Stopped(Window& win, const std::string& why) {
    win.closeWait();
    win.setBusyCursor(false);
    win.message("The command was stopped by a failure: " + why);
}

} // namespace

void HandlerRunner::run(const std::function<void(FmZelvano&)>& handler) {
    if (waiting_) {
        return; // no second command in the middle of one
    }
    ++running_;
    const ScopeExit uncount([this] {
        if (--running_ == 0 && whenIdle) {
            whenIdle();
        }
    });
    if (running_ > 1) {
        handler(*form_); // a nested run's failure ends the run it is nested in
        return;
    }
    try {
        handler(*form_);
    } catch (const std::exception& e) {
        Stopped(form_->context().win, e.what());
    } catch (...) {
        Stopped(form_->context().win, "an unknown failure");
    }
}

std::function<void()> HandlerRunner::forward(void (FmZelvano::*handler)()) {
    return [this, handler] {
        run([handler](FmZelvano& form) { (form.*handler)(); });
    };
}

std::function<void()> HandlerRunner::forwardExit(void (FmZelvano::*handler)()) {
    return [this, handler] {
        if (form_ != nullptr) {
            (form_->*handler)();
        }
    };
}

Ending HandlerRunner::runWait(const std::function<Ending(const std::function<bool()>& cancelled)>& wait) {
    const bool outer = !waiting_;
    waiting_ = true;
    cancelRequested_ = false;
    const ScopeExit done([this, outer] { waiting_ = !outer; });
    return wait([this] { return cancelRequested_; });
}

void HandlerRunner::cancel() {
    if (waiting_) {
        cancelRequested_ = true;
    }
}

} // namespace zelvano
