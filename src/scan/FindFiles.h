#pragma once

#include "platform/Os.h"
#include "scan/TreeWalk.h"
#include "state/PicTable.h"

#include <cstdint>
#include <string>

namespace zelvano {

// What FindFilesAPI works with besides its parameters.
struct SearchJob {
    Os& os;
    PicTable& found; // records are appended here
    ScanProgress& progress;
    unsigned threads = kListingsInFlight;
    std::chrono::milliseconds silence = kDriveSilence;
    bool tableFull = false; // set when more files matched than the table holds
    bool silent = false;    // set when the last tree's drive stopped answering; it added nothing
};

// Searches the folder tree at Path for files whose names match SearchStr and appends a record
// (folder, name) per file. Path gets its trailing separator when it lacks one. FileCount grows
// by the files recorded and DirCount by the subfolders found (it stops at its largest value).
void FindFilesAPI(SearchJob& job, std::string& Path, const std::string& SearchStr, std::int32_t& FileCount,
                  std::int16_t& DirCount);

} // namespace zelvano
