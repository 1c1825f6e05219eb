#pragma once

#include "platform/NativeOs.h"

#include <future>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace zelvano::test {

// The system's folder separator, which ends every folder the scan records.
#if defined(_WIN32)
inline constexpr char kSep = '\\';
#else
inline constexpr char kSep = '/';
#endif

// A real temporary folder, removed with everything in it at the end of the test.
class TestFolder {
public:
    TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;
    ~TestFolder();

    [[nodiscard]] const std::string& path() const { return path_; }
    // A folder inside, in the system's spelling, with its trailing separator.
    [[nodiscard]] std::string folder(const std::string& relative = {}) const;
    // Writes a file at path() + "/" + relative, with folders made on the way.
    std::string write(const std::string& relative, const std::string& content) const;
    // A bitmap of width x height black pixels.
    std::string writeBmp(const std::string& relative, int width, int height) const;
    // The whole content of a file by its full path.
    static std::string slurp(const std::string& path);
    [[nodiscard]] std::string read(const std::string& relative) const {
        return slurp(path_ + "/" + relative);
    }
    [[nodiscard]] bool exists(const std::string& relative) const;

private:
    std::string path_;
};

// Holds back whoever waits at it until it is opened, at the latest when it goes.
class Gate {
public:
    Gate() = default;
    ~Gate() { open(); }
    void open() {
        if (!opened_) {
            opened_ = true;
            promise_.set_value();
        }
    }
    // A copy of the future keeps its state alive for a waiter that wakes after the gate has gone.
    void wait() const { std::shared_future<void>(future_).wait(); }

private:
    std::promise<void> promise_;
    std::shared_future<void> future_ = promise_.get_future().share();
    bool opened_ = false;
};

// Whether the owner may write a file: read-only files are not.
bool Writable(const std::string& path);

// A list file's text for records (folder, name).
std::string ListText(const std::vector<std::pair<std::string, std::string>>& records);

// The real POSIX seam with the executable's folder moved to a test folder, failures that root
// cannot otherwise produce injected by path, and drives that stop answering: every call on a path
// that begins with one of `silent` waits at `gate` until it is opened.
class TestOs : public NativeOs {
public:
    explicit TestOs(std::string exeFolder) : folder_(std::move(exeFolder)) {}
    std::string executableFolder() override { return folder_; }
    void openWebPage(const std::string& address) override { opened.push_back(address); }
    Presence fileExists(const std::string& path) override { return answer(path), NativeOs::fileExists(path); }
    OpResult setArchiveOnly(const std::string& path) override {
        return answer(path), NativeOs::setArchiveOnly(path);
    }
    OpResult readFile(const std::string& path, const ContentSink& sink) override;
    using NativeOs::readFile;
    OpResult readFileStart(const std::string& path, std::size_t count, std::string& start) override {
        return answer(path), NativeOs::readFileStart(path, count, start);
    }
    OpResult readFileEnd(const std::string& path, std::size_t count, std::string& end) override {
        return answer(path), NativeOs::readFileEnd(path, count, end);
    }
    std::vector<std::string> listDrives() override {
        return drivesFailure.empty() ? drives : throw std::runtime_error(drivesFailure);
    }
    // The drives given are the drives of the paths in them.
    std::string driveOf(const std::string& path) override;
    OpResult renameFile(const std::string& from, const std::string& to, bool replace) override {
        answer(from);
        auto it = failRenames.find(to);
        return it != failRenames.end() ? it->second : NativeOs::renameFile(from, to, replace);
    }
    OpResult copyFile(const std::string& from, const std::string& to, bool replace,
                      LastAnswer* heard = nullptr) override {
        answer(from);
        answer(to);
        auto it = failCopies.find(to);
        return it != failCopies.end() ? it->second : NativeOs::copyFile(from, to, replace, heard);
    }
    OpResult deleteFile(const std::string& path) override {
        answer(path);
        auto it = failDeletes.find(path);
        return it != failDeletes.end() ? it->second : NativeOs::deleteFile(path);
    }
    OpResult listFolder(const std::string& folder, FolderVisitor& visitor) override;
    OpResult replaceFile(const std::string& path, const ContentSource& content) override {
        answer(path);
        auto it = failWrites.find(path);
        return it != failWrites.end() ? it->second : NativeOs::replaceFile(path, content);
    }
    using Os::replaceFile;
    OpResult appendToFile(const std::string& path, std::string_view content) override {
        return answer(path), NativeOs::appendToFile(path, content);
    }

    std::vector<std::string> opened;
    std::map<std::string, OpResult> failReads;
    std::map<std::string, OpResult> failWrites;
    std::map<std::string, OpResult> failDeletes;
    std::map<std::string, OpResult> failRenames; // by the new name
    std::map<std::string, OpResult> failCopies;  // by the destination
    std::vector<std::string> drives;
    std::string drivesFailure;                     // what listing the drives throws, when set
    std::set<std::string> failFolders;             // listed as unreadable (or vanished)
    std::map<std::string, std::size_t> bigFolders; // listed as holding this many pictures
    const Gate* gate = nullptr;
    std::set<std::string> silent;

private:
    // A call on `path` waits while its drive is silent.
    void answer(const std::string& path) const;

    std::string folder_;
};

} // namespace zelvano::test
