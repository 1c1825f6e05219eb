#include "platform/win32/window/ListBox.h"

#include <commctrl.h>

namespace zelvano {

ListBox::ListBox(const ControlArgs& args) {
    create("LISTBOX", args, LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE);
    ::SetWindowSubclass(hwnd(), Keys, 1, reinterpret_cast<DWORD_PTR>(this));
}

ListBox::~ListBox() {
    ::RemoveWindowSubclass(hwnd(), Keys, 1);
}

LRESULT CALLBACK ListBox::Keys(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/,
                               DWORD_PTR self) {
    auto* list = reinterpret_cast<ListBox*>(self);
    // With Alt held, a key comes as a system key.
    const bool keyDown = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
    if (keyDown && (wParam == VK_DELETE || wParam == VK_BACK) && list->onDeleteKey) {
        const auto down = [](int key) {
            return (::GetKeyState(key) & 0x8000) != 0;
        };
        const int shift = (down(VK_SHIFT) ? 1 : 0) | (down(VK_CONTROL) ? 2 : 0) | (down(VK_MENU) ? 4 : 0);
        list->onDeleteKey(static_cast<int>(wParam), shift);
        return 0;
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

void ListBox::clear() {
    ::SendMessageA(hwnd(), LB_RESETCONTENT, 0, 0);
}

void ListBox::add(const std::string& text) {
    ::SendMessageA(hwnd(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

int ListBox::count() const {
    return static_cast<int>(::SendMessageA(hwnd(), LB_GETCOUNT, 0, 0));
}

std::string ListBox::item(int index) const {
    const LRESULT length = ::SendMessageA(hwnd(), LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (index < 0 || length == LB_ERR) {
        return {};
    }
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const LRESULT got =
        ::SendMessageA(hwnd(), LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(got == LB_ERR ? 0 : static_cast<std::size_t>(got));
    return text;
}

int ListBox::selected() const {
    const LRESULT index = ::SendMessageA(hwnd(), LB_GETCURSEL, 0, 0);
    return index == LB_ERR ? -1 : static_cast<int>(index);
}

void ListBox::select(int index) {
    ::SendMessageA(hwnd(), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void ListBox::command(WORD code) {
    if (code == LBN_SELCHANGE && selected() >= 0 && onSelectionChanged) {
        onSelectionChanged();
    }
}

} // namespace zelvano
