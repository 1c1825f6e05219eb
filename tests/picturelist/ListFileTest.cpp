#include "picturelist/ListFile.h"

#include "support/Records.h"

#include <gtest/gtest.h>

namespace zelvano {
namespace {

using test::Records;
using test::Rows;

TEST(ListFile, ReadingRulesForLineEnds) {
    struct Case {
        const char* what;
        std::string text;
        Records expected;
        bool unpairedEnd = false;
        bool lfLineEnds = false;
    };
    const std::vector<Case> cases = {
        {"CR LF", "/a/\r\nx.jpg\r\n/b/\r\ny.jpg\r\n", {{"/a/", "x.jpg"}, {"/b/", "y.jpg"}}},
        {"CR alone", "/a/\rx.jpg\r/b/\ry.jpg\r", {{"/a/", "x.jpg"}, {"/b/", "y.jpg"}}},
        {"no final line end", "/a/\r\nx.jpg\r\n/b/\r\ny.jpg", {{"/a/", "x.jpg"}, {"/b/", "y.jpg"}}},
        {"odd number of lines", "/a/\r\nx.jpg\r\n/b/\r\n", {{"/a/", "x.jpg"}}, true},
        {"odd lines, no end", "/a/\r\nx.jpg\r\n/b/", {{"/a/", "x.jpg"}}, true},
        {"LF alone is part of the value", "/a\n/\r\nx\ny.jpg\r\n", {{"/a\n/", "x\ny.jpg"}}},
        {"name starting with LF", "/a/\r\n\nx.jpg\r\n", {{"/a/", "\nx.jpg"}}},
        {"no CR anywhere: LF ends lines",
         "/a/\nx.jpg\n/b/\ny.jpg\n",
         {{"/a/", "x.jpg"}, {"/b/", "y.jpg"}},
         false,
         true},
        {"LF lines, odd, no end", "/a/\nx.jpg\n/b/", {{"/a/", "x.jpg"}}, true, true},
        {"empty file", "", {}},
        {"a record with an empty line names no file", "/a/\r\n\r\n/b/\r\ny.jpg\r\n", {{"/b/", "y.jpg"}}},
    };
    for (const auto& c : cases) {
        PicTable whole;
        ParseList(c.text, whole);
        EXPECT_EQ(Rows(whole), c.expected) << c.what;
        // The file is read in pieces: a line, or a CR LF, may be split anywhere.
        for (std::size_t size = 1; size <= 4; ++size) {
            PicTable t;
            ListParser parser(t);
            for (std::size_t at = 0; at < c.text.size(); at += size) {
                parser.feed(std::string_view(c.text).substr(at, size));
            }
            parser.finish();
            EXPECT_EQ(Rows(t), c.expected) << c.what << ", pieces of " << size;
            EXPECT_EQ(t.unpairedEnd(), c.unpairedEnd) << c.what;
            EXPECT_EQ(t.lfLineEnds(), c.lfLineEnds) << c.what;
        }
    }
}

TEST(ListFile, ARewriteKeepsEveryByteAndWritesTheChanges) {
    const Records records = {
        {"/photos/", "IMG_0001.JPG"},
        {"/photos/", "IMG_0002.jpg"},
        {"/l\xE6re/\xFF\xFE/", "n\xF8kkel \x80.jpg"}, // not UTF-8
        {"/with space/", "line\nfeed.jpg"},
        {"/photos/", "again.jpg"},
    };
    std::string text;
    for (const auto& [f, n] : records) {
        text += FormatRecord(f, n);
    }
    PicTable t;
    ParseList(text, t);
    EXPECT_EQ(Rows(t), records);
    EXPECT_EQ(SerializeList(t), text);

    // Erased rows and renames are written.
    PicTable changed;
    ParseList("/a/\r\n1.jpg\r\n/a/\r\n2.jpg\r\n/b/\r\n3.jpg\r\n", changed);
    changed.erase(1);
    changed.setName(1, "three.jpg");
    EXPECT_EQ(Rows(changed), (Records{{"/a/", "1.jpg"}, {"/b/", "three.jpg"}}));
    EXPECT_EQ(SerializeList(changed), "/a/\r\n1.jpg\r\n/b/\r\nthree.jpg\r\n");
}

TEST(ListFile, RecordsBeyondTheTableSurviveARewrite) {
    std::string text;
    for (std::size_t i = 0; i < PicTable::kRows + 3; ++i) {
        text += FormatRecord("/f" + std::to_string(i / 1000) + "/", std::to_string(i) + ".jpg");
    }
    PicTable t;
    ParseList(text, t);
    ASSERT_EQ(t.count(), PicTable::kRows);
    EXPECT_EQ(t.name(PicTable::kRows - 1), std::to_string(PicTable::kRows - 1) + ".jpg");
    EXPECT_TRUE(t.name(PicTable::kRows).empty());
    EXPECT_FALSE(t.append("/x/", "y.jpg"));
    EXPECT_EQ(SerializeList(t), text);

    t.erase(0); // a rewrite after a removal still keeps the records past the table
    EXPECT_EQ(SerializeList(t), text.substr(FormatRecord("/f0/", "0.jpg").size()));
    t.clear();
    EXPECT_EQ(SerializeList(t), "") << "nothing of the old list is left to write";
}

TEST(ListFile, AnAppendedRecordStartsOnALineOfItsOwn) {
    const std::string record = "/c/\r\nz.jpg\r\n";
    for (const auto& [end, prefix] : std::vector<std::pair<std::string, std::string>>{
             {"", ""}, {"\r\n", ""}, {"g\r", "\n"}, {"pg", "\r\n"}, {"g\n", "\r\n"}}) {
        EXPECT_EQ(AppendedRecord(end, "/c/", "z.jpg"), prefix + record) << "after \"" << end << '"';
    }
}

TEST(ListFile, PathBesideTheExecutable) {
    EXPECT_EQ(ListFilePath("/opt/zelvano", '/', "jpeg"), "/opt/zelvano/Zelvanojpeg.log");
    EXPECT_EQ(ListFilePath("C:\\", '\\', "gif"), "C:\\\\Zelvanogif.log");
}

} // namespace
} // namespace zelvano
