#pragma once

#include "platform/Os.h"

#include <atomic>
#include <cstdint>
#include <string_view>

namespace zelvano {

// The operating-system seam on Windows, with the system's 8-bit (ANSI) calls, so that names are
// the bytes of the system's code page.
class WinOs : public Os {
public:
    [[nodiscard]] char separator() const override { return '\\'; }
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
    // None: the walk enters no reparse point, which is what a folder with a drive mounted on it is.
    std::vector<std::string> otherDrivesWithin(const std::string& /*root*/) override { return {}; }
    OpResult listFolder(const std::string& folder, FolderVisitor& visitor) override;
    EntryType typeOf(const std::string& path, bool followLinks) override;
    std::string executableFolder() override;
    std::string listFileFolder() override;
    void openWebPage(const std::string& address) override;

private:
    // Folders are told apart by a number of their own: the walk enters no reparse point, so no
    // folder can be reached twice.
    std::atomic<std::uint64_t> nextFolder_{1};
};

// The failure kind of a Windows error code from an operation on `path`, with the system's text as
// the reason. "File not found" is NotFound only when the path's folder is there (see
// FileNotFound); without a path it cannot be told from a missing folder, and is an ordinary failure.
OpResult FromWinError(unsigned long error, std::string_view path = {});

// What a folder listing's attributes say an entry is: reparse points to folders (junctions,
// mount points, links) are never entered, reparse points to files are links.
EntryType EntryTypeFromAttributes(unsigned long attributes);

} // namespace zelvano
