#pragma once

#include "platform/OpResult.h"

#include <functional>
#include <string>
#include <string_view>

namespace zelvano {

// A file's content given piece by piece: calls `put` with each piece, in order.
using ContentSource = std::function<void(const std::function<void(std::string_view)>& put)>;

// The operating system as the logic sees it. Paths are bytes exactly as the system gives them.
class Os {
public:
    Os() = default;
    Os(const Os&) = delete;
    Os& operator=(const Os&) = delete;
    virtual ~Os() = default;

    // The folder separator that ends every folder column of the list file.
    [[nodiscard]] virtual char separator() const = 0;

    // Existence test: true when the path names an ordinary file (not a folder; on Windows
    // not hidden or system either). Never opens or locks the file.
    virtual bool fileExists(const std::string& path) = 0;

    // Clears read-only (and on Windows hidden and system): "archive alone".
    virtual OpResult setArchiveOnly(const std::string& path) = 0;

    // Deletes exactly the one named file; the name is never a pattern.
    virtual OpResult deleteFile(const std::string& path) = 0;

    // Reads a whole file into `content`.
    virtual OpResult readFile(const std::string& path, std::string& content) = 0;

    // Replaces a file's content as a whole: the new content is written beside it and then takes
    // its place, so a failed write leaves the old file as it was. A file the caller may not write
    // is left alone and reported as an access error.
    virtual OpResult replaceFile(const std::string& path, const ContentSource& content) = 0;
    OpResult replaceFile(const std::string& path, std::string_view content) {
        return replaceFile(path, [content](const auto& put) { put(content); });
    }

    // Appends to a file, creating it when missing.
    virtual OpResult appendToFile(const std::string& path, std::string_view content) = 0;

    // The folder of the running executable, without a trailing separator (except at a root).
    virtual std::string executableFolder() = 0;

    // Opens an address with the system's default action; the outcome is not reported.
    virtual void openWebPage(const std::string& address) = 0;
};

} // namespace zelvano
