#include "platform/win32/window/Control.h"

namespace zelvano {

namespace {

// The property that ties a control's window to its wrapper.
constexpr const char* kWrapper = "Zelvano.Control";

} // namespace

void RegisterWindowClass(const char* name, WNDPROC proc, LPCSTR cursor, UINT style, HICON icon) {
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    if (WNDCLASSA registered{}; ::GetClassInfoA(instance, name, &registered)) {
        return;
    }
    WNDCLASSA wc{};
    wc.hInstance = instance;
    wc.style = style;
    wc.lpfnWndProc = proc;
    wc.hIcon = icon;
    wc.hCursor = ::LoadCursorA(nullptr, cursor);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = name;
    ::RegisterClassA(&wc);
}

Control::~Control() {
    if (hwnd_ != nullptr) {
        ::RemovePropA(hwnd_, kWrapper);
    }
}

void Control::create(const char* windowClass, const ControlArgs& args, DWORD style, DWORD exStyle) {
    const RECT& r = args.place;
    hwnd_ = ::CreateWindowExA(
        exStyle, windowClass, args.text.c_str(), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style | args.style,
        r.left, r.top, r.right - r.left, r.bottom - r.top, args.parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(args.id)), ::GetModuleHandleA(nullptr), nullptr);
    ::SetPropA(hwnd_, kWrapper, this);
    if (args.font != nullptr) {
        ::SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(args.font), FALSE);
    }
}

Control* Control::From(HWND hwnd) {
    return static_cast<Control*>(::GetPropA(hwnd, kWrapper));
}

int Control::id() const {
    return ::GetDlgCtrlID(hwnd_);
}

void Control::setEnabled(bool enabled) {
    ::EnableWindow(hwnd_, enabled ? TRUE : FALSE);
}

bool Control::enabled() const {
    return ::IsWindowEnabled(hwnd_) != FALSE;
}

void Control::setText(const std::string& text) {
    ::SetWindowTextA(hwnd_, text.c_str());
}

std::string Control::text() const {
    std::string text(static_cast<std::size_t>(::GetWindowTextLengthA(hwnd_)) + 1, '\0');
    text.resize(
        static_cast<std::size_t>(::GetWindowTextA(hwnd_, text.data(), static_cast<int>(text.size()))));
    return text;
}

void Control::command(WORD /*code*/) {}

HBRUSH Control::background(HDC /*dc*/) {
    return nullptr;
}

} // namespace zelvano
