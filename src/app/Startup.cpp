#include "app/Startup.h"

#include "picturelist/ListFile.h"
#include "picturelist/ListSteps.h"

#include <algorithm>
#include <cmath>

namespace zelvano {

PixelRect PlaceInWorkArea(PixelRect workArea, PixelSize frame, int twipsPerPixel) {
    const auto tpp = static_cast<float>(twipsPerPixel);
    const float h = static_cast<float>(workArea.height) * tpp;
    const float w = static_cast<float>(workArea.width) * tpp;
    const float top = h == 600.0F ? 0.0F : (h - static_cast<float>(frame.height) * tpp) / 2.0F;
    const float left = (w - static_cast<float>(frame.width) * tpp) / 2.0F;
    // A window larger than the work area keeps its title bar on the screen.
    const auto toPixels = [tpp](float twips) {
        return std::max(0, static_cast<int>(std::lround(twips / tpp)));
    };
    return {workArea.left + toPixels(left), workArea.top + toPixels(top), frame.width, frame.height};
}

void Form_Load(Context& c) {
    const PixelRect place = PlaceInWorkArea(c.win.workArea(), c.win.windowFrameSize(), c.win.twipsPerPixel());
    c.win.moveWindow(place.left, place.top);

    const std::string folder = c.os.listFileFolder();
    for (int option = 0; option < static_cast<int>(kPictureTypes.size()); ++option) {
        const std::string type(kPictureTypes.at(static_cast<std::size_t>(option)));
        if (c.os.fileExists(ListFilePath(folder, c.os.separator(), type)) == Presence::Present) {
            SelectOption(c, option); // the type's list, loaded once, and scanning made possible
            return;
        }
    }
    c.win.showWindow();
    c.win.message("Those, the picture format you want to scan fore.");
}

void OptionClick(Context& c, int option) {
    c.win.setEnabled(Button::Command1, true);
    c.win.listClear();
    c.state.PicType = std::string(kPictureTypes.at(static_cast<std::size_t>(option)));
    HentListe(c);
}

void SelectOption(Context& c, int option) {
    if (c.win.checkedOption() == option) {
        return;
    }
    c.win.setCheckedOption(option);
    OptionClick(c, option);
}

} // namespace zelvano
