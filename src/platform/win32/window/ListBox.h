#pragma once

#include "platform/win32/window/Control.h"

#include <functional>

namespace zelvano {

// A single-selection, unsorted list box. The program's own changes of the selection send no
// notification; a user's do.
class ListBox : public Control {
public:
    explicit ListBox(const ControlArgs& args);
    ~ListBox() override;
    ListBox(const ListBox&) = delete;
    ListBox& operator=(const ListBox&) = delete;

    // A user's change of the selection to an entry.
    std::function<void()> onSelectionChanged;
    // Delete or Backspace pressed in the list: the key code and the modifiers (shift 1, ctrl 2,
    // alt 4). The list box does nothing else with these keys.
    std::function<void(int key, int shift)> onDeleteKey;

    void clear();
    void add(const std::string& text);
    [[nodiscard]] int count() const;
    // An entry's text as bytes; empty when there is no such entry.
    [[nodiscard]] std::string item(int index) const;
    [[nodiscard]] int selected() const; // -1 when none
    void select(int index);             // -1 selects none
    void command(WORD code) override;

private:
    static LRESULT CALLBACK Keys(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                 DWORD_PTR self);
};

} // namespace zelvano
