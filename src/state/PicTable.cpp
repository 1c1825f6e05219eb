#include "state/PicTable.h"

#include <cassert>
#include <limits>
#include <stdexcept>

namespace zelvano {

std::uint32_t PicTable::folderIndex(std::string_view folder) {
    if (lastFolder_ != kNoFolder && folders_[lastFolder_] == folder) {
        return lastFolder_;
    }
    folders_.emplace_back(folder);
    lastFolder_ = static_cast<std::uint32_t>(folders_.size() - 1);
    return lastFolder_;
}

std::uint32_t PicTable::storeName(std::string_view name) {
    // Offsets are 32-bit: 500,001 names of even 4 KiB each stay below the limit.
    if (names_.size() + name.size() > std::numeric_limits<std::uint32_t>::max()) {
        throw std::length_error("picture list names exceed 4 GiB");
    }
    const auto offset = static_cast<std::uint32_t>(names_.size());
    names_.append(name);
    return offset;
}

bool PicTable::append(std::string_view folder, std::string_view name) {
    if (full()) {
        return false;
    }
    const std::uint32_t f = folderIndex(folder);
    rows_.push_back(Row{f, storeName(name), static_cast<std::uint32_t>(name.size())});
    return true;
}

void PicTable::setName(std::size_t row, std::string_view name) {
    assert(row < rows_.size());
    // The old bytes stay unused in names_ until the next load; renames are rare.
    rows_[row].nameOffset = storeName(name);
    rows_[row].nameLength = static_cast<std::uint32_t>(name.size());
}

void PicTable::erase(std::size_t row) {
    assert(row < rows_.size());
    // Its bytes stay unused in names_ and folders_ until the next load, as a rename's do.
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(row));
}

void PicTable::clear() {
    // The capacity stays: loading the list again, as start-up and every change do, reuses memory
    // already in use, which is much cheaper than fresh memory on some systems.
    rows_.clear();
    folders_.clear();
    names_.clear();
    overflow_.clear();
    unpairedEnd_ = false;
    lfLineEnds_ = false;
    lastFolder_ = kNoFolder;
}

void PicTable::fitCapacity() {
    // A small list loaded after a big one gives the big one's memory back.
    constexpr std::size_t kSlack = 4;
    if (rows_.capacity() > kSlack * rows_.size() + 1024) {
        std::vector<Row>(rows_).swap(rows_);
        std::vector<std::string>(folders_).swap(folders_);
        std::string(names_).swap(names_);
    }
}

} // namespace zelvano
