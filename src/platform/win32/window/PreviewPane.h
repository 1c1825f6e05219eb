#pragma once

#include "platform/win32/window/Control.h"
#include "platform/win32/window/WinPicture.h"

namespace zelvano {

// Preview1: shows a decoded picture centred in its area, or a line of text, or nothing.
class PreviewPane : public Control {
public:
    explicit PreviewPane(const ControlArgs& args);
    ~PreviewPane() override;
    PreviewPane(const PreviewPane&) = delete;
    PreviewPane& operator=(const PreviewPane&) = delete;

    void showPicture(const Pixels& picture);
    void showText(const std::string& text);
    void clear();
    // The size of the area a picture is shown in.
    [[nodiscard]] PixelSize area() const;
    // The size of the picture shown; nothing shows as 0 x 0.
    [[nodiscard]] PixelSize shown() const { return shown_; }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void paint(HDC dc) const;

    HFONT font_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    PixelSize shown_;
    std::string text_;
};

} // namespace zelvano
