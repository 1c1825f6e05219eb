#pragma once

#include "platform/LastAnswer.h"
#include "platform/OpResult.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zelvano {

// Takes a file's content piece by piece, in order.
using ContentSink = std::function<void(std::string_view piece)>;
// Gives a file's content piece by piece: calls `put` with each piece, in order.
using ContentSource = std::function<void(const ContentSink& put)>;

// What a folder listing says an entry is. Unknown: the listing does not say; ask typeOf.
enum class EntryType { File, Folder, Link, Other, Unknown };

// What the existence test found. Unknown: the test could not be made (its drive did not answer).
enum class Presence { Missing, Present, Unknown };

// Identity of a listed folder: its volume and its number on that volume.
struct FolderId {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool operator==(const FolderId&) const = default;
};

// Receives one folder listing. Called from the thread that lists; the scan lists on several.
class FolderVisitor {
public:
    FolderVisitor() = default;
    FolderVisitor(const FolderVisitor&) = delete;
    FolderVisitor& operator=(const FolderVisitor&) = delete;
    virtual ~FolderVisitor() = default;
    // The folder is open; false skips its entries (another volume, a folder seen before).
    virtual bool enter(const FolderId& id) = 0;
    // One entry, in the order the system lists them; "." and ".." are left out.
    virtual void entry(std::string_view name, EntryType type) = 0;
};

// The operating system as the logic sees it. Paths are bytes exactly as the system gives them.
class Os {
public:
    Os() = default;
    Os(const Os&) = delete;
    Os& operator=(const Os&) = delete;
    virtual ~Os() = default;

    // The folder separator that ends every folder column of the list file.
    [[nodiscard]] virtual char separator() const = 0;

    // The system itself, for work off the window's thread, which may wait on a drive.
    virtual Os& direct() { return *this; }

    // Existence test: Present when the path names an ordinary file (not a folder; on Windows not
    // hidden or system either). Never opens or locks the file.
    virtual Presence fileExists(const std::string& path) = 0;

    // Clears read-only (and on Windows hidden and system): "archive alone".
    virtual OpResult setArchiveOnly(const std::string& path) = 0;

    // Deletes exactly the one named file; the name is never a pattern.
    virtual OpResult deleteFile(const std::string& path) = 0;

    // Renames a file within its folder. Without `replace` an existing file of the new name is
    // never touched; with it, the new name's file is replaced in one step.
    virtual OpResult renameFile(const std::string& from, const std::string& to, bool replace) = 0;

    // Copies a file. The copy is written beside the destination and then takes its place, so a
    // destination keeps its old content when the copy fails. Without `replace` an existing
    // destination is never touched. Each piece moved is noted in `heard`, when given.
    virtual OpResult copyFile(const std::string& from, const std::string& to, bool replace,
                              LastAnswer* heard = nullptr) = 0;

    // Whether two paths name one and the same file (one file under two spellings, a hard link).
    virtual bool sameFile(const std::string& a, const std::string& b) = 0;

    // Reads a whole file, giving it to `sink` in pieces of a bounded size, so that a large file
    // needs no copy of its own in memory. On failure `sink` may have had part of it.
    virtual OpResult readFile(const std::string& path, const ContentSink& sink) = 0;
    OpResult readFile(const std::string& path, std::string& content) {
        content.clear();
        return readFile(path, [&content](std::string_view piece) { content.append(piece); });
    }

    // The first and the last `count` bytes of a file (all of it when it is shorter).
    virtual OpResult readFileStart(const std::string& path, std::size_t count, std::string& start) = 0;
    virtual OpResult readFileEnd(const std::string& path, std::size_t count, std::string& end) = 0;

    // Replaces a file's content as a whole: the new content is written beside it and then takes
    // its place, so a failed write leaves the old file as it was. A file the caller may not write
    // is left alone and reported as an access error.
    virtual OpResult replaceFile(const std::string& path, const ContentSource& content) = 0;
    OpResult replaceFile(const std::string& path, std::string_view content) {
        return replaceFile(path, [content](const auto& put) { put(content); });
    }

    // Appends to a file, creating it when missing. The file keeps its old content or gets all of
    // `content`, never a part of it, whatever stops the write.
    virtual OpResult appendToFile(const std::string& path, std::string_view content);

    // The folder of the running executable, without a trailing separator (except at a root).
    virtual std::string executableFolder() = 0;

    // The folder that holds the list files, without a trailing separator: the executable's folder
    // when it can be written, else the user's own folder for the program's data. Decided once.
    virtual std::string listFileFolder() = 0;

    // The root folders of the volumes that hold the user's files, each ending in the separator,
    // in the system's order. May be slow: a network drive is asked about its root.
    virtual std::vector<std::string> listDrives() = 0;

    // The root of the drive that holds `path`, ending in the separator, as the wait window names it.
    // Told by the system's own tables, without a word to any drive.
    virtual std::string driveOf(const std::string& path) = 0;

    // The folders inside `root` (each ending in the separator) where another drive is mounted. A
    // walk of `root` never opens them, so that a drive that stops answering holds only itself.
    // Told without a word to any drive.
    virtual std::vector<std::string> otherDrivesWithin(const std::string& root) = 0;

    // Lists one folder (given with its trailing separator) in one pass. Safe to call from
    // several threads at once.
    virtual OpResult listFolder(const std::string& folder, FolderVisitor& visitor) = 0;

    // What a link at `path` says it points to, without following it; empty when not told.
    virtual std::string linkTarget(const std::string& /*path*/) { return {}; }

    // What a path names, following a link at its end when `followLinks`; Other when unknown.
    virtual EntryType typeOf(const std::string& path, bool followLinks) = 0;

    // Opens an address with the system's default action; the outcome is not reported.
    virtual void openWebPage(const std::string& address) = 0;
};

} // namespace zelvano
