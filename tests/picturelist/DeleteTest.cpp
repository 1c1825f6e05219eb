#include "picturelist/Delete.h"

#include "picturelist/ListFile.h"
#include "picturelist/Paging.h"
#include "support/AppFixture.h"

#include <filesystem>

namespace zelvano::test {
namespace {

class Delete : public AppFixture {};

TEST_F(Delete, WhereTheSelectionGoesAfterwards) {
    struct Case {
        const char* what;
        int records, pageStart, index, entriesAfter, selectedAfter;
        std::string counterAfter;
    };
    const std::vector<Case> cases = {
        {"third of a full page", 75, 0, 2, 30, 2, "74 jpg Pictures/ 3"},
        {"last of a partial last page", 75, 60, 14, 14, 13, "74 jpg Pictures/ 74"},
        {"only entry of the last page", 61, 60, 0, 0, -1, "60 jpg Pictures/ 60"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.what);
        load("jpg", picturesList(k.records));
        c.state.PageStart = k.pageStart;
        win.listClear();
        FillPage(c);
        win.selected = k.index;
        const std::string name = "p" + std::to_string(k.pageStart + k.index) + ".jpg";
        win.answers = {true};
        Command5_Click(c);
        EXPECT_EQ(win.questions().back(), "Do you want to delete " + name + "?");
        EXPECT_FALSE(dir.exists("pics/" + name));
        PicTable left;
        ParseList(dir.read("Zelvanojpg.log"), left);
        EXPECT_EQ(left.count(), static_cast<std::size_t>(k.records - 1));
        EXPECT_EQ(c.state.PageStart, k.pageStart);
        EXPECT_EQ(win.listCount(), k.entriesAfter);
        EXPECT_EQ(win.selected, k.selectedAfter);
        EXPECT_EQ(win.counter, k.counterAfter);
        EXPECT_TRUE(win.focused);
    }
    Command2_Click(c); // from the emptied last page back to the one before
    EXPECT_EQ(win.listCount(), 30);

    // The last picture of a type leaves an empty list file, which loads as an empty list.
    load("jpg", picturesList(1));
    win.answers = {true};
    Command5_Click(c);
    EXPECT_TRUE(dir.exists("Zelvanojpg.log"));
    EXPECT_EQ(dir.read("Zelvanojpg.log"), "");
    load("jpg", dir.read("Zelvanojpg.log"));
    EXPECT_TRUE(win.messages().empty());
    EXPECT_EQ(win.counter, "0 jpg Pictures/ 0");
}

// No keeps the picture; a refused or failed deletion keeps its record and says why.
TEST_F(Delete, NoOrAFailedDeletionKeepsTheRecord) {
    const std::string pics = dir.folder("pics");
    const std::string text = picturesList(5);
    load("jpg", text);
    win.selected = 3;
    win.answers = {false};
    Command5_Click(c);
    EXPECT_TRUE(dir.exists("pics/p3.jpg"));
    EXPECT_EQ(dir.read("Zelvanojpg.log"), text);
    EXPECT_EQ(win.selected, 3);
    EXPECT_EQ(c.state.SelIndex, 3);

    // The keys ask the same, with any modifier; with nothing selected they select SelIndex again.
    win.answers = {false};
    List1_KeyDown(c, 46, 2);
    EXPECT_EQ(win.questions().back(), "Do you want to delete p3.jpg?");
    win.selected = -1;
    const auto asked = win.questions().size();
    List1_KeyDown(c, 8, 0);
    EXPECT_EQ(win.questions().size(), asked);
    EXPECT_EQ(win.selected, 3);
    List1_KeyDown(c, 65, 0); // any other key is the list box's own
    EXPECT_EQ(win.questions().size(), asked);

    // The system refuses.
    os.failDeletes[pics + "p0.jpg"] = OpResult::fail(Failure::AccessError, "Operation not permitted");
    win.selected = 0;
    win.answers = {true};
    Command5_Click(c);
    EXPECT_EQ(win.messages().back(), "The file are, write protected and can not bee deleted.");

#if !defined(_WIN32) // Windows refuses to delete a folder as a file with "access denied"
    // A folder now stands where the picture was: not deleted, not reported as done.
    std::filesystem::remove(pics + "p1.jpg");
    std::filesystem::create_directory(pics + "p1.jpg");
    win.selected = 1;
    win.answers = {true};
    win.focused = false;
    Command5_Click(c);
    EXPECT_EQ(win.messages().back().rfind("The file p1.jpg could not be deleted: ", 0), 0U)
        << win.messages().back();
    EXPECT_FALSE(win.focused) << "it ends at its message";
    EXPECT_TRUE(std::filesystem::is_directory(pics + "p1.jpg"));
#endif
    EXPECT_EQ(dir.read("Zelvanojpg.log"), text);
    EXPECT_EQ(win.listCount(), 5);
}

} // namespace
} // namespace zelvano::test
