#pragma once

#include "platform/Os.h"

namespace zelvano {

// The operating-system seam on Linux and other POSIX systems.
class PosixOs : public Os {
public:
    [[nodiscard]] char separator() const override { return '/'; }
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
    std::vector<std::string> listDrives() override;
    std::string driveOf(const std::string& path) override;
    std::vector<std::string> otherDrivesWithin(const std::string& root) override;
    OpResult listFolder(const std::string& folder, FolderVisitor& visitor) override;
    std::string linkTarget(const std::string& path) override;
    EntryType typeOf(const std::string& path, bool followLinks) override;
    std::string executableFolder() override;
    std::string listFileFolder() override;
    void openWebPage(const std::string& address) override;

private:
    std::string listFileFolder_; // decided on first use
};

// The failure kind of an errno value from an operation on `path`, with the system's text as the
// reason. "No such file" is NotFound only when the path's folder is there (see FileNotFound);
// without a path it cannot be told from a missing folder, and is an ordinary failure.
OpResult FromErrno(int error, std::string_view path = {});

// The user's folder for the program's data: $XDG_DATA_HOME/zelvano, or ~/.local/share/zelvano when
// XDG_DATA_HOME is not set to an absolute path; empty when neither is known.
std::string DataFolder(const char* xdgDataHome, const char* home);

} // namespace zelvano
