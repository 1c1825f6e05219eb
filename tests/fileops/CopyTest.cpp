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

TEST_F(Copy, ANewCopyIsListedAtTheEnd) {
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
}

TEST_F(Copy, TheRecordGoesOnANewLineAndAFailedAppendIsReported) {
    std::string text = picturesList(2);
    text.resize(text.size() - 2); // a list file whose last line has no line end
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

    const std::string list = CurrentListFile(c);
    std::filesystem::remove(list);
    std::filesystem::create_directory(list); // the list file cannot be appended to
    win.saveAs = {backup() + "b.jpg"};
    Command6_Click(c);
    ASSERT_EQ(win.messages().size(), 1U);
    EXPECT_EQ(win.messages()[0].rfind("The list file " + list + " could not be written: ", 0), 0U);
    EXPECT_TRUE(dir.exists("backup/b.jpg"));
    EXPECT_EQ(win.items.back(), "b.jpg") << "the copy is on the disk, so it is listed";
}

TEST_F(Copy, OverAnExistingFile) {
    const std::string before = dir.read("Zelvanojpg.log");
    dir.write("backup/old.JPG.jpg", "old");
    win.saveAs = {backup() + "old.JPG"};
    win.answers = {false};
    Command6_Click(c);
    EXPECT_EQ(dir.read("backup/old.JPG.jpg"), "old");

    win.saveAs = {backup() + "old.JPG"};
    win.answers = {true};
    Command6_Click(c);
    EXPECT_EQ(win.questions(), std::vector<std::string>(2, std::string(kAlreadyExists)));
    EXPECT_EQ(dir.read("backup/old.JPG.jpg"), dir.read("pics/p1.jpg"));
    EXPECT_EQ(dir.read("Zelvanojpg.log"), before) << "no record for a file that was there";
}

TEST_F(Copy, NothingSelectedCancelAndThePictureItself) {
    const std::string before = dir.read("Zelvanojpg.log");
    const std::string picture = dir.read("pics/p2.jpg");
    win.selected = -1;
    c.state.SelIndex = 2;
    Command6_Click(c);
    EXPECT_TRUE(win.shown("save").empty());
    EXPECT_EQ(win.selected, 2);
    EXPECT_EQ(win.counter, "3 jpg Pictures/ 3");

    win.saveAs = {std::nullopt, pics() + "p2.jpg"}; // Cancel, then the picture onto itself
    Command6_Click(c);
    Command6_Click(c);
    EXPECT_TRUE(win.questions().empty());
    EXPECT_EQ(dir.read("Zelvanojpg.log"), before);
    EXPECT_EQ(dir.read("pics/p2.jpg"), picture);
}

TEST_F(Copy, APlaceWithALineBreakIsRefusedAndTheDialogComesBack) {
    const std::string before = dir.read("Zelvanojpg.log");
    win.saveAs = {dir.path() + "/a\rb/x.jpg", backup() + "holiday\r\n"}; // then Cancel
    Command6_Click(c);
    EXPECT_EQ(win.messages(), std::vector<std::string>(2, std::string(kNoLineBreak)));
    EXPECT_EQ(win.shown("save").size(), 3U);
    EXPECT_TRUE(std::filesystem::is_empty(backup()));
    EXPECT_EQ(dir.read("Zelvanojpg.log"), before);
}

TEST_F(Copy, AFailedCopyAddsNoRecordAndSaysWhy) {
    const std::string before = dir.read("Zelvanojpg.log");
    dir.write("backup/locked.jpg", "old");
    os.failCopies[backup() + "locked.jpg"] = OpResult::fail(Failure::AccessError, "Permission denied");
    win.saveAs = {backup() + "locked.jpg", dir.path() + "/no such folder/x.jpg"};
    win.answers = {true};
    win.focused = false;
    Command6_Click(c);
    EXPECT_EQ(win.messages().back(), kWriteProtectedRename);
    EXPECT_EQ(dir.read("backup/locked.jpg"), "old");
    Command6_Click(c);
    EXPECT_FALSE(win.focused) << "each ends at its message";
    const std::string failed =
        "The picture p1.jpg could not be copied to " + dir.path() + "/no such folder/x.jpg: ";
    EXPECT_EQ(win.messages().back().substr(0, failed.size()), failed); // the system's reason follows
    EXPECT_EQ(dir.read("Zelvanojpg.log"), before);
}

} // namespace
} // namespace zelvano::test
