#include "platform/win32/window/StatusBar.h"

#include <algorithm>
#include <commctrl.h>

namespace zelvano {

StatusBar::StatusBar(const ControlArgs& args, int secondWidth)
    : font_(args.font), designed_(secondWidth), second_(secondWidth) {
    create(STATUSCLASSNAMEA, args, 0);
    dock();
}

void StatusBar::dock() {
    ::SendMessageA(hwnd(), WM_SIZE, 0, 0);
    RECT r;
    ::GetClientRect(hwnd(), &r);
    const int edges[2] = {std::max(0, static_cast<int>(r.right) - second_), -1};
    ::SendMessageA(hwnd(), SB_SETPARTS, 2, reinterpret_cast<LPARAM>(edges));
}

int StatusBar::firstWidth() const {
    RECT r{};
    ::SendMessageA(hwnd(), SB_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    return r.right - r.left;
}

void StatusBar::setPart(int part, const std::string& text) {
    if (part == 1) { // the size text of a large photo shows whole
        HDC dc = ::GetDC(hwnd());
        HGDIOBJ old = ::SelectObject(dc, font_);
        SIZE extent{};
        ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        ::SelectObject(dc, old);
        ::ReleaseDC(hwnd(), dc);
        const int needed =
            std::max(designed_, static_cast<int>(extent.cx) + 2 * ::GetSystemMetrics(SM_CXEDGE) + 8);
        if (needed != second_) {
            second_ = needed;
            dock();
        }
    }
    ::SendMessageA(hwnd(), SB_SETTEXTA, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text.c_str()));
}

std::string StatusBar::part(int part) const {
    const auto length = LOWORD(::SendMessageA(hwnd(), SB_GETTEXTLENGTHA, static_cast<WPARAM>(part), 0));
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    ::SendMessageA(hwnd(), SB_GETTEXTA, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text.data()));
    text.resize(length);
    return text;
}

} // namespace zelvano
