#include "viewing/StaleEntries.h"

#include "picturelist/Entries.h"
#include "picturelist/ListSteps.h"
#include "viewing/PictureBox.h"

namespace zelvano {

void MissingFileCleanup(Context& c) {
    const std::string path = SelectedPath(c);
    const std::string name = c.win.listText(c.win.listIndex());
    c.win.showPreview("");
    c.win.setPanelText(Panel::One, path);
    c.win.setPanelText(Panel::Two, "");
    if (c.win.askYesNo("The picture '" + name +
                       "' dose not exists, do you want to delete it from the list?")) {
        // The question is about the list: a file that came back meanwhile is left alone.
        c.win.doEvents();
        RemoveRow(c, RowOf(c, c.win.listIndex()));
        RestoreSelection(c);
    }
    ShowCounter(c);
    c.win.doEvents();
    RestoreSelection(c);
}

bool NotAPictureCleanup(Context& c, FailureTolerantRun& run) {
    const std::string path = SelectedPath(c);
    const std::string name = c.win.listText(c.win.listIndex());
    c.win.setPanelText(Panel::One, path);
    c.win.setPanelText(Panel::Two, SizeText(c));
    ShowCounter(c);
    c.win.doEvents();
    if (c.win.askYesNo("The file " + name + " are not a picture file, do you want to delete it?") &&
        !name.empty()) {
        if (!DeletePictureAndRecord(c, run, RowOf(c, c.win.listIndex()), path, name)) {
            return false;
        }
    }
    ShowCounter(c);
    c.win.doEvents();
    RestoreSelection(c);
    return true;
}

} // namespace zelvano
