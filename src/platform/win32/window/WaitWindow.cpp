#include "platform/win32/window/WaitWindow.h"

#include "platform/win32/window/Control.h"

#include <cstring>

namespace zelvano {

namespace {

constexpr const char* kClass = "ZelvanoWait";

HFONT LabelFont(int points, int dpi) {
    return ::CreateFontA(-::MulDiv(points, dpi, 72), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                         OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                         VARIABLE_PITCH | FF_SWISS, "Arial");
}

int TextWidth(HDC dc, HFONT font, const char* text) {
    HGDIOBJ before = ::SelectObject(dc, font);
    SIZE size{};
    ::GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &size);
    ::SelectObject(dc, before);
    return size.cx;
}

// The label's font at its designed 18 points or, where this system's Arial (or what stands in for
// it) is wider, at the largest size that keeps the text on one line: the label would wrap a longer
// text and cut its end.
HFONT FittingFont(HWND label, int dpi, const char* text) {
    RECT room{};
    ::GetClientRect(label, &room);
    HDC dc = ::GetDC(label);
    int points = 18;
    HFONT font = LabelFont(points, dpi);
    while (points > 8 && TextWidth(dc, font, text) > room.right) {
        ::DeleteObject(font);
        font = LabelFont(--points, dpi);
    }
    ::ReleaseDC(label, dc);
    return font;
}

} // namespace

WaitWindow::WaitWindow(HWND owner, int dpi, HFONT progressFont, const char* text) {
    const auto px = [dpi](int twips) {
        return ::MulDiv(twips, dpi, 1440);
    };
    RECT frame{0, 0, px(6195), px(1485)}; // the designed 1005 twips, and a row for Cancel
    ::AdjustWindowRectEx(&frame, WS_POPUP | WS_BORDER, FALSE, WS_EX_TOOLWINDOW);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    RegisterWindowClass(kClass, Proc, IDC_WAIT);
    hwnd_ = ::CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT, kClass, "", WS_POPUP | WS_BORDER,
                              (::GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                              (::GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, owner, nullptr,
                              ::GetModuleHandleA(nullptr), nullptr);
    HWND label =
        ::CreateWindowExA(0, "STATIC", text, WS_CHILD | WS_VISIBLE | SS_CENTER | SS_NOPREFIX, px(135),
                          px(240), px(5925), px(495), hwnd_, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    labelFont_ = FittingFont(label, dpi, text);
    ::SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(labelFont_), FALSE);
    progress_ =
        ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_CENTER | SS_NOPREFIX, px(135), px(735),
                          px(5925), px(255), hwnd_, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    ::SendMessageA(progress_, WM_SETFONT, reinterpret_cast<WPARAM>(progressFont), FALSE);
    ::SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    cancel_ = ::CreateWindowExA(0, "BUTTON", "Cancel", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                                px((6195 - 1035) / 2), px(1005), px(1035), px(375), hwnd_,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDCANCEL)),
                                ::GetModuleHandleA(nullptr), nullptr);
    ::SendMessageA(cancel_, WM_SETFONT, reinterpret_cast<WPARAM>(progressFont), FALSE);
    ::ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    ::UpdateWindow(hwnd_);
}

LRESULT CALLBACK WaitWindow::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<WaitWindow*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    const bool cancel = (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) || message == WM_CLOSE;
    if (cancel && self != nullptr) {
        if (self->onCancel) {
            self->onCancel(); // the button, Escape, Enter, or Alt+F4
        }
        return 0; // the window goes when the scan has given way
    }
    return ::DefWindowProcA(hwnd, message, wParam, lParam);
}

WaitWindow::~WaitWindow() {
    ::DestroyWindow(hwnd_);
    ::DeleteObject(labelFont_);
}

void WaitWindow::focusCancel() {
    ::SetFocus(cancel_);
}

void WaitWindow::setProgress(const std::string& text) {
    ::SetWindowTextA(progress_, text.c_str());
}

} // namespace zelvano
