#include "viewing/StaleEntries.h"

#include "viewing/PictureBox.h"
#include "viewing/Selection.h"

namespace zelvano {

void MissingFileCleanup(Context& c, FailureTolerantRun& /*run*/) {
    c.win.showPreview("");
    c.win.setPanelText(Panel::One, SelectedPath(c));
    c.win.setPanelText(Panel::Two, "");
}

bool NotAPictureCleanup(Context& /*c*/, FailureTolerantRun& /*run*/) {
    return true;
}

} // namespace zelvano
