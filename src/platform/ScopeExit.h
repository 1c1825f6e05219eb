#pragma once

#include <utility>

namespace zelvano {

// Runs `f` when the scope ends, also when it ends by an exception, so that what a command changed
// for its duration (a count, the disabled controls) is always put back.
template <class F> class ScopeExit {
public:
    explicit ScopeExit(F f) : f_(std::move(f)) {}
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;
    ~ScopeExit() {
        if (armed_) {
            f_();
        }
    }
    // What was to be put back has been kept instead.
    void dismiss() { armed_ = false; }

private:
    F f_;
    bool armed_ = true;
};

} // namespace zelvano
