#include "platform/win32/window/MessagePump.h"

#include <windows.h>

#include <exception>
#include <thread>

namespace zelvano {

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

void RunOffThread(const std::function<void()>& work, const std::function<void()>& tick) {
    HANDLE done = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        ::SetEvent(done);
    });
    ULONGLONG lastTick = ::GetTickCount64();
    while (::MsgWaitForMultipleObjects(1, &done, FALSE, 100,
                                       QS_PAINT | QS_POSTMESSAGE | QS_SENDMESSAGE | QS_TIMER) !=
           WAIT_OBJECT_0) {
        DoEvents();
        if (tick && ::GetTickCount64() - lastTick >= 100) {
            tick();
            lastTick = ::GetTickCount64();
        }
    }
    worker.join();
    ::CloseHandle(done);
    if (tick) {
        tick();
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
}

} // namespace zelvano
