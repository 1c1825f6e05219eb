#pragma once

#include <windows.h>

#include <string>

namespace zelvano {

// Where and how a control is made: its parent, caption, place in pixels, font and id.
struct ControlArgs {
    HWND parent = nullptr;
    std::string text;
    RECT place{};
    HFONT font = nullptr;
    int id = 0;
    DWORD style = 0; // added to the kind's own styles
};

// Registers one of this program's window classes, at its first use only: its background is the
// dialogs' face colour. Later calls, and the windows made meanwhile, keep the first registration.
void RegisterWindowClass(const char* name, WNDPROC proc, LPCSTR cursor, UINT style = 0, HICON icon = nullptr);

// What every control wrapper shares: its window handle, and the messages its parent passes on to
// it. A control is found from its handle, so the parent needs no table of its own.
class Control {
public:
    Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control();

    [[nodiscard]] HWND hwnd() const { return hwnd_; }
    [[nodiscard]] int id() const;
    void setEnabled(bool enabled);
    [[nodiscard]] bool enabled() const;
    // The caption, as the bytes of the system's code page.
    void setText(const std::string& text);
    [[nodiscard]] std::string text() const;

    // The wrapper of a control made here, or nothing.
    static Control* From(HWND hwnd);

    // A WM_COMMAND notification from the control, passed on by its parent.
    virtual void command(WORD code);
    // WM_CTLCOLORSTATIC and WM_CTLCOLORBTN: a brush for the control's background, or nothing for
    // the system's.
    virtual HBRUSH background(HDC dc);

protected:
    void create(const char* windowClass, const ControlArgs& args, DWORD style, DWORD exStyle = 0);

private:
    HWND hwnd_ = nullptr;
};

} // namespace zelvano
