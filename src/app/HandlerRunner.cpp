#include "app/HandlerRunner.h"

namespace zelvano {

void HandlerRunner::run(const std::function<void(FmZelvano&)>& handler) {
    ++running_;
    handler(*form_);
    --running_;
}

std::function<void()> HandlerRunner::forward(void (FmZelvano::*handler)()) {
    return [this, handler] {
        run([handler](FmZelvano& form) { (form.*handler)(); });
    };
}

Ending
HandlerRunner::runCancellable(const std::function<Ending(const std::function<bool()>& cancelled)>& wait) {
    cancellable_ = true;
    cancelRequested_ = false;
    const Ending ending = wait([this] { return cancelRequested_; });
    cancellable_ = false;
    return ending;
}

void HandlerRunner::cancel() {
    if (cancellable_) {
        cancelRequested_ = true;
    }
}

} // namespace zelvano
