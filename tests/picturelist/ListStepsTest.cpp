#include "picturelist/ListSteps.h"

#include "fileops/Rename.h"
#include "picturelist/Delete.h"
#include "support/AppFixture.h"
#include "viewing/Selection.h"

#include <algorithm>
#include <filesystem>
#include <functional>

namespace zelvano::test {
namespace {

class ListSteps : public AppFixture {};

TEST_F(ListSteps, LoadingShowsTheFirstPageWithTheFirstEntrySelected) {
    for (const int records : {75, 30, 10, 1}) {
        writeList("jpg", picturesList(records));
        c.state.PicType = "jpg";
        const int before = win.previews;
        win.listClear();
        HentListe(c);
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

TEST_F(ListSteps, ATypeNeverScannedSaysSoAndEmptiesTheTable) {
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
}

TEST_F(ListSteps, AnUnreadableListFileIsNamedWithItsReasonAndLeavesTheTableEmpty) {
    load("jpg", picturesList(5));
    ASSERT_EQ(c.state.PicCount(), 5);

    const std::string path = CurrentListFile(c);
    os.failReads[path] = OpResult::fail(Failure::AccessError, "Permission denied");
    win.listClear();
    HentListe(c);
    ASSERT_EQ(win.messages().size(), 1U);
    EXPECT_EQ(win.messages()[0], "The list file " + path + " could not be read: Permission denied");
    EXPECT_EQ(c.state.PicCount(), 0);
    EXPECT_EQ(win.listCount(), 0);
    EXPECT_EQ(win.counter, "0 jpg Pictures/ 0");
}

// A failed rewrite after a Delete, a Rename or a clean-up is reported, and the page goes on showing
// what is on the disk, also when there is no list file left to read back.
TEST_F(ListSteps, AFailedSaveIsReportedAndThePageFollowsTheDisk) {
    struct Case {
        const char* what;
        bool listFileGone;
        std::function<void()> act;
        std::vector<std::string> page;
    };
    const auto deleteIt = [&] {
        win.answers = {true};
        Command5_Click(c);
    };
    const auto renameIt = [&] {
        win.typed = {"new"};
        Command4_Click(c);
    };
    const auto vanish = [&] {
        std::filesystem::remove(dir.folder("pics") + "p1.jpg");
        win.answers = {true};
        win.selected = -1;
        SelectEntry(c, 1);
    };
    const std::vector<Case> cases = {
        {"delete", false, deleteIt, {"p0.jpg", "p2.jpg"}},
        {"rename", false, renameIt, {"p0.jpg", "new.jpg", "p2.jpg"}},
        {"delete, no list file", true, deleteIt, {"p0.jpg", "p2.jpg"}},
        {"vanished file", true, vanish, {"p0.jpg", "p2.jpg"}},
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
        win.journal.clear();
        win.selected = 1;
        k.act();
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
