#pragma once

#include "platform/Os.h"
#include "platform/Window.h"

#include <chrono>

namespace zelvano {

// The operating system as the window's thread reaches it: every call that touches a drive runs
// off the window's thread through OnDrive, so that a drive that stops answering never holds the
// window. A call whose drive is given up fails with NoAnswer (an existence test says Unknown, a
// question of two files says no), and nothing it would have changed is changed by the program.
class OffThreadOs : public Os {
public:
    OffThreadOs(Os& system, Window& win, std::chrono::milliseconds patience = kDriveSilence)
        : system_(system), win_(win), patience_(patience) {}

    Os& direct() override { return system_.direct(); }
    [[nodiscard]] char separator() const override { return system_.separator(); }
    Presence fileExists(const std::string& path) override;
    OpResult setArchiveOnly(const std::string& path) override;
    OpResult deleteFile(const std::string& path) override;
    OpResult renameFile(const std::string& from, const std::string& to, bool replace) override;
    OpResult copyFile(const std::string& from, const std::string& to, bool replace,
                      LastAnswer* heard = nullptr) override;
    bool sameFile(const std::string& a, const std::string& b) override;
    OpResult readFile(const std::string& path, const ContentSink& sink) override;
    using Os::readFile;
    OpResult readFileStart(const std::string& path, std::size_t count, std::string& start) override;
    OpResult readFileEnd(const std::string& path, std::size_t count, std::string& end) override;
    OpResult replaceFile(const std::string& path, const ContentSource& content) override;
    using Os::replaceFile;
    OpResult appendToFile(const std::string& path, std::string_view content) override;
    std::string executableFolder() override { return system_.executableFolder(); }
    std::string listFileFolder() override { return system_.listFileFolder(); }
    std::vector<std::string> listDrives() override { return system_.listDrives(); }
    std::string driveOf(const std::string& path) override { return system_.driveOf(path); }
    std::vector<std::string> otherDrivesWithin(const std::string& root) override {
        return system_.otherDrivesWithin(root);
    }
    OpResult listFolder(const std::string& folder, FolderVisitor& visitor) override {
        return system_.listFolder(folder, visitor);
    }
    std::string linkTarget(const std::string& path) override { return system_.linkTarget(path); }
    EntryType typeOf(const std::string& path, bool followLinks) override {
        return system_.typeOf(path, followLinks);
    }
    void openWebPage(const std::string& address) override { system_.openWebPage(address); }

private:
    // Runs `work` on the drive of `path` (and of `other`, when it is on another one).
    template <class Work> OpResult on(const std::string& path, const std::string& other, Work work);
    // Runs `op`, which reports an OpResult, the same way: what it reported, or NoAnswer.
    template <class Op> OpResult result(const std::string& path, const std::string& other, Op op);
    // The first or the last bytes of a file, as `read` gives them.
    OpResult readPart(const std::string& path, std::size_t count, std::string& part,
                      OpResult (Os::*read)(const std::string&, std::size_t, std::string&));

    Os& system_;
    Window& win_;
    std::chrono::milliseconds patience_;
};

} // namespace zelvano
