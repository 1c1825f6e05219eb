#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zelvano {

// PicList: the current type's records (folder, file name) in list-file order, rows 0 to 500000.
// Rows past the last record read as empty. Cells are kept byte for byte; a run of records in
// the same folder shares one copy of the folder, which keeps a full table small.
class PicTable {
public:
    static constexpr std::size_t kRows = 500001;

    [[nodiscard]] std::size_t count() const { return rows_.size(); }
    [[nodiscard]] bool full() const { return rows_.size() >= kRows; }

    // Cells; empty past the last record.
    [[nodiscard]] std::string_view folder(std::size_t row) const {
        return row < rows_.size() ? std::string_view(folders_[rows_[row].folder]) : std::string_view();
    }
    [[nodiscard]] std::string_view name(std::size_t row) const {
        if (row >= rows_.size()) {
            return {};
        }
        return {names_.data() + rows_[row].nameOffset, rows_[row].nameLength};
    }
    // Adds a record after the last one; false when the table is full.
    bool append(std::string_view folder, std::string_view name);
    void setName(std::size_t row, std::string_view name);
    // Takes a record out; the records after it move up a row.
    void erase(std::size_t row);
    // Empties the table, keeping its capacity for the next load.
    void clear();
    // Gives back the capacity that the records no longer need.
    void fitCapacity();

    // Raw list-file text of records beyond the table's last row, kept so that no rewrite loses them.
    [[nodiscard]] const std::string& overflow() const { return overflow_; }
    void setOverflow(std::string text) { overflow_ = std::move(text); }

    // Whether the list file's text ended with a line that paired with none: a record appended to
    // that file would be read a line out of step, so it has to be written whole instead.
    [[nodiscard]] bool unpairedEnd() const { return unpairedEnd_; }
    void setUnpairedEnd(bool unpaired) { unpairedEnd_ = unpaired; }
    // Whether the list file's lines ended in LF alone: a record appended in CR LF would make the
    // whole file one line, so it too has to be written whole.
    [[nodiscard]] bool lfLineEnds() const { return lfLineEnds_; }
    void setLfLineEnds(bool lf) { lfLineEnds_ = lf; }

private:
    static constexpr std::uint32_t kNoFolder = UINT32_MAX;
    struct Row {
        std::uint32_t folder; // index into folders_
        std::uint32_t nameOffset;
        std::uint32_t nameLength;
    };
    std::uint32_t folderIndex(std::string_view folder);
    std::uint32_t storeName(std::string_view name);

    std::vector<Row> rows_;
    std::vector<std::string> folders_;
    std::uint32_t lastFolder_ = kNoFolder; // folder of the row appended last, to share it
    std::string names_;                    // all names back to back
    std::string overflow_;
    bool unpairedEnd_ = false;
    bool lfLineEnds_ = false;
};

} // namespace zelvano
