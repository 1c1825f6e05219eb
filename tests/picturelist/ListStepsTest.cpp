#include "picturelist/ListSteps.h"

#include "support/AppFixture.h"

#include <algorithm>
#include <filesystem>

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
    writeList("jpg", picturesList(40));
    c.state.PicType = "jpg";
    HentListe(c);
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

TEST_F(ListSteps, AnEmptyListFileIsAnEmptyListWithoutMessage) {
    writeList("bmp", "");
    c.state.PicType = "bmp";
    HentListe(c);
    EXPECT_TRUE(win.messages().empty());
    EXPECT_EQ(win.listCount(), 0);
    EXPECT_EQ(win.selected, -1);
    EXPECT_EQ(win.counter, "0 bmp Pictures/ 0");
}

TEST_F(ListSteps, AnUnreadableListFileIsNamedWithItsReasonAndLeavesTheTableEmpty) {
    writeList("jpg", picturesList(5));
    c.state.PicType = "jpg";
    HentListe(c);
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

TEST_F(ListSteps, AListFileThatCannotBeRewrittenIsLeftAsItWasAndReloaded) {
    const std::string text = picturesList(3);
    const std::string path = writeList("jpg", text);
    c.state.PicType = "jpg";
    HentListe(c);

    c.state.PicList.markRemoved(1);
    os.failWrites[path] = OpResult::fail(Failure::Other, "No space left on device");
    EXPECT_FALSE(SaveList(c).ok());
    ReloadList(c);
    EXPECT_EQ(dir.read("Zelvanojpg.log"), text);
    EXPECT_EQ(c.state.PicCount(), 3);
    EXPECT_EQ(c.state.PicList.name(1), "p1.jpg");
    EXPECT_FALSE(c.state.PicList.removed(1));
}

TEST_F(ListSteps, SaveAndReloadDropAMarkedRow) {
    writeList("jpg", picturesList(3));
    c.state.PicType = "jpg";
    HentListe(c);
    c.state.PicList.markRemoved(0);
    ASSERT_TRUE(SaveList(c).ok());
    ReloadList(c);
    EXPECT_EQ(c.state.PicCount(), 2);
    EXPECT_EQ(c.state.PicList.name(0), "p1.jpg");
    EXPECT_EQ(dir.read("Zelvanojpg.log"),
              ListText({{dir.folder("pics"), "p1.jpg"}, {dir.folder("pics"), "p2.jpg"}}));
}

} // namespace
} // namespace zelvano::test
