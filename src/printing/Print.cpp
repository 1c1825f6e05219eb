#include "printing/Print.h"

#include "picturelist/Entries.h"
#include "printing/PrintGeometry.h"
#include "state/Units.h"
#include "viewing/PictureBox.h"

namespace zelvano {

namespace {

std::string CannotPrint(const Context& c, const OpResult& why) {
    return "The picture " + c.win.listText(c.win.listIndex()) + " can not be printed: " + why.reason + ".";
}

} // namespace

void Command7_Click(Context& c) {
    AppState& s = c.state;
    const auto picture = c.win.pictureBoxPicture();
    const std::string selected = SelectedPath(c);
    // Only the selected picture is printed: Picture1 may still hold one selected before it.
    if (!picture || selected.empty() || selected != s.shown.path) {
        s.scaleMode = ScaleMode::Pixels;
        return;
    }
    if (!s.shown.problem.ok()) {
        c.win.message(CannotPrint(c, s.shown.problem));
        s.scaleMode = ScaleMode::Pixels;
        return;
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
        if (const OpResult printed = c.win.printPicture(place.landscape, place.width, place.height);
            !printed.ok()) {
            c.win.message(CannotPrint(c, printed));
        }
    }
    s.scaleMode = ScaleMode::Pixels;
}

} // namespace zelvano
