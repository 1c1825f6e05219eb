#pragma once

#include "platform/win32/window/Control.h"

#include <functional>

namespace zelvano {

// A push button; onClick runs when it is pressed.
class PushButton : public Control {
public:
    explicit PushButton(const ControlArgs& args);
    std::function<void()> onClick;
    void command(WORD code) override;
};

// One of a group of auto radio buttons, which tick and untick themselves. onChecked runs on every
// click or key that leaves this one checked, the one that was checked already too: only the owner
// knows which choice it shows. The program's own setChecked sends nothing.
class RadioButton : public Control {
public:
    explicit RadioButton(const ControlArgs& args);
    std::function<void()> onChecked;
    [[nodiscard]] bool checked() const;
    void setChecked(bool checked);
    void command(WORD code) override;
};

// The frame drawn around a group of controls, its caption on its top line. It fills its own
// background, which its parent, clipping its children, leaves alone.
class GroupBox : public Control {
public:
    explicit GroupBox(const ControlArgs& args);
    ~GroupBox() override;
    GroupBox(const GroupBox&) = delete;
    GroupBox& operator=(const GroupBox&) = delete;

private:
    static LRESULT CALLBACK Erase(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                  DWORD_PTR self);
};

} // namespace zelvano
