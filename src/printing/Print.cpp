#include "printing/Print.h"

#include "app/Units.h"
#include "printing/PrintGeometry.h"
#include "viewing/PictureBox.h"

namespace zelvano {

void Command7_Click(Context& c) {
    AppState& s = c.state;
    const auto picture = c.win.pictureBoxPicture();
    if (!picture) {
        s.scaleMode = ScaleMode::Pixels;
        return; // nothing loaded: no empty page
    }
    s.scaleMode = ScaleMode::Millimetres;
    if (c.win.printerDialog()) {
        const PrintArea page = c.win.printableArea();
        const int tpp = c.win.twipsPerPixel();
        const auto mm = [&](int pixels) {
            return static_cast<float>(PixelsToUnit(pixels, s.scaleMode, tpp));
        };
        const PixelSize outer = PictureBoxOuterPixels(c.win);
        const PrintPlacement place =
            PlacePrint(mm(outer.width), mm(outer.height), static_cast<float>(picture->width),
                       static_cast<float>(picture->height), page.width, page.height, mm(picture->width),
                       mm(picture->height));
        c.win.printPicture(place.landscape, place.width, place.height); // a failure is skipped
    }
    s.scaleMode = ScaleMode::Pixels;
}

} // namespace zelvano
