#include "picturelist/ListFile.h"

#include <algorithm>
#include <cstring>

namespace zelvano {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

} // namespace

std::string ListFilePath(const std::string& exeFolder, char separator, const std::string& picType) {
    std::string path = exeFolder;
    path += separator;
    path += "Zelvano";
    path += picType;
    path += ".log";
    return path;
}

ListParser::ListParser(PicTable& table) : table_(table) {
    table_.clear();
}

void ListParser::feed(std::string_view piece) {
    if (skipLf_ && !piece.empty()) {
        skipLf_ = false;
        if (piece.front() == '\n') {
            piece.remove_prefix(1);
        }
    }
    while (!piece.empty()) {
        if (overflowing_) {
            overflow_.append(piece);
            return;
        }
        const auto* cr = static_cast<const char*>(std::memchr(piece.data(), '\r', piece.size()));
        if (cr == nullptr) {
            partial_.append(piece); // until a CR comes, this may be a list with LF line ends
            return;
        }
        sawCr_ = true;
        const auto length = static_cast<std::size_t>(cr - piece.data());
        std::string_view value = piece.substr(0, length);
        if (!partial_.empty()) {
            partial_.append(value);
            value = partial_;
        }
        piece.remove_prefix(length + 1);
        if (piece.empty()) {
            skipLf_ = true;
        } else if (piece.front() == '\n') {
            piece.remove_prefix(1);
        }
        line(value);
        partial_.clear();
    }
}

void ListParser::line(std::string_view value) {
    if (!haveFolder_) {
        folder_.assign(value);
        haveFolder_ = true;
        return;
    }
    haveFolder_ = false;
    if (!folder_.empty() && !value.empty()) {
        table_.append(folder_, value);
    }
    overflowing_ = table_.full();
}

// A list with no CR at all went through a tool that turned its line ends into LF: its lines end
// at LF. The rewrite at its next change gives it CR LF again.
void ListParser::finishLfLines() {
    std::string_view rest = partial_;
    while (!rest.empty()) {
        const std::size_t lf = std::min(rest.find('\n'), rest.size());
        if (overflowing_) {
            overflow_.append(rest.substr(0, lf)).append(kLineEnd);
        } else {
            line(rest.substr(0, lf));
        }
        rest.remove_prefix(std::min(lf + 1, rest.size()));
    }
    partial_.clear();
    table_.setLfLineEnds(true);
}

void ListParser::finish() {
    if (!sawCr_ && partial_.find('\n') != std::string::npos) {
        finishLfLines();
    }
    if (!overflowing_ && !partial_.empty()) {
        line(partial_); // the last line, without a line end
        partial_.clear();
    }
    table_.setOverflow(std::move(overflow_)); // an unpaired last line is left out
    table_.setUnpairedEnd(!overflowing_ && haveFolder_);
    table_.fitCapacity();
}

void ParseList(std::string_view text, PicTable& table) {
    ListParser parser(table);
    parser.feed(text);
    parser.finish();
}

void WriteList(const PicTable& table, const std::function<void(std::string_view)>& put) {
    // Records go out in pieces of about this size, so that a big list needs no copy of its own.
    constexpr std::size_t kPiece = 1 << 20;
    std::string piece;
    for (std::size_t row = 0; row < table.count(); ++row) {
        piece.append(table.folder(row)).append(kLineEnd).append(table.name(row)).append(kLineEnd);
        if (piece.size() >= kPiece) {
            put(piece);
            piece.clear();
        }
    }
    put(piece);
    put(table.overflow());
}

std::string SerializeList(const PicTable& table) {
    std::string out;
    WriteList(table, [&out](std::string_view piece) { out.append(piece); });
    return out;
}

std::string FormatRecord(std::string_view folder, std::string_view name) {
    std::string out;
    out.reserve(folder.size() + name.size() + 2 * kLineEnd.size());
    out.append(folder).append(kLineEnd).append(name).append(kLineEnd);
    return out;
}

std::string AppendedRecord(std::string_view fileEnd, std::string_view folder, std::string_view name) {
    // A line ends at a CR; an LF alone belongs to the value. A CR that ends the file gets its LF,
    // or a record whose folder starts with an LF would lose that LF to the CR.
    std::string_view lineEnd;
    if (fileEnd.empty() || fileEnd.ends_with(kLineEnd)) {
        lineEnd = "";
    } else {
        lineEnd = fileEnd.back() == '\r' ? "\n" : kLineEnd;
    }
    return std::string(lineEnd) + FormatRecord(folder, name);
}

} // namespace zelvano
