#pragma once

#include "platform/LastAnswer.h"
#include "platform/Os.h"
#include "scan/NamePattern.h"
#include "state/PicTable.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>

namespace zelvano {

// How many folder listings a walk keeps under way at once. A scan waits on its drives far more
// than it computes: a network drive answers each listing after a round trip, a cold disk after a
// seek, and only many listings in flight hide that wait. On a warm cache as many cost no more than
// two (see bench/run_scan_bench.sh).
inline constexpr unsigned kListingsInFlight = 16;

// Live counts of a running scan, read by the window's thread while the walk goes on.
class ScanProgress {
public:
    std::atomic<std::uint64_t> pictures{0};
    std::atomic<std::uint64_t> folders{0};

    // The drive being searched, and how long it has said nothing.
    void searching(const std::string& drive) {
        const std::lock_guard lock(mutex_);
        drive_ = drive;
        silentMs_ = 0;
    }
    void silent(std::chrono::milliseconds quiet) { silentMs_ = quiet.count(); }
    [[nodiscard]] std::string drive() const {
        const std::lock_guard lock(mutex_);
        return drive_;
    }
    [[nodiscard]] std::chrono::milliseconds silentFor() const { return std::chrono::milliseconds(silentMs_); }

private:
    mutable std::mutex mutex_;
    std::string drive_;
    std::atomic<std::int64_t> silentMs_{0};
};

// Walks one folder tree with several listings under way and appends every matching file to a
// table, in the order of a one-thread walk: a folder's own files (in listing order) before its
// subfolders, subfolders depth first in listing order. No link to a folder is entered, no other
// volume, and no folder twice; a folder that cannot be listed adds nothing. Names holding a CR
// cannot be stored in the list file and are passed over. A drive that says nothing for `silence`
// is given up: its listings are left behind, and the walk adds nothing.
class TreeWalk {
public:
    struct Result {
        std::uint64_t files = 0;   // recorded
        std::uint64_t folders = 0; // subfolders found, at every depth
        bool tableFull = false;    // more matched than the table holds
        bool silent = false;       // the drive stopped answering: nothing was recorded
    };

    TreeWalk(Os& os, const NamePattern& pattern, ScanProgress& progress, unsigned threads,
             std::chrono::milliseconds silence = kScanSilence);

    // `root` ends with the separator.
    Result run(const std::string& root, PicTable& table);

private:
    Os& os_;
    const NamePattern& pattern_;
    ScanProgress& progress_;
    unsigned threads_;
    std::chrono::milliseconds silence_;
};

} // namespace zelvano
