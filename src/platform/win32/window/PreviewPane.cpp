#include "platform/win32/window/PreviewPane.h"

#include <cstring>

namespace zelvano {

namespace {

constexpr const char* kClass = "ZelvanoPreview";

} // namespace

PreviewPane::PreviewPane(const ControlArgs& args) : font_(args.font) {
    RegisterWindowClass(kClass, Proc, IDC_ARROW, CS_HREDRAW | CS_VREDRAW);
    create(kClass, args, 0);
}

PreviewPane::~PreviewPane() {
    clear();
}

LRESULT CALLBACK PreviewPane::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(hwnd, &ps);
        if (const auto* pane = static_cast<const PreviewPane*>(Control::From(hwnd))) {
            pane->paint(dc);
        }
        ::EndPaint(hwnd, &ps);
        return 0;
    }
    return ::DefWindowProcA(hwnd, message, wParam, lParam);
}

void PreviewPane::showPicture(const Pixels& picture) {
    clear();
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap_ != nullptr) {
        std::memcpy(bits, picture.bgra.data(), picture.bgra.size() * sizeof picture.bgra[0]);
        shown_ = {picture.width, picture.height};
    }
    ::InvalidateRect(hwnd(), nullptr, TRUE);
}

void PreviewPane::showText(const std::string& text) {
    clear();
    text_ = text;
}

void PreviewPane::clear() {
    if (bitmap_ != nullptr) {
        ::DeleteObject(bitmap_);
        bitmap_ = nullptr;
    }
    shown_ = {};
    text_.clear();
    ::InvalidateRect(hwnd(), nullptr, TRUE);
}

PixelSize PreviewPane::area() const {
    RECT r;
    ::GetClientRect(hwnd(), &r);
    return {r.right - r.left, r.bottom - r.top};
}

void PreviewPane::paint(HDC dc) const {
    RECT r;
    ::GetClientRect(hwnd(), &r);
    if (bitmap_ != nullptr) {
        HDC source = ::CreateCompatibleDC(dc);
        HGDIOBJ old = ::SelectObject(source, bitmap_);
        const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        ::GdiAlphaBlend(dc, (r.right - shown_.width) / 2, (r.bottom - shown_.height) / 2, shown_.width,
                        shown_.height, source, 0, 0, shown_.width, shown_.height, blend);
        ::SelectObject(source, old);
        ::DeleteDC(source);
    } else if (!text_.empty()) {
        HGDIOBJ old = ::SelectObject(dc, font_);
        ::SetBkMode(dc, TRANSPARENT);
        ::DrawTextA(dc, text_.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        ::SelectObject(dc, old);
    }
}

} // namespace zelvano
