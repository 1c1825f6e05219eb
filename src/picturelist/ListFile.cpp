#include "picturelist/ListFile.h"

#include <cstring>

namespace zelvano {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

// Splits list-file text into lines by the reading rule above.
class LineReader {
public:
    explicit LineReader(std::string_view text) : text_(text) {}

    [[nodiscard]] bool atEnd() const { return pos_ >= text_.size(); }
    [[nodiscard]] std::string_view rest() const { return text_.substr(pos_); }

    std::string_view next() {
        const char* begin = text_.data() + pos_;
        const std::size_t left = text_.size() - pos_;
        const auto* cr = static_cast<const char*>(std::memchr(begin, '\r', left));
        if (cr == nullptr) {
            pos_ = text_.size();
            return {begin, left};
        }
        const auto length = static_cast<std::size_t>(cr - begin);
        pos_ += length + 1;
        if (pos_ < text_.size() && text_[pos_] == '\n') {
            ++pos_;
        }
        return {begin, length};
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

} // namespace

std::string ListFilePath(const std::string& exeFolder, char separator, const std::string& picType) {
    std::string path = exeFolder;
    path += separator;
    path += "Zelvano";
    path += picType;
    path += ".log";
    return path;
}

void ParseList(std::string_view text, PicTable& table) {
    table.clear();
    // Records of real lists average well over 40 bytes; a guess saves most regrowth of the rows.
    table.reserve(text.size() / 40 + 1, text.size() / 4);
    LineReader lines(text);
    while (!lines.atEnd()) { // the end test comes only before a record's first line
        if (table.full()) {
            table.setOverflow(std::string(lines.rest()));
            return;
        }
        const std::string_view folder = lines.next();
        if (lines.atEnd()) {
            return; // an unpaired last line
        }
        const std::string_view name = lines.next();
        if (!folder.empty() && !name.empty()) {
            table.append(folder, name);
        }
    }
}

void WriteList(const PicTable& table, const std::function<void(std::string_view)>& put) {
    // Records go out in pieces of about this size, so that a big list needs no copy of its own.
    constexpr std::size_t kPiece = 1 << 20;
    std::string piece;
    piece.reserve(kPiece + 4096);
    for (std::size_t row = 0; row < table.count(); ++row) {
        if (table.removed(row)) {
            continue;
        }
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

} // namespace zelvano
