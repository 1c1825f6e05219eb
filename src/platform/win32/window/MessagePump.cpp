#include "platform/win32/window/MessagePump.h"

#include "platform/Worker.h"

#include <windows.h>

#include <chrono>
#include <memory>

namespace zelvano {

namespace {

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
    return Worker::AnyUnderWay();
}

Ending RunOffThread(std::function<void()> work, const std::function<void()>& tick, Wait wait,
                    const std::function<bool()>& cancelled) {
    // The worker's end sets an event, which the wait below wakes for as it does for messages.
    const std::shared_ptr<void> ended(::CreateEventA(nullptr, TRUE, FALSE, nullptr), ::CloseHandle);
    const std::shared_ptr<Worker> worker =
        Worker::Start(std::move(work), [ended] { ::SetEvent(ended.get()); });
    HANDLE done = ended.get();
    const DWORD wakeFor =
        wait.cancellable ? QS_ALLINPUT : QS_PAINT | QS_POSTMESSAGE | QS_SENDMESSAGE | QS_TIMER;
    const auto start = std::chrono::steady_clock::now();
    ULONGLONG lastTick = ::GetTickCount64();
    while (::MsgWaitForMultipleObjects(1, &done, FALSE, 20, wakeFor) != WAIT_OBJECT_0) {
        wait.cancellable ? PumpAll() : DoEvents();
        const ULONGLONG now = ::GetTickCount64();
        if (cancelled && cancelled()) {
            return Ending::Cancelled;
        }
        if (wait.runOut(start)) {
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
    worker->rethrow();
    return Ending::Done;
}

} // namespace zelvano
