#include "platform/Window.h"

#include <algorithm>
#include <cmath>

namespace zelvano {

PixelSize PrintPixels(PixelSize dots, double dotsPerInchX, double dotsPerInchY) {
    constexpr double kShownPerInch = 300;
    const auto cap = [](int n, double perInch) {
        if (perInch <= kShownPerInch) {
            return n;
        }
        return std::max(1, static_cast<int>(std::lround(n * kShownPerInch / perInch)));
    };
    return {cap(dots.width, dotsPerInchX), cap(dots.height, dotsPerInchY)};
}

} // namespace zelvano
