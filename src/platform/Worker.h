#pragma once

#include <atomic>
#include <chrono>
#include <exception>
#include <functional>
#include <memory>

namespace zelvano {

// Work on a thread of its own that the window's thread may stop waiting for: a search or a read
// stuck in a drive that has stopped answering is left behind. What the two threads share lives as
// long as either of them needs it.
class Worker {
public:
    // Starts `work`; `ended`, when given, runs on the worker's thread once the work has ended.
    static std::shared_ptr<Worker> Start(std::function<void()> work, std::function<void()> ended = {});

    [[nodiscard]] bool done() const { return done_.load(std::memory_order_acquire); }
    // Throws again what the work threw, once it is done.
    void rethrow() const;

    // Lowers the calling thread's priority below everything else on the machine: a scan's listings
    // yield the processors to the programs that serve a network drive, and to the user's own.
    static void YieldToOthers();

    // Whether any thread the program started is still running, waited for or left behind: a
    // program that ends then must end at once, or a thread stuck in a silent drive would keep it
    // alive.
    static bool AnyUnderWay();
    // Waits up to `patience` for every thread the program started to end, and says whether all
    // did. A program ends normally only once they have: one still running would run on among what
    // the ending takes down.
    static bool JoinAll(std::chrono::milliseconds patience);
    // What the program's main returns once it has closed its window: `code`, after every thread it
    // started has ended. When one is still running after a short while, the program ends at once.
    static int EndOfProgram(int code);
    // Ends the program at once with `code`. The system keeps a thread that waits on a drive's
    // answer until the drive answers, and the process with it, so everything the program holds open
    // is let go first: its window, its lock and its lists go now.
    [[noreturn]] static void EndProgramNow(int code = 0);

private:
    struct Task;
    static void Run(std::unique_ptr<Task> task);

    std::atomic<bool> done_{false};
    std::exception_ptr failure_;
};

} // namespace zelvano
