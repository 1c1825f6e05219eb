// Any bytes as a list file: what is read survives a rewrite unchanged, what the program writes
// reads back byte for byte, reading in pieces changes nothing, and a record appended after any
// text is read back after the others.
#include "FuzzCheck.h"
#include "picturelist/ListFile.h"
#include "support/Records.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zelvano;
    using test::Records;
    using test::Rows;
    if (size == 0) {
        return 0;
    }
    // The first byte sets the size of the pieces the file arrives in.
    const std::size_t step = data[0] % 8 + 1;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

    PicTable read;
    ParseList(text, read);
    const Records records = Rows(read);
    for (const auto& [folder, name] : records) {
        FUZZ_CHECK(!folder.empty() && !name.empty());
        FUZZ_CHECK(folder.find('\r') == std::string::npos && name.find('\r') == std::string::npos);
    }

    PicTable inPieces;
    ListParser parser(inPieces);
    for (std::size_t at = 0; at < text.size(); at += step) {
        parser.feed(text.substr(at, step));
    }
    parser.finish();
    FUZZ_CHECK(Rows(inPieces) == records && inPieces.unpairedEnd() == read.unpairedEnd() &&
               inPieces.lfLineEnds() == read.lfLineEnds());

    const std::string written = SerializeList(read);
    PicTable again;
    ParseList(written, again);
    FUZZ_CHECK(Rows(again) == records && !again.unpairedEnd());
    FUZZ_CHECK(SerializeList(again) == written);

    if (!read.unpairedEnd() && !read.lfLineEnds()) { // else the program writes the list whole
        const std::string_view end = text.substr(text.size() - std::min<std::size_t>(text.size(), 2));
        PicTable appended; // a record whose cells start with an LF, which the line end before must keep
        ParseList(std::string(text) + AppendedRecord(end, "\n/new/", "\nnew.jpg"), appended);
        Records expected = records;
        expected.emplace_back("\n/new/", "\nnew.jpg");
        FUZZ_CHECK(Rows(appended) == expected);
    }
    return 0;
}
