#pragma once

#include "platform/Os.h"
#include "scan/NamePattern.h"
#include "state/PicTable.h"

#include <atomic>
#include <cstdint>
#include <string>

namespace zelvano {

// Live counts of a running scan, read by the window while the walk goes on.
struct ScanProgress {
    std::atomic<std::uint64_t> pictures{0};
    std::atomic<std::uint64_t> folders{0};
};

// Walks one folder tree on several threads and appends every matching file to a table, in the
// order of a one-thread walk: a folder's own files (in listing order) before its subfolders,
// subfolders depth first in listing order. No link to a folder is entered, no other volume, and
// no folder twice; a folder that cannot be listed adds nothing. Names holding a CR cannot be
// stored in the list file and are passed over.
class TreeWalk {
public:
    struct Result {
        std::uint64_t files = 0;   // recorded
        std::uint64_t folders = 0; // subfolders found, at every depth
        bool tableFull = false;    // more matched than the table holds
    };

    TreeWalk(Os& os, const NamePattern& pattern, ScanProgress& progress, unsigned threads);

    // `root` ends with the separator.
    Result run(const std::string& root, PicTable& table);

private:
    Os& os_;
    const NamePattern& pattern_;
    ScanProgress& progress_;
    unsigned threads_;
};

} // namespace zelvano
