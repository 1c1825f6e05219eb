#include "viewing/PictureBox.h"

#include "state/Units.h"

#include <cmath>

namespace zelvano {

PixelSize PictureBoxOuterPixels(const Window& win) {
    const auto picture = win.pictureBoxPicture();
    if (!picture) {
        return kPictureBoxDesigned;
    }
    return {picture->width + 2 * kPictureBoxBorder, picture->height + 2 * kPictureBoxBorder};
}

std::string SizeText(const Context& c) {
    const PixelSize outer = PictureBoxOuterPixels(c.win);
    const int tpp = c.win.twipsPerPixel();
    const auto text = [&](int pixels) {
        return std::to_string(std::lround(PixelsToUnit(pixels, c.state.scaleMode, tpp)));
    };
    return "Size: " + text(outer.width) + " x " + text(outer.height);
}

} // namespace zelvano
