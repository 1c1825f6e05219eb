#include "platform/win32/window/MessagePump.h"

#include <windows.h>

#include <atomic>
#include <exception>
#include <memory>
#include <thread>

namespace zelvano {

namespace {

std::atomic<int> g_underWay{0};

// What the worker shares with the window's thread; it outlives whichever of them ends last.
struct Outcome {
    Outcome() = default;
    Outcome(const Outcome&) = delete;
    Outcome& operator=(const Outcome&) = delete;
    ~Outcome() { ::CloseHandle(done); }
    HANDLE done = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::exception_ptr failure;
};

// Lets every pending message run, user input too. The keys of dialogs (Tab, Escape) go to the
// window they were meant for, the wait window among them.
void PumpAll() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        HWND top = msg.hwnd != nullptr ? ::GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
        if (top != nullptr && ::IsDialogMessageA(top, &msg)) {
            continue;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

} // namespace

void DoEvents() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0,
                          PM_REMOVE | PM_QS_PAINT | PM_QS_POSTMESSAGE | PM_QS_SENDMESSAGE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

bool WorkUnderWay() {
    return g_underWay.load() > 0;
}

Ending RunOffThread(std::function<void()> work, const std::function<void()>& tick, Wait wait,
                    const std::function<bool()>& cancelled) {
    auto outcome = std::make_shared<Outcome>();
    ++g_underWay;
    std::thread([outcome, work = std::move(work)] {
        try {
            work();
        } catch (...) {
            outcome->failure = std::current_exception();
        }
        --g_underWay;
        ::SetEvent(outcome->done);
    }).detach();

    const DWORD wakeFor =
        wait.cancellable ? QS_ALLINPUT : QS_PAINT | QS_POSTMESSAGE | QS_SENDMESSAGE | QS_TIMER;
    const ULONGLONG start = ::GetTickCount64();
    ULONGLONG lastTick = start;
    while (::MsgWaitForMultipleObjects(1, &outcome->done, FALSE, 20, wakeFor) != WAIT_OBJECT_0) {
        wait.cancellable ? PumpAll() : DoEvents();
        const ULONGLONG now = ::GetTickCount64();
        if (cancelled && cancelled()) {
            return Ending::Cancelled;
        }
        if (wait.patience.count() > 0 && now - start >= static_cast<ULONGLONG>(wait.patience.count())) {
            return Ending::OutOfTime;
        }
        if (tick && now - lastTick >= 100) {
            tick();
            lastTick = now;
        }
    }
    if (tick) {
        tick();
    }
    if (outcome->failure) {
        std::rethrow_exception(outcome->failure);
    }
    return Ending::Done;
}

} // namespace zelvano
