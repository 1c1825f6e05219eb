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
#include <vector>

namespace zelvano {

// How many folder listings a walk keeps under way on each drive. A scan waits on its drives far
// more than it computes: a network drive answers each listing after a round trip, a cold disk after
// a seek, and only many listings in flight hide that wait. On a warm cache as many cost no more than
// two (see bench/run_scan_bench.sh). The drives of a scan are walked at once, each with its own
// listings, so that a slow drive slows no other; all of them together keep at most kListingsInAll.
inline constexpr unsigned kListingsInFlight = 16;
inline constexpr unsigned kListingsInAll = 3 * kListingsInFlight;

// Live counts of a running scan, read by the window's thread while the walk goes on.
class ScanProgress {
public:
    std::atomic<std::uint64_t> pictures{0};
    std::atomic<std::uint64_t> folders{0};

    // A drive still searched, and how long it has said nothing while it was asked.
    struct Drive {
        std::string root;
        std::chrono::milliseconds silentFor{0};
    };
    void searching(std::vector<Drive> drives) {
        const std::lock_guard lock(mutex_);
        drives_ = std::move(drives);
    }
    [[nodiscard]] std::vector<Drive> searching() const {
        const std::lock_guard lock(mutex_);
        return drives_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<Drive> drives_;
};

// Walks folder trees, one per drive, all at once, and appends every matching file to a table, tree
// by tree in the order given, each in the order of a one-thread walk: a folder's own files (in
// listing order) before its subfolders, subfolders depth first in listing order. No link to a
// folder is entered, no other volume, nor a folder where another drive is mounted (it is never
// opened); a folder reached twice (a bind mount) is recorded where a one-thread walk meets it first;
// a folder that cannot be listed adds nothing. Names holding a CR cannot be stored in the list file
// and are passed over. A drive that says nothing for `silence` while it is asked is given up: its
// listings are left behind (LeftBehind) and it adds nothing; one that holds listings left behind
// already is not asked at all.
class TreeWalk {
public:
    struct Result {
        std::size_t firstRow = 0;  // where its records start in the table
        std::uint64_t files = 0;   // recorded
        std::uint64_t folders = 0; // subfolders found, at every depth
        bool silent = false;       // the drive stopped answering: nothing was recorded
    };

    // `threads`: the listings in flight on each drive.
    TreeWalk(Os& os, const NamePattern& pattern, ScanProgress& progress, unsigned threads,
             std::chrono::milliseconds silence = kDriveSilence);

    // Each root ends with the separator. `tableFull` is set when more matched than the table holds.
    // Once `dropped` is set, no listing starts and the walk ends with what it has.
    std::vector<Result> run(const std::vector<std::string>& roots, PicTable& table, bool& tableFull,
                            const std::atomic<bool>* dropped = nullptr);

private:
    Os& os_;
    const NamePattern& pattern_;
    ScanProgress& progress_;
    unsigned threads_;
    std::chrono::milliseconds silence_;
};

} // namespace zelvano
