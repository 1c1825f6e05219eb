#include "picturelist/Delete.h"

#include "picturelist/ListSteps.h"

namespace zelvano {

namespace {

constexpr int kKeyBackspace = 8;
constexpr int kKeyDelete = 46;

} // namespace

void Command5_Click(Context& c) {
    FailureTolerantRun run;
    AppState& s = c.state;
    const int index = c.win.listIndex();
    const std::string name = c.win.listText(index);
    if (!name.empty()) {
        s.SelIndex = static_cast<std::int16_t>(index);
        if (c.win.askYesNo("Do you want to delete " + name + "?")) {
            // The row is fixed now, whatever the yields below let happen.
            const std::size_t row = static_cast<std::size_t>(s.PageStart) + static_cast<std::size_t>(index);
            const std::string path = std::string(s.PicList.folder(row)) + name;
            if (!DeletePictureAndRecord(c, run, row, path, name)) {
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
