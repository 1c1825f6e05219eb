#include "picturelist/Delete.h"

#include "picturelist/Entries.h"
#include "picturelist/ListSteps.h"

namespace zelvano {

void Command5_Click(Context& c) {
    FailureTolerantRun run;
    AppState& s = c.state;
    const int index = c.win.listIndex();
    const std::string name = c.win.listText(index);
    if (!name.empty()) {
        s.SelIndex = static_cast<std::int16_t>(index);
        if (c.win.askYesNo("Do you want to delete " + name + "?")) {
            // The row is fixed now, whatever the yields below let happen.
            if (!DeletePictureAndRecord(c, run, RowOf(c, index), EntryPath(c, index), name)) {
                return;
            }
        }
    }
    RestoreSelection(c);
    ShowCounter(c);
    c.win.doEvents();
}

void List1_KeyDown(Context& c, int keyCode, int /*shift*/) {
    if (keyCode == kKeyBackspace || keyCode == kKeyDelete) {
        Command5_Click(c);
    }
}

} // namespace zelvano
