#include "platform/win32/window/Printer.h"

#include <cmath>
#include <commdlg.h>

namespace zelvano {

namespace {

// The pixels on white, since a printer knows nothing of transparency.
std::vector<std::uint32_t> OnWhite(const Pixels& picture) {
    std::vector<std::uint32_t> out(picture.bgra.size());
    for (std::size_t i = 0; i < out.size(); ++i) {
        const std::uint32_t p = picture.bgra[i];
        const std::uint32_t clear = 255 - (p >> 24);
        const auto channel = [&](int shift) {
            return (((p >> shift) & 0xFF) + clear) << shift;
        };
        out[i] = channel(0) | channel(8) | channel(16);
    }
    return out;
}

} // namespace

Printer::~Printer() {
    for (HGLOBAL h : {devMode_, devNames_}) {
        if (h != nullptr) {
            ::GlobalFree(h);
        }
    }
}

bool Printer::Installed() {
    DWORD needed = 0;
    DWORD count = 0;
    ::EnumPrintersA(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 4, nullptr, 0, &needed, &count);
    return needed > 0;
}

bool Printer::choose(HWND owner) {
    PRINTDLGA pd{};
    pd.lStructSize = sizeof pd;
    pd.hwndOwner = owner;
    pd.hDevMode = devMode_;
    pd.hDevNames = devNames_;
    pd.Flags = PD_NOPAGENUMS | PD_NOSELECTION | PD_USEDEVMODECOPIESANDCOLLATE;
    const bool chosen = ::PrintDlgA(&pd) != FALSE;
    devMode_ = pd.hDevMode;
    devNames_ = pd.hDevNames;
    return chosen;
}

HDC Printer::open(bool landscape) const {
    if (devNames_ == nullptr) {
        return nullptr;
    }
    const auto* names = static_cast<const DEVNAMES*>(::GlobalLock(devNames_));
    const char* base = reinterpret_cast<const char*>(names);
    auto* mode = devMode_ != nullptr ? static_cast<DEVMODEA*>(::GlobalLock(devMode_)) : nullptr;
    if (mode != nullptr) {
        mode->dmFields |= DM_ORIENTATION;
        mode->dmOrientation = landscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
    }
    HDC dc = ::CreateDCA(base + names->wDriverOffset, base + names->wDeviceOffset, nullptr, mode);
    if (mode != nullptr) {
        ::GlobalUnlock(devMode_);
    }
    ::GlobalUnlock(devNames_);
    return dc;
}

PrintArea Printer::portraitArea() const {
    HDC dc = open(false);
    if (dc == nullptr) {
        return {};
    }
    const auto mm = [dc](int dots, int perInch) {
        return static_cast<float>(::GetDeviceCaps(dc, dots) * kMillimetresPerInch /
                                  ::GetDeviceCaps(dc, perInch));
    };
    const PrintArea area{mm(HORZRES, LOGPIXELSX), mm(VERTRES, LOGPIXELSY)};
    ::DeleteDC(dc);
    return area;
}

Printer::Dots Printer::dots(bool landscape, float widthMm, float heightMm) const {
    HDC dc = open(landscape);
    if (dc == nullptr) {
        return {};
    }
    const auto toDots = [dc](float mm, int perInch) {
        return std::max(1, static_cast<int>(
                               std::lround(double{mm} * ::GetDeviceCaps(dc, perInch) / kMillimetresPerInch)));
    };
    const Dots out{{toDots(widthMm, LOGPIXELSX), toDots(heightMm, LOGPIXELSY)},
                   ::GetDeviceCaps(dc, LOGPIXELSX),
                   ::GetDeviceCaps(dc, LOGPIXELSY)};
    ::DeleteDC(dc);
    return out;
}

OpResult Printer::print(const std::string& document, bool landscape, const Pixels& picture,
                        PixelSize size) const {
    HDC dc = open(landscape);
    if (dc == nullptr) {
        return OpResult::fail(Failure::Other, "the printer could not be opened");
    }
    DOCINFOA doc{};
    doc.cbSize = sizeof doc;
    doc.lpszDocName = document.c_str();
    bool printed = ::StartDocA(dc, &doc) > 0 && ::StartPage(dc) > 0;
    if (printed) {
        const std::vector<std::uint32_t> bits = OnWhite(picture);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = picture.width;
        info.bmiHeader.biHeight = -picture.height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        // The picture is decoded no larger than the page shows, and often smaller: a picture that
        // fits is decoded at its own size, and drawn at the size it has on the screen.
        ::SetStretchBltMode(dc, HALFTONE);
        ::SetBrushOrgEx(dc, 0, 0, nullptr);
        printed = ::StretchDIBits(dc, 0, 0, size.width, size.height, 0, 0, picture.width, picture.height,
                                  bits.data(), &info, DIB_RGB_COLORS, SRCCOPY) != 0 &&
                  ::EndPage(dc) > 0 && ::EndDoc(dc) > 0;
    }
    if (!printed) {
        ::AbortDoc(dc);
    }
    ::DeleteDC(dc);
    return printed ? OpResult::success()
                   : OpResult::fail(Failure::Other, "the printer did not take the page");
}

} // namespace zelvano
