#include "scan/DiskScan.h"

#include "picturelist/ListFile.h"
#include "picturelist/ListSteps.h"
#include "scan/FindFiles.h"
#include "viewing/Selection.h"

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

} // namespace

void ListDrives(Context& c) {
    c.state.DriveList = c.os.listDrives();
}

bool ScanDisk(Context& c) {
    c.win.setBusyCursor(true);
    c.win.listClear();
    // Off the window's thread: asking a network drive about its mount point can take a while.
    c.win.runWhilePainting([&c] { ListDrives(c); }, [] {});
    ScanProgress progress;
    SearchJob job{c.os, c.state.PicList, progress, SearchThreads()};
    for (const std::string& drive : c.state.DriveList) {
        c.win.doEvents();
        std::string path = drive;
        const std::string pattern = "*." + c.state.PicType;
        std::int32_t fileCount = 0;
        std::int16_t dirCount = 0;
        c.win.runWhilePainting([&] { FindFilesAPI(job, path, pattern, fileCount, dirCount); },
                               [&] { c.win.setWaitProgress(ProgressText(progress)); });
        c.win.doEvents();
        if (job.tableFull) {
            break; // nothing more can be recorded
        }
    }
    return !job.tableFull;
}

void Command1_Click(Context& c) {
    AppState& s = c.state;
    c.win.showPreview("");
    c.win.setPanelText(Panel::One, "");
    c.win.showWait();
    c.win.listClear();
    c.win.setCounterCaption("");
    c.win.setPanelText(Panel::One, "");
    c.win.setPanelText(Panel::Two, "");
    c.win.doEvents();
    const std::string listFile = CurrentListFile(c);
    if (c.os.fileExists(listFile)) {
        c.os.deleteFile(listFile);
    }
    s.PicList.clear();
    c.win.doEvents();
    const bool allRecorded = ScanDisk(c);

    if (s.PicCount() == 0) {
        c.win.setBusyCursor(false);
        c.win.closeWait();
        c.win.message("There are no " + s.PicType + " on your computer.");
        s.PageStart = 0;
    } else {
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
                          " pictures were found. The list holds the first " +
                          std::to_string(PicTable::kRows) + ".");
        }
        SelectEntry(c, 0);
        c.win.focusList();
    }
    c.win.setBusyCursor(false);
    c.win.setCounterCaption(std::to_string(s.PicCount()) + " Pictures/ " +
                            std::to_string(s.PageStart + c.win.listIndex() + 1));
    c.win.doEvents();
}

} // namespace zelvano
