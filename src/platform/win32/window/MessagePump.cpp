#include "platform/win32/window/MessagePump.h"

#include "platform/Worker.h"

#include <windows.h>

#include <chrono>
#include <memory>

namespace zelvano {

namespace {

// Takes one message of those given; false when there is none. A request to quit is left for the
// main loop.
bool RunOne(HWND hwnd, UINT first, UINT last) {
    MSG msg;
    if (!::PeekMessageA(&msg, hwnd, first, last, PM_REMOVE)) {
        return false;
    }
    if (msg.message == WM_QUIT) {
        ::PostQuitMessage(static_cast<int>(msg.wParam));
        return false;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
    return true;
}

} // namespace

void PumpAll() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        const bool input = (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) ||
                           (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST);
        if (input && msg.hwnd != nullptr && !::IsWindowEnabled(msg.hwnd)) {
            continue; // made for a control greyed since: it takes none now, as the system would
        }
        HWND top = msg.hwnd != nullptr ? ::GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
        if (top != nullptr && ::IsDialogMessageA(top, &msg)) {
            continue;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

void PumpHoldingInput(HWND exit, HWND window) {
    DoEvents();
    while (RunOne(exit, WM_MOUSEFIRST, WM_MOUSELAST) || RunOne(window, WM_NCMOUSEMOVE, WM_NCMBUTTONDBLCLK) ||
           RunOne(nullptr, WM_SYSKEYDOWN, WM_SYSDEADCHAR)) {
    }
}

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
                    const std::function<bool()>& cancelled, const std::function<void()>& pump) {
    // The worker's end sets an event, which the wait below wakes for as it does for messages.
    const std::shared_ptr<void> ended(::CreateEventA(nullptr, TRUE, FALSE, nullptr), ::CloseHandle);
    const std::shared_ptr<Worker> worker =
        Worker::Start(std::move(work), [ended] { ::SetEvent(ended.get()); });
    HANDLE done = ended.get();
    const auto start = std::chrono::steady_clock::now();
    ULONGLONG lastTick = ::GetTickCount64();
    while (::MsgWaitForMultipleObjects(1, &done, FALSE, 20, QS_ALLINPUT) != WAIT_OBJECT_0) {
        pump();
        if (worker->done()) {
            break; // it ended while a message ran, a window's move or a menu held here
        }
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
