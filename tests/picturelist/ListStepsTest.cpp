#include "picturelist/ListSteps.h"

#include "fileops/Rename.h"
#include "picturelist/Delete.h"
#include "support/AppFixture.h"
#include "viewing/Selection.h"

#include <algorithm>
#include <filesystem>

namespace zelvano::test {
namespace {

class ListSteps : public AppFixture {};

TEST_F(ListSteps, LoadingShowsTheFirstPageWithTheFirstEntrySelected) {
    for (const int records : {75, 30, 10, 1}) {
        const int before = win.previews;
        load("jpg", picturesList(records));
        const int shown = std::min(records, 30);
        EXPECT_EQ(c.state.PicCount(), records);
        ASSERT_EQ(win.listCount(), shown) << records << " records";
        EXPECT_EQ(win.items.front(), "p0.jpg");
        EXPECT_EQ(win.items.back(), "p" + std::to_string(shown - 1) + ".jpg");
        EXPECT_EQ(win.selected, 0);
        EXPECT_EQ(win.previews, before + 1) << "the selection handling ran once";
        EXPECT_EQ(win.counter, std::to_string(records) + " jpg Pictures/ 1");
        EXPECT_TRUE(win.messages().empty());
    }
}

TEST_F(ListSteps, WithoutAListFileToReadTheTableIsEmptied) {
    // A type never scanned says so, and the page starts at the top again.
    load("jpg", picturesList(40));
    c.state.PageStart = 30;
    c.state.PicType = "gif";
    win.listClear();
    HentListe(c);
    EXPECT_EQ(win.messages(),
              std::vector<std::string>{
                  "There have not been Scanned fore gif pictures. Click on 'Scan disk/disks'."});
    EXPECT_EQ(c.state.PicCount(), 0);
    EXPECT_EQ(c.state.PageStart, 0);
    EXPECT_TRUE(c.state.PicList.name(0).empty());
    EXPECT_TRUE(win.preview.empty());
    EXPECT_EQ(win.listCount(), 0);
    EXPECT_EQ(win.counter, "0 gif Pictures/ 0");

    // An unreadable list file is named with its reason.
    load("jpg", picturesList(5));
    ASSERT_EQ(c.state.PicCount(), 5);
    const std::string path = CurrentListFile(c);
    os.failReads[path] = OpResult::fail(Failure::AccessError, "Permission denied");
    win.listClear();
    HentListe(c);
    ASSERT_EQ(win.messages().size(), 2U);
    EXPECT_EQ(win.messages()[1], "The list file " + path + " could not be read: Permission denied");
    EXPECT_EQ(c.state.PicCount(), 0);
    EXPECT_EQ(win.listCount(), 0);
    EXPECT_EQ(win.counter, "0 jpg Pictures/ 0");
}

// A failed rewrite after a Delete, a Rename or a clean-up is reported, and the page goes on showing
// what is on the disk, also when there is no list file left to read back.
TEST_F(ListSteps, AFailedSaveIsReportedAndThePageFollowsTheDisk) {
    struct Case {
        const char* what;
        bool listFileGone, pictureGone;
        void (*act)(Context&);
        std::vector<std::string> page;
    };
    const std::vector<Case> cases = {
        {"delete", false, false, Command5_Click, {"p0.jpg", "p2.jpg"}},
        {"rename", false, false, Command4_Click, {"p0.jpg", "new.jpg", "p2.jpg"}},
        {"delete, no list file", true, false, Command5_Click, {"p0.jpg", "p2.jpg"}},
        {"vanished file, taken off", true, true, List1_Click, {"p0.jpg", "p2.jpg"}},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.what);
        const std::string text = picturesList(3);
        load("jpg", text);
        const std::string path = CurrentListFile(c);
        if (k.listFileGone) {
            std::filesystem::remove(path);
        }
        os.failWrites[path] = OpResult::fail(Failure::Other, "No space left on device");
        if (k.pictureGone) {
            std::filesystem::remove(dir.folder("pics") + "p1.jpg");
        }
        win.journal.clear();
        win.answers = {true}; // delete it, take it off
        win.typed = {"new"};
        win.selected = 1;
        k.act(c);
        os.failWrites.clear();
        EXPECT_EQ(win.messages(),
                  std::vector<std::string>{"The list file " + path +
                                           " could not be written: No space left on device."});
        EXPECT_EQ(win.items, k.page);
        EXPECT_EQ(c.state.PicCount(), static_cast<int>(k.page.size()));
        EXPECT_EQ(win.panel1, dir.folder("pics") + win.items[1])
            << "the entry now at the place is a real path";
        EXPECT_EQ(dir.exists("Zelvanojpg.log") ? dir.read("Zelvanojpg.log") : "", k.listFileGone ? "" : text);
    }
}

} // namespace
} // namespace zelvano::test
