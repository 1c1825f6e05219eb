#include "viewing/Selection.h"

#include "picturelist/ListSteps.h"
#include "support/AppFixture.h"

#include <chrono>

namespace zelvano::test {
namespace {

class Selection : public AppFixture {};

// A tif is not loaded into the picture box and cannot be printed: the size is the box's designed
// size, or that of the picture loaded into the box before.
TEST_F(Selection, ShowsPathSizeInTwipsCounterAndWhetherItPrints) {
    const std::string pics = dir.folder("pics");
    dir.writeBmp("pics/a.tif", 100, 50);
    load("tif", ListText({{pics, "a.tif"}}));
    EXPECT_FALSE(win.enabled[Button::Command7]);
    EXPECT_FALSE(win.picture.has_value());
    EXPECT_EQ(win.panel2, "Size: 1215 x 495") << "the box's designed size";

    dir.writeBmp("pics/vga.jpg", 640, 480);
    load("jpg", ListText({{pics, "vga.jpg"}}));
    EXPECT_EQ(win.preview, pics + "vga.jpg");
    EXPECT_EQ(win.panel1, pics + "vga.jpg");
    EXPECT_EQ(win.panel2, "Size: 9660 x 7260");
    EXPECT_EQ(win.counter, "1 jpg Pictures/ 1");
    EXPECT_TRUE(win.enabled[Button::Command7]);

    load("tif", ListText({{pics, "a.tif"}}));
    EXPECT_EQ(win.panel2, "Size: 9660 x 7260") << "vga.jpg stays in the box";
}

TEST_F(Selection, OnlyANewSelectionIsHandledAndAReadThatDoesNotAnswerIsGivenUp) {
    const std::string pics = dir.folder("pics");
    load("jpg", picturesList(3));
    const int previews = win.previews;
    SelectEntry(c, 0); // selected already
    EXPECT_EQ(win.previews, previews);
    SelectEntry(c, 2);
    EXPECT_EQ(win.previews, previews + 1);
    EXPECT_EQ(c.state.SelIndex, 2);
    SelectEntry(c, 7); // no such entry
    EXPECT_EQ(win.selected, 2);

    // A picture on a drive that has stopped answering: the read is given up after its time, the
    // entry is shown as one that could not be read, and nothing is offered for deletion.
    Gate silent;
    os.gate = &silent;
    os.silent = {pics + "p1.jpg"};
    c.state.readSilence = std::chrono::milliseconds(100);
    const auto selected = std::chrono::steady_clock::now();
    SelectEntry(c, 1);
    EXPECT_LT(std::chrono::steady_clock::now() - selected, std::chrono::seconds(1));
    EXPECT_EQ(win.waits.back().patience, std::chrono::milliseconds(100));
    EXPECT_TRUE(win.questions().empty());
    EXPECT_EQ(win.previews, previews + 1) << "the picture readers are not asked for p1.jpg";
    EXPECT_TRUE(win.preview.empty());
    EXPECT_EQ(win.panel1, pics + "p1.jpg");
    EXPECT_EQ(win.panel2, "Size: 240 x 390") << "the picture box keeps p2.jpg";
    EXPECT_EQ(win.counter, "3 jpg Pictures/ 2");
    silent.open();
    win.finishLeftBehind();
}

} // namespace
} // namespace zelvano::test
