#pragma once

#include "state/PicTable.h"

#include <functional>
#include <string>
#include <string_view>

namespace zelvano {

// The list file: two lines per record (folder with its trailing separator, then the file name),
// CR LF after every line, no header. Reading, a line ends at CR with or without a following LF;
// an LF alone belongs to the value, so any name without a CR survives a round trip. A list that
// holds no CR at all can only have lost its CRs on the way: its lines end at LF.

// Path of a type's list file: the executable's folder, the separator, "Zelvano", type, ".log".
std::string ListFilePath(const std::string& exeFolder, char separator, const std::string& picType);

// Reads list-file text, given in pieces of any size, into a table (emptied first). Records beyond
// the table's last row are kept raw as its overflow; an unpaired last line, and records with an
// empty line, name no file and are dropped (the table tells of an unpaired last line).
class ListParser {
public:
    explicit ListParser(PicTable& table);
    void feed(std::string_view piece);
    void finish(); // the text has ended

private:
    void line(std::string_view value);
    void finishLfLines();

    PicTable& table_;
    std::string partial_; // a line begun in an earlier piece
    std::string folder_;  // the first line of the record being read
    bool haveFolder_ = false;
    bool sawCr_ = false;
    bool skipLf_ = false;      // the last piece ended in CR: an LF that starts the next belongs to it
    bool overflowing_ = false; // the table is full: the rest is kept raw
    std::string overflow_;
};

// The same for a whole text.
void ParseList(std::string_view text, PicTable& table);

// The list-file text of the table, the overflow kept at the end.
// WriteList gives it piece by piece, SerializeList as one text.
void WriteList(const PicTable& table, const std::function<void(std::string_view)>& put);
std::string SerializeList(const PicTable& table);

// One record as the list file holds it.
std::string FormatRecord(std::string_view folder, std::string_view name);

// What appends a record to a list file whose last bytes are `fileEnd`: the record, on a line of
// its own also when the file's last line has no line end.
std::string AppendedRecord(std::string_view fileEnd, std::string_view folder, std::string_view name);

} // namespace zelvano
