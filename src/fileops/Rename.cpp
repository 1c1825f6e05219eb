#include "fileops/Rename.h"

#include "fileops/FileNames.h"
#include "picturelist/Entries.h"
#include "picturelist/ListSteps.h"

namespace zelvano {

namespace {

struct Selected {
    std::size_t row;
    std::string folder;
    std::string name;
    [[nodiscard]] std::string path() const { return folder + name; }
};

OpResult RenameViaTemporary(Os& os, const std::string& from, const std::string& to) {
    // On a file system that ignores letter case the new name is the file itself, so a rename in
    // one step would change nothing: go by way of a name of our own.
    const std::string temporary = from + ".zelvano-renaming";
    if (OpResult first = os.renameFile(from, temporary, false); !first.ok()) {
        return first;
    }
    OpResult second = os.renameFile(temporary, to, false);
    if (!second.ok()) {
        os.renameFile(temporary, from, false);
    }
    return second;
}

bool Renamed(Context& c, const Selected& picture, const OpResult& result) {
    if (result.failure == Failure::AccessError) {
        c.win.message(std::string(kWriteProtectedRename));
    } else if (!result.ok()) {
        c.win.message("The picture " + picture.name + " could not be renamed: " + result.reason + ".");
    }
    return result.ok();
}

// The new name was taken and the user agreed: the picture takes its place, and its own record
// goes, so that a record of the replaced file stands for it. Nothing is selected afterwards.
void OverwriteRename(Context& c, const Selected& picture, const std::string& to) {
    FailureTolerantRun run;
    run.step(c.os.setArchiveOnly(picture.path()));
    c.win.doEvents();
    // One step: the replaced file is never gone unless the picture has taken its place.
    if (!Renamed(c, picture, run.step(c.os.renameFile(picture.path(), to, true)))) {
        return;
    }
    RemoveRow(c, picture.row);
}

void PlainRename(Context& c, const Selected& picture, const std::string& newName, bool caseOnly) {
    FailureTolerantRun run;
    const std::string to = picture.folder + newName;
    run.step(c.os.setArchiveOnly(picture.path()));
    c.win.doEvents();
    const OpResult renamed =
        caseOnly ? RenameViaTemporary(c.os, picture.path(), to) : c.os.renameFile(picture.path(), to, false);
    if (!Renamed(c, picture, run.step(renamed))) {
        return;
    }
    c.state.PicList.setName(picture.row, newName);
    SaveAndReload(c);
    c.win.listClear();
    FillPage(c);
    RestoreSelection(c);
}

} // namespace

void Command4_Click(Context& c) {
    AppState& s = c.state;
    const int index = c.win.listIndex();
    const std::string current = c.win.listText(index);
    if (current.empty()) {
        return;
    }
    const std::size_t row = RowOf(c, index);
    const Selected picture{row, std::string(s.PicList.folder(row)), current};
    for (;;) {
        const std::string answer =
            c.win.inputBox("Write the new name fore this picture.", "New name:", current);
        if (answer.empty() || answer == current) {
            return;
        }
        if (HoldsLineBreak(answer)) {
            c.win.message(std::string(kNoLineBreak));
            continue;
        }
        if (const auto at = answer.find_first_of(std::string("/") + c.os.separator());
            at != std::string::npos) {
            c.win.message("A name can not hold \"" + answer.substr(at, 1) +
                          "\". Write the name alone, without a folder.");
            continue;
        }
        s.SelIndex = static_cast<std::int16_t>(index);
        const std::string newName = WithTypeExtension(answer, s.PicType);
        const std::string to = picture.folder + newName;
        if (newName == current) {
            return; // the type's extension added back gives the name it has
        }
        if (c.os.fileExists(to) == Presence::Present) {
            if (c.os.sameFile(picture.path(), to)) {
                // The picture itself under another spelling: a change of letter case alone is a
                // real rename; another name of the same file changes nothing.
                if (EqualIgnoringCase(newName, current)) {
                    PlainRename(c, picture, newName, true);
                }
                return;
            }
            if (!c.win.askYesNo(std::string(kAlreadyExists))) {
                continue;
            }
            OverwriteRename(c, picture, to);
            return;
        }
        PlainRename(c, picture, newName, false);
        return;
    }
}

} // namespace zelvano
