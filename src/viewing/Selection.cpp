#include "viewing/Selection.h"

#include "picturelist/Entries.h"
#include "picturelist/ListSteps.h"
#include "platform/DriveWait.h"
#include "platform/FailureTolerantRun.h"
#include "viewing/PictureBox.h"
#include "viewing/StaleEntries.h"

namespace zelvano {

namespace {

// Whether the file's drive answers: its first byte is read as every drive is reached, off the
// window's thread, with the patience of a selection. What the read says is the picture readers' to
// say; a read given up is the drive's silence.
OpResult DriveAnswers(Context& c, const std::string& path) {
    if (path.empty()) {
        return OpResult::success();
    }
    Os& os = c.os.direct(); // lives as long as the program
    return OnDrive(c.win, {c.os.driveOf(path)}, c.state.readSilence, [&os, path](DriveCall& /*call*/) {
        std::string start;
        os.readFileStart(path, 1, start);
    });
}

void HandleSelection(Context& c) {
    FailureTolerantRun run;
    const std::string path = SelectedPath(c);
    const OpResult silent = DriveAnswers(c, path);
    const bool answers = silent.ok();
    // A drive that does not answer is a read error: shown as one, and never offered for deletion.
    const OpResult preview = answers ? run.step(c.win.showPreview(path)) : run.step(silent);
    if (!answers) {
        c.win.showPreview("");
    }
    if (c.state.PicType != "tif") {
        c.win.setEnabled(Button::Command7, true);
        const OpResult load = answers ? run.step(c.win.loadPictureBox(path)) : silent;
        c.state.shown = {path, load.ok() ? preview : load};
    } else {
        c.win.setEnabled(Button::Command7, false);
        c.state.shown = {};
    }
    c.state.SelIndex = static_cast<std::int16_t>(c.win.listIndex());

    if (run.lastFailure() == Failure::NotFound) {
        MissingFileCleanup(c);
        return;
    }
    if (run.lastFailure() == Failure::NotAPicture && !NotAPictureCleanup(c, run)) {
        return;
    }
    ShowCounter(c);
    c.win.doEvents();
    // Read afresh: a clean-up or a nested selection may have changed what is selected.
    c.win.setPanelText(Panel::One, SelectedPath(c));
    c.win.setPanelText(Panel::Two, SizeText(c));
}

} // namespace

void List1_Click(Context& c) {
    // A clean-up that removes an entry selects the next one, whose handling would run inside
    // this one, and so on through a run of vanished files. It runs right after this one instead,
    // in a loop, so that no run of removals can deepen the stack.
    if (c.selecting) {
        c.selectAgain = true;
        return;
    }
    c.selecting = true;
    do {
        c.selectAgain = false;
        HandleSelection(c);
    } while (c.selectAgain);
    c.selecting = false;
}

} // namespace zelvano
