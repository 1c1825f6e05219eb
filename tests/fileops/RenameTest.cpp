#include "fileops/Rename.h"

#include "fileops/FileNames.h"
#include "support/AppFixture.h"
#if !defined(_WIN32)
#include "support/PlainDriveMount.h"
#endif

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace zelvano::test {
namespace {

namespace fs = std::filesystem;

TEST(FileNames, ExtensionRule) {
    EXPECT_EQ(WithTypeExtension("holiday", "jpg"), "holiday.jpg");
    EXPECT_EQ(WithTypeExtension("holiday.jpg", "jpg"), "holiday.jpg");
    EXPECT_EQ(WithTypeExtension("holiday.JPG", "jpg"), "holiday.JPG") << "the search's own rule";
    EXPECT_EQ(WithTypeExtension("holiday.Jpeg", "jpeg"), "holiday.Jpeg");
    EXPECT_EQ(WithTypeExtension("holidayjpg", "jpg"), "holidayjpg.jpg");
    EXPECT_EQ(WithTypeExtension("x.jpg", "jpeg"), "x.jpg.jpeg");
    EXPECT_EQ(WithTypeExtension("g", "jpg"), "g.jpg");
    EXPECT_EQ(WithTypeExtension("pg", "jpg"), "pg.jpg");
    EXPECT_EQ(WithTypeExtension(".jpg", "jpg"), ".jpg");
    EXPECT_EQ(WithTypeExtension("/backup/shot", "gif"), "/backup/shot.gif");
}

class Rename : public AppFixture {
protected:
    void SetUp() override {
        load("jpg", picturesList(3));
        win.selected = 1; // p1.jpg
    }
    std::string pics() const { return dir.folder("pics"); }
    std::vector<std::string> inputs() const { return win.shown("input"); }
};

// A free name: the picture is renamed and keeps its place in the list.
TEST_F(Rename, ARenameKeepsThePositionOrAsksAboutATakenName) {
    fs::permissions(pics() + "p1.jpg", fs::perms::owner_read);
    win.typed = {"holiday"};
    Command4_Click(c);
    EXPECT_TRUE(Writable(pics() + "holiday.jpg")) << "it loses its read-only mark";
    EXPECT_EQ(win.journal.front().rfind("preview:", 0), 0U);
    EXPECT_TRUE(dir.exists("pics/holiday.jpg"));
    EXPECT_FALSE(dir.exists("pics/p1.jpg"));
    EXPECT_EQ(win.items, (std::vector<std::string>{"p0.jpg", "holiday.jpg", "p2.jpg"}));
    EXPECT_EQ(win.selected, 1);
    EXPECT_EQ(win.preview, pics() + "holiday.jpg");
    EXPECT_EQ(dir.read("Zelvanojpg.log").find("p1.jpg"), std::string::npos);
    EXPECT_NE(dir.read("Zelvanojpg.log").find("holiday.jpg"), std::string::npos);

    // A taken name: No asks again with the current name, Yes moves the picture into the other record.
    const std::string picture = dir.read("pics/holiday.jpg");
    fs::permissions(pics() + "holiday.jpg", fs::perms::owner_read);
    win.journal.clear();
    win.typed = {"p2.jpg", "p2"};
    win.answers = {false, true};
    Command4_Click(c);
    EXPECT_EQ(win.questions(), std::vector<std::string>(2, std::string(kAlreadyExists)));
    EXPECT_EQ(inputs(),
              std::vector<std::string>(2, "New name:|Write the new name fore this picture.|holiday.jpg"));
    EXPECT_TRUE(Writable(pics() + "p2.jpg"));
    EXPECT_FALSE(dir.exists("pics/holiday.jpg"));
    EXPECT_EQ(dir.read("pics/p2.jpg"), picture);
    EXPECT_EQ(win.items, (std::vector<std::string>{"p0.jpg", "p2.jpg"}));
    EXPECT_EQ(win.selected, -1);
    EXPECT_EQ(c.state.PicCount(), 2);
}

// Nothing new, a refusal and a failure keep the old name and the list file as they were.
TEST_F(Rename, NothingNewRefusalsAndFailuresKeepTheOldName) {
    const std::string before = dir.read("Zelvanojpg.log");
    win.selected = -1;
    Command4_Click(c);
    EXPECT_TRUE(inputs().empty());

    // Cancel, the same name, the same after the rule, and another name of the picture itself.
    fs::create_hard_link(pics() + "p1.jpg", pics() + "alias.jpg");
    win.selected = 1;
    for (const std::string typed : {"", "p1.jpg", "p1", "alias"}) {
        win.typed = {typed};
        Command4_Click(c);
    }
    EXPECT_EQ(inputs().size(), 4U);
    EXPECT_TRUE(win.questions().empty());
    EXPECT_TRUE(dir.exists("pics/p1.jpg"));
    EXPECT_TRUE(dir.exists("pics/alias.jpg"));
    EXPECT_EQ(dir.read("Zelvanojpg.log"), before);

    // The system refuses to put it in place of another picture.
    os.failRenames[pics() + "p2.jpg"] = OpResult::fail(Failure::AccessError, "Read-only file system");
    win.typed = {"p2"};
    win.answers = {true};
    Command4_Click(c);
    EXPECT_EQ(win.messages().back(), kWriteProtectedRename);
    EXPECT_TRUE(dir.exists("pics/p1.jpg"));
    EXPECT_TRUE(dir.exists("pics/p2.jpg"));

    // Another program takes the free name while the window paints: its file stays.
    win.typed = {"new"};
    win.whilePainting = [&] {
        dir.write("pics/new.jpg", "theirs");
    };
    Command4_Click(c);
    win.whilePainting = nullptr;
    EXPECT_EQ(dir.read("pics/new.jpg"), "theirs");
    EXPECT_TRUE(dir.exists("pics/p1.jpg"));
    fs::remove(pics() + "new.jpg");

    fs::remove(pics() + "p1.jpg"); // gone meanwhile: the rename fails and says so
    win.typed = {"new"};
    Command4_Click(c);
    EXPECT_EQ(win.messages().back().rfind("The picture p1.jpg could not be renamed: ", 0), 0U);
    EXPECT_EQ(dir.read("Zelvanojpg.log"), before);
    EXPECT_EQ(win.items[1], "p1.jpg");

    // A path is no name, and a line break would split the record: each is refused and the input
    // box comes back.
    dir.writeBmp("pics/p1.jpg", 4, 4);
    for (const auto& [typed, refusal] : std::vector<std::pair<std::string, std::string>>{
             {"sub/new", "A name can not hold \"/\". Write the name alone, without a folder."},
             {"holiday\r\n", std::string(kNoLineBreak)},
             {"a\nb", std::string(kNoLineBreak)}}) {
        const std::size_t asked = inputs().size();
        win.typed = {typed};
        Command4_Click(c);
        EXPECT_EQ(win.messages().back(), refusal) << typed;
        EXPECT_EQ(inputs().size(), asked + 2) << "the input box comes back after the message";
    }
    EXPECT_EQ(dir.read("Zelvanojpg.log"), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(pics()), fs::directory_iterator()), 4) << "and alias.jpg";
}

#if !defined(_WIN32) // Wine renames by letter case differently from Windows
// A folder on a file system that ignores letter case, as far as the rename asks about it.
class CaseBlindOs : public TestOs {
public:
    using TestOs::TestOs;
    Presence fileExists(const std::string& path) override { return TestOs::fileExists(onDisk(path)); }
    bool sameFile(const std::string& a, const std::string& b) override {
        return TestOs::sameFile(onDisk(a), onDisk(b));
    }
    OpResult renameFile(const std::string& from, const std::string& to, bool replace) override {
        if (!replace && onDisk(to) != to && fs::exists(onDisk(to))) {
            return onDisk(to) == onDisk(from) ? OpResult::success() // the system's "nothing to do"
                                              : OpResult::fail(Failure::Other, "File exists");
        }
        return TestOs::renameFile(onDisk(from), to, replace);
    }

private:
    static std::string Fold(std::string name) {
        std::transform(name.begin(), name.end(), name.begin(),
                       [](unsigned char ch) { return std::tolower(ch); });
        return name;
    }
    static std::string onDisk(const std::string& path) {
        const fs::path p(path);
        for (const auto& e : fs::directory_iterator(p.parent_path())) {
            if (Fold(e.path().filename().string()) == Fold(p.filename().string())) {
                return e.path().string();
            }
        }
        return path;
    }
};

TEST_F(Rename, ACaseOnlyRenameOnACaseBlindFileSystemIsARealRename) {
    CaseBlindOs blind(dir.path());
    Context cb{c.state, blind, win, &List1_Click}; // the list loaded, p1.jpg selected
    win.typed = {"P1.jpg", "P1.jpg"};              // once for each click
    blind.failRenames[pics() + "P1.jpg"] = OpResult::fail(Failure::Other, "Input/output error");
    Command4_Click(cb); // the second step fails: the picture gets its own name back
    EXPECT_TRUE(fs::exists(pics() + "p1.jpg"));
    EXPECT_EQ(std::distance(fs::directory_iterator(pics()), fs::directory_iterator()), 3);
    blind.failRenames.clear();
    Command4_Click(cb);
    EXPECT_TRUE(win.questions().empty());
    EXPECT_TRUE(fs::exists(pics() + "P1.jpg"));
    EXPECT_FALSE(fs::exists(pics() + "p1.jpg"));
    EXPECT_EQ(win.items[1], "P1.jpg");
}

// Many network drives have neither hard links nor rename flags; a picture there renames like any
// other, and the missing features are no write protection.
TEST_F(Rename, OnADriveWithoutLinksOrRenameFlags) {
    const PlainDriveMount drive(dir.path() + "/pics");
    if (!drive.ok()) {
        GTEST_SKIP() << drive.why();
    }
    win.typed = {"holiday"};
    Command4_Click(c);
    EXPECT_TRUE(win.messages().empty()) << win.messages().front();
    EXPECT_TRUE(dir.exists("pics/holiday.jpg"));
    EXPECT_EQ(win.items[1], "holiday.jpg");
}
#endif

} // namespace
} // namespace zelvano::test
