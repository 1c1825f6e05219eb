#pragma once

#include <atomic>
#include <chrono>

namespace zelvano {

// How long a drive may say nothing before the program gives it up: a scan passes it over, and an
// operation on one of its files ends with nothing changed. Long enough for a disk to spin up or a
// share to wake, short enough that a drive that has gone away does not hold the others for long.
inline constexpr std::chrono::milliseconds kDriveSilence{15000};

// When a drive last answered. Work that waits on a drive notes each answer here (a folder's
// entries, a piece of a file), and a wait for that work measures the drive's silence from the last
// one, not the time the whole work takes: a large folder or file from a slow or far drive keeps
// answering, and only a drive that has said nothing for a while is taken as not answering.
class LastAnswer {
public:
    using Clock = std::chrono::steady_clock;

    LastAnswer() { heard(); }
    void heard() { at_.store(Clock::now().time_since_epoch().count(), std::memory_order_relaxed); }
    [[nodiscard]] std::chrono::milliseconds silentFor() const {
        const Clock::time_point at{Clock::duration{at_.load(std::memory_order_relaxed)}};
        return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - at);
    }

private:
    std::atomic<Clock::rep> at_{0};
};

} // namespace zelvano
