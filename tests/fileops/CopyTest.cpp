#include "fileops/Copy.h"

#include "fileops/FileNames.h"
#include "support/AppFixture.h"

#include <filesystem>

namespace zelvano::test {
namespace {

class Copy : public AppFixture {
protected:
    void SetUp() override {
        load("jpg", picturesList(3));
        win.selected = 1; // p1.jpg
        std::filesystem::create_directories(dir.path() + "/backup");
    }
    std::string pics() const { return dir.folder("pics"); }
    std::string backup() const { return dir.folder("backup"); }
};

TEST_F(Copy, ANewCopyIsRecordedAndListedAtTheEnd) {
    const std::string before = dir.read("Zelvanojpg.log");
    std::filesystem::permissions(pics() + "p1.jpg", std::filesystem::perms::owner_read);
    win.saveAs = {backup() + "shot"};
    Command6_Click(c);
    EXPECT_TRUE(Writable(pics() + "p1.jpg")) << "the source loses its read-only mark";
    EXPECT_EQ(win.shown("save"), std::vector<std::string>{"p1.jpg"});
    EXPECT_EQ(dir.read("backup/shot.jpg"), dir.read("pics/p1.jpg"));
    EXPECT_EQ(dir.read("Zelvanojpg.log"), before + ListText({{backup(), "shot.jpg"}}));
    EXPECT_EQ(c.state.PicCount(), 4);
    EXPECT_EQ(win.items.size(), 4U);
    EXPECT_EQ(win.selected, 1);
    EXPECT_EQ(win.counter, "4 jpg Pictures/ 2");

    // A list file whose last line has no line end: the record goes on a new line.
    std::string text = picturesList(2);
    text.resize(text.size() - 2);
    load("jpg", text);
    win.selected = 1;
    win.saveAs = {backup() + "a.jpg"};
    Command6_Click(c);
    EXPECT_EQ(dir.read("Zelvanojpg.log"), text + "\r\n" + ListText({{backup(), "a.jpg"}}));
    EXPECT_EQ(win.items, (std::vector<std::string>{"p0.jpg", "p1.jpg", "a.jpg"}));

    // A list cut short after a record's first line: the list is written whole, without that line.
    const std::string whole = dir.read("Zelvanojpg.log");
    load("jpg", whole + ListText({{pics(), "cut.jpg"}}).substr(0, pics().size() + 2));
    win.selected = 0;
    win.saveAs = {backup() + "c.jpg"};
    Command6_Click(c);
    EXPECT_EQ(dir.read("Zelvanojpg.log"), whole + ListText({{backup(), "c.jpg"}}));
    EXPECT_EQ(win.items.back(), "c.jpg");

    // A list whose line ends lost their CRs on the way is read by its LFs, and written whole again.
    const std::string crLf = dir.read("Zelvanojpg.log");
    std::string lf = crLf;
    std::erase(lf, '\r');
    load("jpg", lf);
    win.saveAs = {backup() + "d.jpg"};
    Command6_Click(c);
    EXPECT_EQ(dir.read("Zelvanojpg.log"), crLf + ListText({{backup(), "d.jpg"}}));

    // The list file cannot be appended to: that is said, and the copy is listed all the same.
    const std::string list = CurrentListFile(c);
    std::filesystem::remove(list);
    std::filesystem::create_directory(list);
    win.saveAs = {backup() + "b.jpg"};
    Command6_Click(c);
    ASSERT_EQ(win.messages().size(), 1U);
    EXPECT_EQ(win.messages()[0].rfind("The list file " + list + " could not be written: ", 0), 0U);
    EXPECT_TRUE(dir.exists("backup/b.jpg"));
    EXPECT_EQ(win.items.back(), "b.jpg") << "the copy is on the disk, so it is listed";
}

// Only a new copy adds a record: nothing selected selects the entry again; Cancel, the picture
// itself and a place whose name would split the record copy nothing; a file at the place is
// replaced only on Yes; a refused or failed copy says why.
TEST_F(Copy, OnlyANewCopyAddsARecord) {
    const std::string before = dir.read("Zelvanojpg.log");
    const std::string picture = dir.read("pics/p2.jpg");
    win.selected = -1;
    c.state.SelIndex = 2;
    Command6_Click(c);
    EXPECT_TRUE(win.shown("save").empty());
    EXPECT_EQ(win.selected, 2);
    EXPECT_EQ(win.counter, "3 jpg Pictures/ 3");

    // Cancel; the picture onto itself; two places with line breaks, each refused with the dialog
    // back, and then Cancel.
    win.saveAs = {std::nullopt, pics() + "p2.jpg", dir.path() + "/a\rb/x.jpg", backup() + "holiday\r\n"};
    Command6_Click(c);
    Command6_Click(c);
    Command6_Click(c);
    EXPECT_EQ(win.shown("save").size(), 5U);
    EXPECT_EQ(win.messages(), std::vector<std::string>(2, std::string(kNoLineBreak)));
    EXPECT_TRUE(win.questions().empty());
    EXPECT_TRUE(std::filesystem::is_empty(backup()));
    EXPECT_EQ(dir.read("pics/p2.jpg"), picture);

    // Over a file that is there (its extension in capitals, which the search finds too): No, Yes
    // with the copy refused, a folder that is not there, and Yes.
    dir.write("backup/old.JPG", "old");
    os.failCopies[backup() + "old.JPG"] = OpResult::fail(Failure::AccessError, "Permission denied");
    const std::string missing = dir.path() + "/no such folder/x.jpg";
    win.saveAs = {backup() + "old.JPG", backup() + "old.JPG", missing, backup() + "old.JPG"};
    win.answers = {false, true, true};
    win.focused = false;
    Command6_Click(c);
    EXPECT_EQ(win.messages().size(), 2U) << "No says nothing";
    Command6_Click(c);
    EXPECT_EQ(win.messages().back(), kWriteProtectedRename);
    EXPECT_EQ(dir.read("backup/old.JPG"), "old");
    Command6_Click(c); // the system's reason follows
    const std::string failed = "The picture p2.jpg could not be copied to " + missing + ": ";
    EXPECT_EQ(win.messages().back().substr(0, failed.size()), failed);
    EXPECT_FALSE(win.focused) << "each ends at its message";
    os.failCopies.clear();
    Command6_Click(c);
    EXPECT_EQ(win.questions(), std::vector<std::string>(3, std::string(kAlreadyExists)));
    EXPECT_EQ(dir.read("backup/old.JPG"), picture);
    EXPECT_EQ(dir.read("Zelvanojpg.log"), before) << "no record, not even for a file that was there";
}

} // namespace
} // namespace zelvano::test
