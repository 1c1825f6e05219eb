#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace zelvano {

// Vent: the borderless wait window of the scan, and of any wait for a drive, centred on the screen,
// not in the taskbar, with a line of progress under its label and a Cancel button. `dpi` converts
// its designed twips.
class WaitWindow {
public:
    // The scan's label.
    static constexpr const char* kScanning = " Pleace wait - Scanning computer ";

    WaitWindow(HWND owner, int dpi, HFONT progressFont, const char* label = kScanning);
    WaitWindow(const WaitWindow&) = delete;
    WaitWindow& operator=(const WaitWindow&) = delete;
    ~WaitWindow();

    void setProgress(const std::string& text);
    [[nodiscard]] HWND hwnd() const { return hwnd_; }
    // Activates the window with the keyboard focus on Cancel, where Escape, Enter and Space cancel.
    void focusCancel();
    // The Cancel button, Escape, or closing the window.
    std::function<void()> onCancel;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
    HWND progress_ = nullptr;
    HWND cancel_ = nullptr;
    HFONT labelFont_ = nullptr;
};

} // namespace zelvano
