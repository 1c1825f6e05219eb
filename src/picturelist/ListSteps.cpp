#include "picturelist/ListSteps.h"

#include "picturelist/Entries.h"
#include "picturelist/ListFile.h"
#include "platform/DriveWait.h"

namespace zelvano {

namespace {

// Reads a list file into `table`; on failure `table` is left empty.
OpResult ReadList(Context& c, const std::string& path, PicTable& table) {
    ListParser parser(table);
    OpResult read = c.os.readFile(path, [&parser](std::string_view piece) { parser.feed(piece); });
    if (read.ok()) {
        parser.finish();
    } else {
        table.clear();
    }
    return read;
}

std::string NotScannedMessage(const std::string& picType) {
    return "There have not been Scanned fore " + picType + " pictures. Click on 'Scan disk/disks'.";
}

} // namespace

std::string CurrentListFile(const Context& c) {
    return ListFilePath(c.os.listFileFolder(), c.os.separator(), c.state.PicType);
}

void HentListe(Context& c) {
    AppState& s = c.state;
    const std::string path = CurrentListFile(c);
    s.PicList.clear();
    const Presence list = c.os.fileExists(path);
    if (list == Presence::Missing) {
        c.win.showPreview("");
        s.PageStart = 0;
        c.win.message(NotScannedMessage(s.PicType));
        ShowCounter(c);
        return;
    }
    // A list whose drive does not answer is shown empty, and so is never written over.
    const OpResult read =
        list == Presence::Present ? ReadList(c, path, s.PicList) : NoAnswer(c.os.driveOf(path));
    if (!read.ok()) {
        c.win.message(ListNotRead(path, read));
    }
    s.PageStart = 0;
    FillPage(c);
    SelectEntry(c, 0);
    ShowCounter(c);
}

OpResult SaveList(Context& c) {
    const PicTable& table = c.state.PicList;
    return c.os.replaceFile(CurrentListFile(c), [&table](const auto& put) { WriteList(table, put); });
}

void ReloadList(Context& c) {
    const std::string path = CurrentListFile(c);
    if (c.os.fileExists(path) != Presence::Present) {
        return;
    }
    PicTable loaded;
    if (ReadList(c, path, loaded).ok()) {
        c.state.PicList = std::move(loaded);
    }
}

std::string ListNotRead(const std::string& path, const OpResult& result) {
    return "The list file " + path + " could not be read: " + result.reason;
}

std::string ListNotWritten(const std::string& path, const OpResult& result) {
    return "The list file " + path + " could not be written: " + result.reason + ".";
}

void SaveAndReload(Context& c) {
    if (const OpResult saved = SaveList(c); !saved.ok()) {
        c.win.message(ListNotWritten(CurrentListFile(c), saved));
        return;
    }
    ReloadList(c);
}

void AppendRecord(Context& c, const std::string& folder, const std::string& name) {
    // The rewrite leaves a stray line out, and gives LF lines their CR.
    if (c.state.PicList.unpairedEnd() || c.state.PicList.lfLineEnds()) {
        c.state.PicList.append(folder, name);
        SaveAndReload(c);
        return;
    }
    const std::string path = CurrentListFile(c);
    std::string end;
    c.os.readFileEnd(path, 2, end); // a list file that is not there yet has no last line
    if (const OpResult appended = c.os.appendToFile(path, AppendedRecord(end, folder, name));
        !appended.ok()) {
        c.win.message(ListNotWritten(path, appended));
        c.state.PicList.append(folder, name);
        return;
    }
    ReloadList(c);
}

void FillPage(Context& c) {
    const AppState& s = c.state;
    for (int row = s.PageStart; row < s.PageStart + kPageSize && row < static_cast<int>(PicTable::kRows);
         ++row) {
        const std::string_view name = s.PicList.name(static_cast<std::size_t>(row));
        if (name.empty()) {
            break;
        }
        c.win.listAdd(std::string(name));
    }
}

void ShowCounter(Context& c) {
    const AppState& s = c.state;
    const int position = s.PageStart + c.win.listIndex() + 1;
    c.win.setCounterCaption(std::to_string(s.PicCount()) + " " + s.PicType + " Pictures/ " +
                            std::to_string(position));
}

void RemoveRow(Context& c, std::size_t row) {
    c.state.PicList.erase(row);
    SaveAndReload(c);
    c.win.listClear();
    FillPage(c);
}

void RestoreSelection(Context& c) {
    AppState& s = c.state;
    if (c.win.listCount() == s.SelIndex) {
        --s.SelIndex;
    }
    SelectEntry(c, s.SelIndex);
    c.win.focusList();
}

std::string CouldNotDelete(const std::string& name, const OpResult& result) {
    return "The file " + name + " could not be deleted: " + result.reason + ".";
}

bool DeletePictureAndRecord(Context& c, FailureTolerantRun& run, std::size_t row, const std::string& path,
                            const std::string& name) {
    run.step(c.os.setArchiveOnly(path));
    c.win.doEvents();
    // Judged by the deletion's own outcome: a refused attribute change on a file that is then
    // deleted all the same is no refusal.
    const OpResult deleted = run.step(c.os.deleteFile(path));
    if (deleted.failure == Failure::AccessError) {
        c.win.message(std::string(kWriteProtectedDelete));
        return false;
    }
    if (!deleted.ok() && deleted.failure != Failure::NotFound) {
        c.win.message(CouldNotDelete(name, deleted));
        return false;
    }
    c.win.doEvents();
    RemoveRow(c, row);
    return true;
}

} // namespace zelvano
