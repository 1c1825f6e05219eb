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
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
        const fs::path candidate = fs::temp_directory_path() / ("zelvano-test-" + std::to_string(random()));
        if (fs::create_directory(candidate)) {
            path_ = candidate.string();
        }
    }
    if (path_.empty()) {
        throw std::runtime_error("no temporary folder could be made");
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

std::string TestFolder::make(const std::string& relative) const {
    std::string full = path_ + kSep + relative;
    std::replace(full.begin(), full.end(), '/', kSep);
    fs::create_directories(fs::path(full).parent_path());
    return full;
}

std::string TestFolder::write(const std::string& relative, const std::string& content) const {
    std::string full = make(relative);
    std::ofstream(full, std::ios::binary) << content;
    return full;
}

std::string TestFolder::writeBmp(const std::string& relative, int width, int height) const {
    // Only the header: the fake window's loader reads no further.
    std::string header(54, '\0');
    header[0] = 'B';
    header[1] = 'M';
    for (std::size_t i = 0; i < 4; ++i) { // little-endian 32-bit width and height
        header[18 + i] = static_cast<char>((static_cast<std::uint32_t>(width) >> (8 * i)) & 0xFF);
        header[22 + i] = static_cast<char>((static_cast<std::uint32_t>(height) >> (8 * i)) & 0xFF);
    }
    return write(relative, header);
}

std::string TestFolder::read(const std::string& relative) const {
    return slurp(path_ + "/" + relative);
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

std::string ListText(const std::vector<std::pair<std::string, std::string>>& records) {
    std::string text;
    for (const auto& [folder, name] : records) {
        text.append(folder).append("\r\n").append(name).append("\r\n");
    }
    return text;
}

OpResult TestOs::readFile(const std::string& path, const ContentSink& sink) {
    if (auto it = failReads.find(path); it != failReads.end()) {
        return it->second;
    }
    return NativeOs::readFile(path, sink);
}

OpResult TestOs::replaceFile(const std::string& path, const ContentSource& content) {
    if (auto it = failWrites.find(path); it != failWrites.end()) {
        return it->second;
    }
    return NativeOs::replaceFile(path, content);
}

} // namespace zelvano::test

namespace zelvano::test {

OpResult TestOs::listFolder(const std::string& folder, FolderVisitor& visitor) {
    if (gate != nullptr && gatedFolders.count(folder) != 0) {
        gate->wait();
    }
    if (failFolders.count(folder) != 0) {
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

} // namespace zelvano::test
