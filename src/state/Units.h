#pragma once

#include "state/AppState.h"

namespace zelvano {

inline constexpr double kTwipsPerInch = 1440.0;

// A length in screen pixels in the window's coordinate unit.
inline double PixelsToUnit(int pixels, ScaleMode mode, int twipsPerPixel) {
    switch (mode) {
    case ScaleMode::Twips:
        return static_cast<double>(pixels) * twipsPerPixel;
    case ScaleMode::Millimetres:
        return static_cast<double>(pixels) * twipsPerPixel * kMillimetresPerInch / kTwipsPerInch;
    case ScaleMode::Pixels:
        break;
    }
    return pixels;
}

} // namespace zelvano
