#include "printing/Print.h"

#include "printing/PrintGeometry.h"
#include "support/AppFixture.h"
#include "viewing/Selection.h"

namespace zelvano::test {
namespace {

TEST(PrintGeometry, FitScaleAndOrientation) {
    const float PW = 190.0F;
    const float PH = 277.0F;
    // Fits, though wider than tall: own size, portrait.
    PrintPlacement p = PlacePrint(150, 100, 560, 373, PW, PH, 148, 98.7F);
    EXPECT_FALSE(p.landscape);
    EXPECT_FLOAT_EQ(p.width, 148);
    EXPECT_FLOAT_EQ(p.height, 98.7F);
    // Exactly the printable size fits: the test is strictly less-than.
    p = PlacePrint(PW, PH, 714, 1043, PW, PH, 189, 276);
    EXPECT_FALSE(p.landscape);
    EXPECT_FLOAT_EQ(p.width, 189);
    // 3000 x 2000, too large: landscape, filling the turned page as far as it goes.
    p = PlacePrint(794, 529, 3000, 2000, PW, PH, 793, 529);
    EXPECT_TRUE(p.landscape);
    EXPECT_FLOAT_EQ(p.width, 3000 * Min(PH / 3000, PW / 2000));
    EXPECT_FLOAT_EQ(p.width, PH);
    EXPECT_NEAR(p.height, 184.67F, 0.01F);
    // Square and too large: portrait.
    p = PlacePrint(300, 300, 1130, 1130, PW, PH, 299, 299);
    EXPECT_FALSE(p.landscape);
    EXPECT_FLOAT_EQ(p.width, PW);
    EXPECT_FLOAT_EQ(p.height, PW);
    // Min keeps the first on a tie and takes the second only when smaller.
    EXPECT_FLOAT_EQ(Min(2.0F, 1.0F), 1.0F);
    EXPECT_FLOAT_EQ(Min(1.0F, 2.0F), 1.0F);
}

class Print : public AppFixture {};

TEST_F(Print, TheSizeTextIsInPixelsAfterTheFirstUseEvenWhenCancelled) {
    dir.writeBmp("pics/vga.jpg", 640, 480);
    load("jpg", ListText({{dir.folder("pics"), "vga.jpg"}}));
    EXPECT_EQ(win.panel2, "Size: 9660 x 7260");
    win.printAnswer = false;
    Command7_Click(c);
    EXPECT_TRUE(win.printed.empty());
    win.selected = -1;
    SelectEntry(c, 0);
    EXPECT_EQ(win.panel2, "Size: 644 x 484");
}

TEST_F(Print, AtItsOwnSizeWhenItFitsElseScaledDown) {
    dir.writeBmp("pics/vga.jpg", 640, 480);
    dir.writeBmp("pics/wide.jpg", 2000, 1000);
    load("jpg", ListText({{dir.folder("pics"), "vga.jpg"}, {dir.folder("pics"), "wide.jpg"}}));
    Command7_Click(c);
    ASSERT_EQ(win.printed.size(), 1U);
    EXPECT_FALSE(win.printed[0].landscape);
    EXPECT_NEAR(win.printed[0].width, 640 * 25.4 / 96, 0.01);
    EXPECT_NEAR(win.printed[0].height, 127.0, 0.01);

    SelectEntry(c, 1);
    Command7_Click(c);
    ASSERT_EQ(win.printed.size(), 2U);
    EXPECT_TRUE(win.printed[1].landscape);
    EXPECT_FLOAT_EQ(win.printed[1].width, 277.0F);
    EXPECT_FLOAT_EQ(win.printed[1].height, 138.5F);
}

TEST_F(Print, NothingLoadedPrintsNothing) {
    Command7_Click(c);
    EXPECT_TRUE(win.printed.empty());
    EXPECT_TRUE(win.journal.empty()) << "not even the printer dialog";
}

} // namespace
} // namespace zelvano::test
