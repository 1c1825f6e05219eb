#pragma once

#include "platform/posix/FileDescriptor.h"

#include <chrono>
#include <string>

namespace zelvano {

// One running copy per list folder: two copies would each write their own table over the same
// list files, and one would bring back what the other removed. The first copy holds a lock beside
// the lists and listens on a local socket named after the folder; a later start finds the lock
// taken, asks the running copy through the socket to come to the front, and ends.
class SingleInstance {
public:
    explicit SingleInstance(const std::string& listFolder);

    // Whether this is the copy that runs. Also true when no lock can be had at all (a folder that
    // cannot be written), where nothing could be written over either.
    [[nodiscard]] bool first() const { return first_; }

    // A later copy: asks the copy that runs for `listFolder` to come forward, and waits for its
    // answer no longer than `patience` (it may be starting up, or stuck). True when it answered.
    static bool BringForward(const std::string& listFolder, std::chrono::milliseconds patience);

    // The running copy: readable when a later start asks it to come forward, and -1 when nothing
    // can ask. After bringing its window forward it calls answer().
    [[nodiscard]] int requests() const { return listener_.get(); }
    void answer() const;

private:
    FileDescriptor lock_{-1};
    FileDescriptor listener_{-1};
    bool first_ = true;
};

} // namespace zelvano
