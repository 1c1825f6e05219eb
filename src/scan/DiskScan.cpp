#include "scan/DiskScan.h"

#include "picturelist/Entries.h"
#include "picturelist/ListSteps.h"
#include "scan/NamePattern.h"
#include "scan/TreeWalk.h"

#include <chrono>
#include <string_view>

namespace zelvano {

namespace {

// The wait window's line: the drives searched, the drives the scan waits for once they have been
// silent for a tenth of the time they are given, and the counts.
std::string ProgressText(const ScanProgress& progress, std::chrono::milliseconds silence) {
    std::string searched;
    std::string waited;
    for (const ScanProgress::Drive& drive : progress.searching()) {
        std::string& into = drive.silentFor < silence / 10 ? searched : waited;
        into += (into.empty() ? "" : ", ") + drive.root;
    }
    const std::string counts = std::to_string(progress.pictures.load()) + " pictures found, " +
                               std::to_string(progress.folders.load()) + " folders searched";
    if (waited.empty()) {
        return searched.empty() ? counts : "Searching " + searched + " - " + counts;
    }
    return (searched.empty() ? "Waiting for " : "Searching " + searched + " - waiting for ") + waited +
           " to answer - " + counts;
}

// The search of every drive at once, as it runs off the window's thread. It holds the findings and
// the operating system (which lives as long as the program) and nothing of the window's.
void Search(ScanFindings& findings, Os& os, const std::string& pattern, std::chrono::milliseconds silence) {
    try {
        findings.DriveList = ListDrives(os);
        const NamePattern names(pattern);
        TreeWalk walk(os, names, findings.progress, kListingsInFlight, silence);
        for (const TreeWalk::Result& drive :
             walk.run(findings.DriveList, findings.found, findings.tableFull, &findings.dropped)) {
            findings.firstRow.push_back(drive.firstRow);
            findings.silent.push_back(drive.silent);
        }
    } catch (const std::exception& e) {
        findings.failure = e.what();
    }
}

// The page and the selection before a scan, shown again when the scan gives way.
struct Before {
    int pageStart;
    int index;
};

void ShowAsBefore(Context& c, const Before& before) {
    c.win.setBusyCursor(false);
    c.win.closeWait();
    c.state.PageStart = before.pageStart;
    c.win.listClear();
    FillPage(c);
    SelectEntry(c, before.index); // the preview, the path and the size again
    ShowCounter(c);
    c.win.focusList();
}

void ShowFindings(Context& c, const std::string& listFile, bool allRecorded) {
    AppState& s = c.state;
    // The search is over: the list's own writing waits as any other, with its own wait window, and
    // what the scan's Cancel meant does not give it up.
    c.win.closeWait();
    if (s.PicCount() == 0) {
        if (c.os.fileExists(listFile) == Presence::Present) {
            c.os.deleteFile(listFile); // only now: a scan that ends early keeps the old list
        }
        c.win.setBusyCursor(false);
        c.win.message("There are no " + s.PicType + " on your computer.");
        s.PageStart = 0;
        return;
    }
    // The new list takes the old one's place in one step.
    const OpResult written = SaveList(c);
    if (written.ok()) {
        ReloadList(c);
    }
    s.PageStart = 0;
    FillPage(c);
    c.win.setBusyCursor(false); // before any message: a box under a busy cursor looks busy too
    if (!written.ok()) {
        c.win.message(ListNotWritten(listFile, written) +
                      " The pictures found are shown until Zelvano ends.");
    }
    if (!allRecorded) {
        c.win.message("More than " + std::to_string(PicTable::kRows) + " " + s.PicType +
                      " pictures were found. The list holds the first " + std::to_string(PicTable::kRows) +
                      ".");
    }
    SelectEntry(c, 0);
    c.win.focusList();
}

// The drive of the list `drives` that holds `folder`: the one with the longest root it begins with.
std::size_t DriveOf(std::string_view folder, const std::vector<std::string>& drives) {
    std::size_t owner = drives.size();
    for (std::size_t k = 0; k < drives.size(); ++k) {
        if (folder.starts_with(drives[k]) &&
            (owner == drives.size() || drives[k].size() > drives[owner].size())) {
            owner = k;
        }
    }
    return owner;
}

// A drive that did not answer was not searched: its pictures keep the records the old list had for
// them, in the drive's place, so that a scan never drops what it could not see.
PicTable KeepSilentDrives(const PicTable& old, const ScanFindings& f, bool& tableFull) {
    std::vector<std::size_t> owners(old.count());
    for (std::size_t row = 0; row < old.count(); ++row) {
        owners[row] = DriveOf(old.folder(row), f.DriveList);
    }
    PicTable kept;
    for (std::size_t k = 0; k < f.silent.size(); ++k) {
        const std::size_t end = k + 1 < f.firstRow.size() ? f.firstRow[k + 1] : f.found.count();
        for (std::size_t row = f.firstRow[k]; row < end; ++row) {
            tableFull = tableFull || !kept.append(f.found.folder(row), f.found.name(row));
        }
        for (std::size_t row = 0; f.silent[k] && row < old.count(); ++row) {
            if (owners[row] == k) {
                tableFull = tableFull || !kept.append(old.folder(row), old.name(row));
            }
        }
    }
    return kept;
}

} // namespace

std::vector<std::string> ListDrives(Os& os) {
    return os.listDrives();
}

std::shared_ptr<ScanFindings> ScanDisk(Context& c) {
    c.win.setBusyCursor(true);
    c.win.listClear();
    auto findings = std::make_shared<ScanFindings>();
    Os& os = c.os.direct();
    const std::string pattern = "*." + c.state.PicType;
    const std::chrono::milliseconds silence = c.state.scanSilence;
    const Ending ending = c.win.runWhilePainting(
        [findings, &os, pattern, silence] { Search(*findings, os, pattern, silence); },
        [&c, findings, silence] { c.win.setWaitProgress(ProgressText(findings->progress, silence)); },
        Wait::Scan());
    if (ending != Ending::Done) {
        findings->dropped = true;
        return nullptr;
    }
    c.state.DriveList = findings->DriveList;
    return findings;
}

void Command1_Click(Context& c) {
    AppState& s = c.state;
    const Before before{s.PageStart, c.win.listIndex()};
    c.win.showPreview("");
    c.win.setPanelText(Panel::One, "");
    c.win.showWait();
    c.win.listClear();
    c.win.setCounterCaption("");
    c.win.setPanelText(Panel::One, "");
    c.win.setPanelText(Panel::Two, "");
    c.win.doEvents();
    const std::shared_ptr<ScanFindings> findings = ScanDisk(c);
    if (!findings || !findings->failure.empty()) {
        ShowAsBefore(c, before);
        if (findings) {
            c.win.message("The scan could not be completed: " + findings->failure + ".");
        }
        return;
    }
    std::vector<std::string> silent;
    for (std::size_t k = 0; k < findings->silent.size(); ++k) {
        if (findings->silent[k]) {
            silent.push_back(findings->DriveList[k]);
        }
    }
    s.PicList = silent.empty() ? std::move(findings->found)
                               : KeepSilentDrives(s.PicList, *findings, findings->tableFull);
    ShowFindings(c, CurrentListFile(c), !findings->tableFull);
    for (const std::string& drive : silent) {
        c.win.message("The drive " + drive +
                      " did not answer. Its pictures are listed as the last scan found them.");
    }
    c.win.setCounterCaption(std::to_string(s.PicCount()) + " Pictures/ " +
                            std::to_string(s.PageStart + c.win.listIndex() + 1));
    c.win.doEvents();
}

} // namespace zelvano
