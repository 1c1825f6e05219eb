#include "support/TestFolder.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace zelvano::test {

namespace fs = std::filesystem;

TestFolder::TestFolder() {
    std::random_device random;
    const std::string name = "zelvano-test-" + std::to_string(random()) + "-" + std::to_string(random());
    path_ = (fs::temp_directory_path() / name).string();
    if (!fs::create_directory(path_)) {
        throw std::runtime_error("a temporary folder of that name exists: " + path_);
    }
}

std::string TestFolder::folder(const std::string& relative) const {
    std::string out = path_ + kSep + relative;
    std::replace(out.begin(), out.end(), '/', kSep);
    if (out.back() != kSep) {
        out += kSep;
    }
    return out;
}

TestFolder::~TestFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::string TestFolder::write(const std::string& relative, const std::string& content) const {
    std::string full = path_ + kSep + relative;
    std::replace(full.begin(), full.end(), '/', kSep);
    fs::create_directories(fs::path(full).parent_path());
    std::ofstream(full, std::ios::binary) << content;
    return full;
}

std::string TestFolder::writeBmp(const std::string& relative, int width, int height) const {
    // A whole 24-bit bitmap whose black rows are left sparse, so that even a huge one costs no disk.
    const auto le = [](std::uint64_t v, int bytes) {
        std::string out;
        for (int i = 0; i < bytes; ++i) {
            out += static_cast<char>((v >> (8 * i)) & 0xFF);
        }
        return out;
    };
    const std::uint64_t data = ((static_cast<std::uint64_t>(width) * 3 + 3) & ~std::uint64_t{3}) *
                               static_cast<std::uint64_t>(height);
    const std::string path = write(
        relative, "BM" + le(54 + data, 4) + le(0, 4) + le(54, 4) + le(40, 4) +
                      le(static_cast<std::uint64_t>(width), 4) + le(static_cast<std::uint64_t>(height), 4) +
                      le(1, 2) + le(24, 2) + le(0, 4) + le(data, 4) + le(2835, 4) + le(2835, 4) + le(0, 8));
    std::filesystem::resize_file(path, 54 + data);
    return path;
}

std::string TestFolder::slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

bool TestFolder::exists(const std::string& relative) const {
    return fs::exists(path_ + "/" + relative);
}

bool Writable(const std::string& path) {
    return (fs::status(path).permissions() & fs::perms::owner_write) != fs::perms::none;
}

std::string ListText(const std::vector<std::pair<std::string, std::string>>& records) {
    std::string text;
    for (const auto& [folder, name] : records) {
        text.append(folder).append("\r\n").append(name).append("\r\n");
    }
    return text;
}

void TestOs::answer(const std::string& path) const {
    for (const std::string& drive : silent) {
        if (gate != nullptr && path.rfind(drive, 0) == 0) {
            gate->wait();
        }
    }
}

OpResult TestOs::readFile(const std::string& path, const ContentSink& sink) {
    answer(path);
    auto it = failReads.find(path);
    if (it == failReads.end()) {
        return NativeOs::readFile(path, sink);
    }
    (void)NativeOs::readFile(path, sink); // a read fails after what it could deliver
    return it->second;
}

OpResult TestOs::listFolder(const std::string& folder, FolderVisitor& visitor) {
    answer(folder);
    if (failFolders.count(folder) != 0) {
        NativeOs::listFolder(folder, visitor); // failing part way: what was listed must not count
        return OpResult::fail(Failure::AccessError, "Permission denied");
    }
    if (auto big = bigFolders.find(folder); big != bigFolders.end()) {
        if (visitor.enter(FolderId{1, 1})) {
            for (std::size_t i = 0; i < big->second; ++i) {
                visitor.entry("p" + std::to_string(i) + ".jpg", EntryType::File);
            }
        }
        return OpResult::success();
    }
    return NativeOs::listFolder(folder, visitor);
}

std::string TestOs::driveOf(const std::string& path) {
    std::string drive;
    for (const std::string& d : drives) {
        if (path.rfind(d, 0) == 0 && d.size() > drive.size()) {
            drive = d;
        }
    }
    return drive.empty() ? NativeOs::driveOf(path) : drive;
}

} // namespace zelvano::test
