#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace zelvano::test {

// The plain drive (PlainDrive.cpp: renames, but has no hard links and takes no rename flags; slow or
// stalling or silent in its modes) mounted over a folder, showing what the folder held, for as long as
// this lives. When no drive can be mounted here, ok() is false and why() says why.
class PlainDriveMount {
public:
    // `mode` is one of the drive's modes ("--slow", "--stall-after" with its number, "--silent"), or
    // nothing.
    explicit PlainDriveMount(std::string folder, std::vector<std::string> mode = {});
    PlainDriveMount(const PlainDriveMount&) = delete;
    PlainDriveMount& operator=(const PlainDriveMount&) = delete;
    ~PlainDriveMount() { stop(); }

    [[nodiscard]] bool ok() const { return why_.empty(); }
    // A stalled or silent drive answers again.
    void goOn() const;
    // The drive stops answering anything, as a dead share does.
    void fallSilent() const;
    [[nodiscard]] const std::string& why() const { return why_; }

private:
    void stop();

    std::string folder_;
    std::string why_;
    pid_t pid_ = -1;
    int output_ = -1; // the drive's standard output: "ready" once mounted, closed when it ends
};

} // namespace zelvano::test
