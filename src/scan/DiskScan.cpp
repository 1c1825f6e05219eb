#include "scan/DiskScan.h"

#include "picturelist/Entries.h"
#include "picturelist/ListSteps.h"
#include "scan/FindFiles.h"

#include <algorithm>
#include <thread>

namespace zelvano {

namespace {

std::string ProgressText(const ScanProgress& progress) {
    return std::to_string(progress.pictures.load()) + " pictures found, " +
           std::to_string(progress.folders.load()) + " folders searched";
}

unsigned SearchThreads() {
    return std::clamp(std::thread::hardware_concurrency(), 1U, 8U);
}

// The search of every drive, as it runs off the window's thread. It holds the findings and the
// operating system (which lives as long as the program) and nothing of the window's.
void Search(ScanFindings& findings, Os& os, const std::string& pattern, unsigned threads) {
    try {
        findings.DriveList = ListDrives(os);
        SearchJob job{os, findings.found, findings.progress, threads};
        for (const std::string& drive : findings.DriveList) {
            std::string path = drive;
            std::int32_t fileCount = 0;
            std::int16_t dirCount = 0;
            FindFilesAPI(job, path, pattern, fileCount, dirCount);
            if (job.tableFull) {
                break; // nothing more can be recorded
            }
        }
        findings.tableFull = job.tableFull;
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
    if (s.PicCount() == 0) {
        if (c.os.fileExists(listFile)) {
            c.os.deleteFile(listFile); // only now: a scan that ends early keeps the old list
        }
        c.win.setBusyCursor(false);
        c.win.closeWait();
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
    c.win.closeWait();
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

} // namespace

std::vector<std::string> ListDrives(Os& os) {
    return os.listDrives();
}

std::shared_ptr<ScanFindings> ScanDisk(Context& c) {
    c.win.setBusyCursor(true);
    c.win.listClear();
    auto findings = std::make_shared<ScanFindings>();
    Os& os = c.os;
    const std::string pattern = "*." + c.state.PicType;
    const unsigned threads = SearchThreads();
    const Ending ending = c.win.runWhilePainting(
        [findings, &os, pattern, threads] { Search(*findings, os, pattern, threads); },
        [&c, findings] { c.win.setWaitProgress(ProgressText(findings->progress)); }, Wait{true, {}});
    if (ending != Ending::Done) {
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
    s.PicList = std::move(findings->found);
    ShowFindings(c, CurrentListFile(c), !findings->tableFull);
    c.win.setBusyCursor(false);
    c.win.setCounterCaption(std::to_string(s.PicCount()) + " Pictures/ " +
                            std::to_string(s.PageStart + c.win.listIndex() + 1));
    c.win.doEvents();
}

} // namespace zelvano
