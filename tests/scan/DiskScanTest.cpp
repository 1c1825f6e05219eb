#include "scan/DiskScan.h"

#include "picturelist/ListFile.h"
#include "picturelist/Paging.h"
#include "support/AppFixture.h"
#if !defined(_WIN32)
#include "support/PlainDriveMount.h"
#endif
#include "viewing/Selection.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>

namespace zelvano::test {
namespace {

class DiskScan : public AppFixture {
protected:
    DiskScan() { os.drives = {dir.folder("disk1"), dir.folder("disk2")}; }
};

TEST_F(DiskScan, WritesTheListAndShowsItsFirstPage) {
    for (int i = 0; i < 20; ++i) {
        dir.writeBmp("disk1/a/" + std::to_string(i) + ".jpg", 4, 4);
    }
    dir.writeBmp("disk2/b/last.jpg", 4, 4);
    dir.write("disk2/b/other.gif", "");
    for (int i = 0; i < 15; ++i) {
        dir.writeBmp("disk2/c/" + std::to_string(i) + ".JPG", 4, 4);
    }
    load("jpg", picturesList(3)); // the old list's page, preview and counter are showing
    win.focused = false;
    const std::size_t waits = win.waits.size();
    Command1_Click(c);

    EXPECT_EQ(win.whileWaiting.at(waits), "list 0, counter '', panels '' '', preview '', busy");
    ASSERT_EQ(c.state.PicCount(), 36);
    EXPECT_EQ(dir.read("Zelvanojpg.log"), SerializeList(c.state.PicList)) << "the list file is the table";
    EXPECT_EQ(c.state.PicList.folder(0), dir.folder("disk1/a")) << "drives in their order";
    EXPECT_EQ(c.state.PicList.folder(35), dir.folder("disk2/c"));
    EXPECT_EQ(win.listCount(), 30);
    EXPECT_EQ(win.selected, 0);
    EXPECT_EQ(win.previews, 2) << "one for the old list, one for the new";
    EXPECT_TRUE(win.focused);
    EXPECT_EQ(win.counter, "36 Pictures/ 1");
    EXPECT_EQ(win.waitProgress, "36 pictures found, 5 folders searched");
    EXPECT_FALSE(win.waitShown);
    EXPECT_FALSE(win.busy);
    EXPECT_TRUE(win.messages().empty());
}

TEST_F(DiskScan, NothingFoundDeletesTheOldListAndSaysSo) {
    dir.write("disk1/a.jpg", "");
    writeList("gif", ListText({{"/old/", "stale.gif"}}));
    writeList("jpg", ListText({{"/old/", "kept.jpg"}}));
    c.state.PicType = "gif";
    c.state.PageStart = 30; // a later page was shown before
    Command1_Click(c);
    EXPECT_FALSE(dir.exists("Zelvanogif.log"));
    EXPECT_TRUE(dir.exists("Zelvanojpg.log")) << "other types' lists are untouched";
    EXPECT_EQ(win.journal.back(), "message:There are no gif on your computer.");
    EXPECT_EQ(win.journal[win.journal.size() - 2], "wait closed")
        << "the message comes after the wait window";
    EXPECT_EQ(win.counter, "0 Pictures/ 0");
    EXPECT_FALSE(win.busy);
    EXPECT_EQ(win.listCount(), 0);
    EXPECT_EQ(c.state.PicCount(), 0);
}

TEST_F(DiskScan, AListThatCannotBeWrittenIsNamedAndThePicturesStayShown) {
    dir.writeBmp("disk1/a.jpg", 4, 4);
    const std::string path = dir.path() + kSep + "Zelvanojpg.log";
    os.failWrites[path] = OpResult::fail(Failure::AccessError, "Read-only file system");
    c.state.PicType = "jpg";
    Command1_Click(c);
    EXPECT_EQ(win.messages(), std::vector<std::string>{"The list file " + path +
                                                       " could not be written: Read-only file system. The "
                                                       "pictures found are shown until Zelvano ends."});
    EXPECT_FALSE(dir.exists("Zelvanojpg.log"));
    EXPECT_EQ(win.items, std::vector<std::string>{"a.jpg"});
    EXPECT_EQ(win.counter, "1 Pictures/ 1");
}

TEST_F(DiskScan, MoreThanTheTableHoldsStopsAtItsLastRowAndSaysSo) {
    os.drives = {dir.folder("big"), dir.folder("disk2")};
    os.bigFolders[dir.folder("big")] = PicTable::kRows + 10;
    dir.writeBmp("disk2/after.jpg", 4, 4);
    c.state.PicType = "jpg";
    win.answers = {false}; // the listed pictures are not on the disk: keep the first one's entry
    Command1_Click(c);
    EXPECT_EQ(c.state.PicCount(), static_cast<int>(PicTable::kRows));
    EXPECT_EQ(win.messages(),
              std::vector<std::string>{
                  "More than 500001 jpg pictures were found. The list holds the first 500001."});
    EXPECT_EQ(win.counter, "500001 Pictures/ 1");
}

// A drive that stops answering holds only itself: the other drives are searched meanwhile, the wait
// window names it, and its pictures keep the records the last scan gave them.
TEST_F(DiskScan, ADriveThatDoesNotAnswerIsPassedOverAndKeepsItsRecords) {
    os.drives = {dir.folder("disk1"), dir.folder("disk2"), dir.folder("disk3")};
    dir.writeBmp("disk1/a.jpg", 4, 4);
    dir.writeBmp("disk2/sub/new.jpg", 4, 4);
    dir.writeBmp("disk3/c.jpg", 4, 4);
    load("jpg", ListText({{dir.folder("disk1"), "a.jpg"},
                          {dir.folder("disk2/sub"), "old2.jpg"},
                          {dir.folder("elsewhere"), "x.jpg"},
                          {dir.folder("disk3"), "old3.jpg"}}));
    Gate silent;
    os.gate = &silent;
    os.silent = {dir.folder("disk2")};
    c.state.scanSilence = std::chrono::milliseconds(300);
    win.cancelAfter = std::chrono::seconds(10); // a scan that waits for the silent drive ends all the same
    Command1_Click(c);
    EXPECT_EQ(SerializeList(c.state.PicList), ListText({{dir.folder("disk1"), "a.jpg"},
                                                        {dir.folder("disk2/sub"), "old2.jpg"},
                                                        {dir.folder("disk3"), "c.jpg"}}));
    EXPECT_EQ(dir.read("Zelvanojpg.log"), SerializeList(c.state.PicList));
    const auto progress = win.shown("progress");
    EXPECT_NE(
        std::find(progress.begin(), progress.end(),
                  "Waiting for " + dir.folder("disk2") + " to answer - 2 pictures found, 2 folders searched"),
        progress.end());
    EXPECT_EQ(win.messages(), std::vector<std::string>{"The drive " + dir.folder("disk2") +
                                                       " did not answer. Its pictures are listed as the last "
                                                       "scan found them."});
    silent.open();
    win.finishLeftBehind(); // while the gate it waits at is there
}

// A drive that stops answering in the middle of a scan: Cancel gives the window back at once, and
// nothing of the scan is kept, not even what the search finds when the drive answers again. A scan
// that fails keeps everything too, and says why.
TEST_F(DiskScan, ACancelledOrFailedScanLeavesEverythingAsItWas) {
    const std::string text = picturesList(40);
    load("jpg", text);
    Command3_Click(c); // the second page, its sixth entry selected
    win.selected = -1;
    SelectEntry(c, 5);
    const std::string counter = win.counter;
    dir.writeBmp("disk1/new.jpg", 4, 4);
    Gate silent;
    os.gate = &silent;
    os.silent = {dir.folder("disk1")};
    win.cancelAfter = std::chrono::milliseconds(100);
    win.focused = false;

    const std::size_t waits = win.waits.size();
    const auto pressed = std::chrono::steady_clock::now();
    Command1_Click(c);
    EXPECT_LT(std::chrono::steady_clock::now() - pressed, std::chrono::milliseconds(500));
    EXPECT_EQ(win.waits.at(waits).patience.count(), 0) << "the search's wait";
    const auto asBefore = [&] {
        EXPECT_EQ(dir.read("Zelvanojpg.log"), text);
        EXPECT_EQ(c.state.PicCount(), 40);
        EXPECT_EQ(c.state.PageStart, 30);
        EXPECT_EQ(win.items.front(), "p30.jpg");
        EXPECT_EQ(win.selected, 5);
        EXPECT_EQ(win.preview, dir.folder("pics") + "p35.jpg");
        EXPECT_EQ(win.panel1, dir.folder("pics") + "p35.jpg");
        EXPECT_EQ(win.counter, counter);
    };
    asBefore();
    EXPECT_TRUE(win.focused);
    EXPECT_FALSE(win.waitShown);
    EXPECT_FALSE(win.busy);
    EXPECT_TRUE(win.messages().empty());

    silent.open(); // the drive answers again
    win.finishLeftBehind();
    asBefore();

    os.drivesFailure = "out of memory";
    Command1_Click(c);
    asBefore();
    EXPECT_EQ(win.messages(), std::vector<std::string>{"The scan could not be completed: out of memory."});
}

#if !defined(_WIN32)
std::size_t Threads() {
    return static_cast<std::size_t>(
        std::distance(std::filesystem::directory_iterator("/proc/self/task"), {}));
}

// A share that has stopped answering, mounted inside a drive: however often the user scans and
// cancels, the share holds no more threads than the one listing of its root that the first scan
// left with it; the drive around it is searched whole (a link into the share is not followed), and
// the share is named and keeps its records.
TEST_F(DiskScan, ASilentShareInsideADriveHoldsOnlyItselfAndOneThread) {
    dir.writeBmp("disk/a.jpg", 4, 4);
    dir.writeBmp("disk/sub/b.jpg", 4, 4);
    dir.writeBmp("disk/share/far.jpg", 4, 4);
    std::filesystem::create_symlink(dir.path() + "/disk/share/far.jpg", dir.path() + "/disk/fav.jpg");
    const PlainDriveMount share(dir.path() + "/disk/share", {"--silent"});
    if (!share.ok()) {
        GTEST_SKIP() << share.why();
    }
    const std::string disk = dir.folder("disk");
    const std::string shared = dir.folder("disk/share");
    os.drives = {disk, shared};
    load("jpg", ListText({{disk, "a.jpg"}, {shared, "far.jpg"}}));
    const std::size_t before = Threads();
    const auto settlesAt = [](std::size_t count) {
        for (int i = 0; i < 500 && Threads() != count; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return Threads();
    };
    win.cancelAfter = std::chrono::milliseconds(100); // long before the share's time is up
    for (int scan = 0; scan < 6; ++scan) {
        Command1_Click(c);
        EXPECT_EQ(settlesAt(before + 1), before + 1) << "scan " << scan;
    }
    win.cancelAfter.reset();
    c.state.scanSilence = std::chrono::milliseconds(300);
    Command1_Click(c);
    EXPECT_EQ(SerializeList(c.state.PicList),
              ListText({{disk, "a.jpg"}, {disk + "sub/", "b.jpg"}, {shared, "far.jpg"}}));
    EXPECT_EQ(win.messages().back(),
              "The drive " + shared +
                  " did not answer. Its pictures are listed as the last scan found them.");
    share.goOn();
    EXPECT_EQ(settlesAt(before), before) << "the listing it held ends when it answers";
}
#endif

} // namespace
} // namespace zelvano::test
