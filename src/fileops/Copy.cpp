#include "fileops/Copy.h"

#include "fileops/FileNames.h"
#include "picturelist/Entries.h"
#include "picturelist/ListSteps.h"

namespace zelvano {

namespace {

// Copies the picture at `source`; false when it ended the operation.
bool CopyPicture(Context& c, const std::string& source, const std::string& name,
                 const std::string& destination) {
    bool overwrite = false;
    if (c.os.fileExists(destination) == Presence::Present) {
        if (c.os.sameFile(source, destination)) {
            return false; // the picture itself: there is nothing to copy
        }
        if (!c.win.askYesNo(std::string(kAlreadyExists))) {
            return false;
        }
        overwrite = true;
    }
    FailureTolerantRun run;
    run.step(c.os.setArchiveOnly(source));
    c.win.doEvents();
    const OpResult copied = run.step(c.os.copyFile(source, destination, overwrite));
    if (copied.failure == Failure::AccessError) {
        c.win.message(std::string(kWriteProtectedRename));
        return false;
    }
    if (!copied.ok()) {
        c.win.message("The picture " + name + " could not be copied to " + destination + ": " +
                      copied.reason + ".");
        return false;
    }
    if (!overwrite) {
        const std::size_t cut = destination.rfind(c.os.separator()) + 1; // 0 when there is none
        AppendRecord(c, destination.substr(0, cut), destination.substr(cut));
        c.win.listClear();
        FillPage(c);
    }
    return true;
}

// Asks where the copy goes until the answer is a place a record can name; nothing on Cancel.
std::optional<std::string> ChooseDestination(Context& c, const std::string& name) {
    for (;;) {
        std::optional<std::string> chosen = c.win.saveFileDialog(name);
        if (!chosen || chosen->empty()) {
            return std::nullopt;
        }
        if (!HoldsLineBreak(*chosen)) {
            return chosen;
        }
        c.win.message(std::string(kNoLineBreak));
    }
}

} // namespace

void Command6_Click(Context& c) {
    AppState& s = c.state;
    const int index = c.win.listIndex();
    const std::string name = c.win.listText(index);
    if (!name.empty()) {
        s.SelIndex = static_cast<std::int16_t>(index);
        const std::optional<std::string> chosen = ChooseDestination(c, name);
        if (!chosen) {
            return;
        }
        if (!CopyPicture(c, EntryPath(c, index), name, WithTypeExtension(*chosen, s.PicType))) {
            return;
        }
    }
    ShowCounter(c);
    c.win.doEvents();
    RestoreSelection(c);
}

} // namespace zelvano
