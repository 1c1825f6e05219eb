#include "viewing/StaleEntries.h"

#include "picturelist/ListFile.h"
#include "support/AppFixture.h"
#include "support/PrivateMounts.h"
#include "viewing/Selection.h"

#include <cstdlib>
#include <filesystem>

namespace zelvano::test {
namespace {

class StaleEntries : public AppFixture {
protected:
    std::string pics() const { return dir.folder("pics"); }
    void select(int index) {
        win.selected = -1;
        SelectEntry(c, index);
    }
    std::string missingQuestion(const std::string& name) const {
        return "The picture '" + name + "' dose not exists, do you want to delete it from the list?";
    }
};

// A vanished file: No keeps its entry, shown without a picture and asked about again; Yes takes
// it off, and the next entry takes its place, or the one before at the end of the list.
TEST_F(StaleEntries, AVanishedFile) {
    load("jpg", picturesList(5));
    std::filesystem::remove(pics() + "p2.jpg");
    win.answers = {false};
    select(2);
    EXPECT_TRUE(win.preview.empty());
    EXPECT_EQ(win.panel1, pics() + "p2.jpg");
    EXPECT_EQ(win.panel2, "");
    EXPECT_EQ(win.listCount(), 5);
    win.answers = {true};
    select(2);
    EXPECT_EQ(win.questions(), std::vector<std::string>(2, missingQuestion("p2.jpg")));
    EXPECT_EQ(win.items, (std::vector<std::string>{"p0.jpg", "p1.jpg", "p3.jpg", "p4.jpg"}));
    EXPECT_EQ(win.selected, 2);
    EXPECT_EQ(win.preview, pics() + "p3.jpg");
    EXPECT_EQ(win.panel1, pics() + "p3.jpg");
    EXPECT_EQ(win.counter, "4 jpg Pictures/ 3");
    EXPECT_EQ(dir.read("Zelvanojpg.log").find("p2.jpg"), std::string::npos);

    std::filesystem::remove(pics() + "p4.jpg"); // the last of the whole list: the one before follows
    win.answers = {true};
    select(3);
    EXPECT_EQ(win.selected, 2);
    EXPECT_EQ(win.panel1, pics() + "p3.jpg");

    // A file that comes back while it is asked about is kept, though its entry goes.
    const std::string picture = dir.read("pics/p1.jpg");
    std::filesystem::remove(pics() + "p1.jpg");
    win.whileAsking = [&] {
        dir.write("pics/p1.jpg", picture);
    }; // the stick is plugged in again
    win.answers = {true};
    select(1);
    EXPECT_EQ(dir.read("pics/p1.jpg"), picture);
    EXPECT_EQ(win.items, (std::vector<std::string>{"p0.jpg", "p3.jpg"}));
}

// A picture whose drive is away is no missing file: nothing is asked, its record stays, and it
// shows as a picture that could not be read. Only a file gone from a folder that is there is.
TEST_F(StaleEntries, APictureOnADriveThatIsAwayIsKept) {
    // A USB stick holding photos/a.jpg is unplugged. As root it is a real drive, in a mount namespace
    // of this test's own, so that nothing stays mounted should the test die; elsewhere its content
    // goes and its folder stays.
    const std::string usb = dir.path() + "/usb";
    std::filesystem::create_directories(usb);
#if !defined(_WIN32)
    const bool mounted =
        PrivateMounts() && std::system(("mount -t tmpfs -o size=1m usb '" + usb + "'").c_str()) == 0;
#else
    const bool mounted = false;
#endif
    dir.writeBmp("usb/photos/a.jpg", 4, 4);
    if (mounted) {
        ASSERT_EQ(std::system(("umount '" + usb + "'").c_str()), 0);
    } else {
        std::filesystem::remove_all(usb + "/photos");
    }
    load("jpg",
         picturesList(1) + ListText({{dir.folder("usb/photos"), "a.jpg"}, {dir.folder("usb"), "b.jpg"}}));
    const std::string list = dir.read("Zelvanojpg.log");
    win.answers = {false};
    select(1);
    EXPECT_TRUE(win.questions().empty());
    EXPECT_EQ(win.panel1, dir.folder("usb/photos") + "a.jpg");
    EXPECT_EQ(win.counter, "3 jpg Pictures/ 2");
    select(2);
    EXPECT_EQ(win.questions(), std::vector<std::string>{missingQuestion("b.jpg")}) << "its folder is there";
    EXPECT_EQ(dir.read("Zelvanojpg.log"), list);
}

TEST_F(StaleEntries, AFileThatIsNotAPicture) {
    load("jpg", picturesList(3));
    dir.write("pics/p1.jpg", "just text");
    win.answers = {false};  // No: shown as a normal entry, with the size of the picture before
    win.whileAsking = [&] { // the path and counter follow the selection before the question
        EXPECT_EQ(win.panel1, pics() + "p1.jpg");
        EXPECT_EQ(win.counter, "3 jpg Pictures/ 2");
    };
    select(1);
    EXPECT_EQ(win.questions().back(), "The file p1.jpg are not a picture file, do you want to delete it?");
    EXPECT_EQ(win.panel1, pics() + "p1.jpg");
    EXPECT_EQ(win.panel2, "Size: 210 x 360"); // p0.jpg, 10 x 20 pixels
    EXPECT_EQ(win.counter, "3 jpg Pictures/ 2");
    EXPECT_TRUE(dir.exists("pics/p1.jpg"));

    win.answers = {true};
    select(1);
    EXPECT_FALSE(dir.exists("pics/p1.jpg"));
    EXPECT_EQ(win.items, (std::vector<std::string>{"p0.jpg", "p2.jpg"}));
    EXPECT_EQ(win.panel1, pics() + "p2.jpg");
    EXPECT_EQ(win.counter, "2 jpg Pictures/ 2");
}

TEST_F(StaleEntries, ARunOfVanishedFilesAnsweredYesEmptiesThePage) {
    const std::string text = picturesList(30);
    std::filesystem::remove_all(pics()); // the folder is there, its pictures are not
    std::filesystem::create_directory(pics());
    win.answers = std::deque<bool>(30, true);
    load("jpg", text);
    EXPECT_EQ(win.questions().size(), 30U);
    EXPECT_EQ(win.listCount(), 0);
    EXPECT_EQ(win.selected, -1);
    EXPECT_TRUE(dir.exists("Zelvanojpg.log"));
    EXPECT_EQ(dir.read("Zelvanojpg.log"), "");
}

} // namespace
} // namespace zelvano::test
