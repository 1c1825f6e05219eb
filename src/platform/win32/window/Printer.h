#pragma once

#include "platform/OpResult.h"
#include "platform/Window.h"
#include "platform/win32/window/WinPicture.h"

#include <windows.h>

namespace zelvano {

// The printer Print uses: chosen in the system's printer dialog, and kept for the next print.
class Printer {
public:
    Printer() = default;
    Printer(const Printer&) = delete;
    Printer& operator=(const Printer&) = delete;
    ~Printer();

    // Whether the system knows of any printer at all.
    static bool Installed();
    // The printer dialog; false when the user cancels it.
    bool choose(HWND owner);
    // The printable area of a portrait page, in millimetres.
    [[nodiscard]] PrintArea portraitArea() const;
    struct Dots {
        PixelSize size;
        int perInchX = 0;
        int perInchY = 0;
    };
    // The printer's dots for a size in millimetres.
    [[nodiscard]] Dots dots(bool landscape, float widthMm, float heightMm) const;
    // Prints decoded pixels on one page, at the printable area's top-left corner, `size` dots large.
    [[nodiscard]] OpResult print(const std::string& document, bool landscape, const Pixels& picture,
                                 PixelSize size) const;

private:
    // A device context of the chosen printer in one orientation; nothing when there is none.
    [[nodiscard]] HDC open(bool landscape) const;

    HGLOBAL devMode_ = nullptr;
    HGLOBAL devNames_ = nullptr;
};

} // namespace zelvano
