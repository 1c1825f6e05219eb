#pragma once

#include "platform/posix/FileDescriptor.h"

#include <chrono>
#include <string>

namespace zelvano {

// One running copy per list folder: two copies would each write their own table over the same
// list files, and one would bring back what the other removed. The first copy locks the list
// folder itself, which every user who may read the folder can take part in, whatever lies in it;
// it listens on a socket in the user's own runtime folder, which no other user can reach, and a
// later start of the same user finds the lock taken and asks the running copy to come forward.
class SingleInstance {
public:
    enum class Start {
        First,   // this copy runs
        Running, // another copy holds the folder
        NoLock,  // no lock can be had: this copy must not touch the lists
    };

    explicit SingleInstance(const std::string& listFolder);

    [[nodiscard]] Start start() const { return start_; }
    [[nodiscard]] bool first() const { return start_ == Start::First; }
    // Why no lock could be had.
    [[nodiscard]] const std::string& why() const { return why_; }

    // A later copy: asks the copy that runs for `listFolder` to come forward, and waits for its
    // answer no longer than `patience` (it may be starting up, or stuck). True when it answered.
    static bool BringForward(const std::string& listFolder, std::chrono::milliseconds patience);

    // The running copy: readable when a later start asks it to come forward, and -1 when nothing
    // can ask. answer() takes every waiting request without ever waiting itself, and tells whether
    // one came from this user, for whom the window then comes forward.
    [[nodiscard]] int requests() const { return listener_.get(); }
    [[nodiscard]] bool answer() const;

private:
    FileDescriptor lock_{-1};
    FileDescriptor listener_{-1};
    Start start_ = Start::NoLock;
    std::string why_;
};

// The folder for this user's sockets: $XDG_RUNTIME_DIR, or a folder of this user's own under the
// system's temporary folder, used only when it is this user's and closed to everyone else; empty
// when neither can be had.
std::string RuntimeFolder(const char* xdgRuntimeDir);

} // namespace zelvano
