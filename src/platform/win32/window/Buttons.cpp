#include "platform/win32/window/Buttons.h"

#include <commctrl.h>

namespace zelvano {

PushButton::PushButton(const ControlArgs& args) {
    create("BUTTON", args, BS_PUSHBUTTON | WS_TABSTOP);
}

void PushButton::command(WORD code) {
    if (code == BN_CLICKED && onClick) {
        onClick();
    }
}

RadioButton::RadioButton(const ControlArgs& args) {
    create("BUTTON", args, BS_AUTORADIOBUTTON | WS_TABSTOP);
}

bool RadioButton::checked() const {
    return ::SendMessageA(hwnd(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void RadioButton::setChecked(bool checked) {
    ::SendMessageA(hwnd(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void RadioButton::command(WORD code) {
    if (code == BN_CLICKED && checked() && onChecked) {
        onChecked();
    }
}

GroupBox::GroupBox(const ControlArgs& args) {
    create("BUTTON", args, BS_GROUPBOX);
    ::SetWindowSubclass(hwnd(), Erase, 1, 0);
}

GroupBox::~GroupBox() {
    ::RemoveWindowSubclass(hwnd(), Erase, 1);
}

LRESULT CALLBACK GroupBox::Erase(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/,
                                 DWORD_PTR /*self*/) {
    if (message == WM_ERASEBKGND) {
        RECT r;
        ::GetClientRect(hwnd, &r);
        ::FillRect(reinterpret_cast<HDC>(wParam), &r, ::GetSysColorBrush(COLOR_BTNFACE));
        return TRUE;
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

} // namespace zelvano
