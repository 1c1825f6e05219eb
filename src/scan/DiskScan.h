#pragma once

#include "scan/TreeWalk.h"
#include "state/Context.h"

#include <atomic>
#include <memory>
#include <string>
#include <vector>

namespace zelvano {

// What a scan finds. It is kept apart from the shared state until the scan has ended, so that a
// scan given up on can leave its search behind: a drive that stops answering may hold the search
// for ever, and whatever it finds when it goes on is dropped with these findings.
struct ScanFindings {
    std::vector<std::string> DriveList;
    PicTable found;
    // For each drive of DriveList: the row of `found` where its records start, and whether it
    // stopped answering (it was passed over and added nothing).
    std::vector<std::size_t> firstRow;
    std::vector<bool> silent;
    ScanProgress progress;
    bool tableFull = false;           // more were found than PicList holds
    std::string failure;              // why the search stopped part way, if it did
    std::atomic<bool> dropped{false}; // the user cancelled: the search ends with no more listings
};

// The roots of the volumes to search, in the system's order.
std::vector<std::string> ListDrives(Os& os);

// Searches every drive for files of PicType off the window's thread, behind the wait window and
// its Cancel button. Nothing when the user cancelled; DriveList is set when the search ended.
std::shared_ptr<ScanFindings> ScanDisk(Context& c);

// "Scan disk/disks": searches every drive, then writes the type's list file and shows its first
// page. The old list, the table and the page stay as they were until the search has ended, and a
// scan that is cancelled or fails leaves them, the selection and its displays as they were.
void Command1_Click(Context& c);

} // namespace zelvano
