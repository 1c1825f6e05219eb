#include "printing/Print.h"

#include "printing/PrintGeometry.h"
#include "support/AppFixture.h"
#include "viewing/Selection.h"

#include <algorithm>

namespace zelvano::test {
namespace {

TEST(PrintGeometry, FitScaleAndOrientation) {
    const float PW = 190.0F, PH = 277.0F; // the printable page
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
    // Decoded at no more than 300 pixels an inch, each way on its own, and never to nothing.
    EXPECT_EQ(PrintPixels({9600, 4800}, 1200, 600), (PixelSize{2400, 2400}));
    EXPECT_EQ(PrintPixels({2000, 3}, 300, 1200), (PixelSize{2000, 1}));
}

class Print : public AppFixture {};

TEST_F(Print, AtItsOwnSizeWhenItFitsElseScaledDown) {
    dir.writeBmp("pics/vga.jpg", 640, 480);
    dir.writeBmp("pics/wide.jpg", 2000, 1000);
    load("jpg", ListText({{dir.folder("pics"), "vga.jpg"}, {dir.folder("pics"), "wide.jpg"}}));
    // The size text is in pixels after the first use, even when it was cancelled.
    EXPECT_EQ(win.panel2, "Size: 9660 x 7260");
    win.printAnswer = false;
    Command7_Click(c);
    EXPECT_TRUE(win.printed.empty());
    win.selected = -1;
    SelectEntry(c, 0);
    EXPECT_EQ(win.panel2, "Size: 644 x 484");

    win.printAnswer = true;
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

// Picture1 keeps the last picture that loaded; Print must not print it for another entry.
TEST_F(Print, OnlyTheSelectedPictureIsPrintedAndAFailureSaysWhy) {
    Command7_Click(c); // nothing loaded, nothing selected: not even the printer dialog
    EXPECT_TRUE(win.journal.empty());
    const std::string pics = dir.folder("pics");
    dir.writeBmp("pics/vga.jpg", 640, 480);
    dir.write("pics/text.jpg", "just text");
    dir.writeBmp("pics/huge.jpg", 17000, 17000);
    win.undecodable[pics + "huge.jpg"] = OpResult::fail(Failure::Other, "too large to decode");
    load("jpg", ListText({{pics, "vga.jpg"}, {pics, "text.jpg"}, {pics, "huge.jpg"}}));

    win.answers = {false}; // keep the file that is not a picture
    SelectEntry(c, 1);
    Command7_Click(c);
    SelectEntry(c, 2); // recognised, too large to decode: not offered for deletion
    EXPECT_EQ(win.panel2, "Size: 17004 x 17004") << "its size from its header, in pixels after Print";
    Command7_Click(c);
    EXPECT_EQ(win.messages(),
              (std::vector<std::string>{"The picture text.jpg can not be printed: not a bitmap.",
                                        "The picture huge.jpg can not be printed: too large to decode."}));
    EXPECT_EQ(win.questions().size(), 1U);
    EXPECT_EQ(std::count(win.journal.begin(), win.journal.end(), "printer dialog"), 0);
    EXPECT_TRUE(win.printed.empty());

    win.printResult = OpResult::fail(Failure::Other, "the printer could not be started");
    SelectEntry(c, 0);
    Command7_Click(c);
    EXPECT_EQ(win.printed.size(), 1U);
    EXPECT_EQ(win.messages().back(),
              "The picture vga.jpg can not be printed: the printer could not be started.");

    dir.writeBmp("pics/a.tif", 8, 8); // a tif is never loaded into Picture1, which keeps vga.jpg
    load("tif", ListText({{pics, "a.tif"}}));
    Command7_Click(c);
    EXPECT_EQ(win.printed.size(), 1U);
}

} // namespace
} // namespace zelvano::test
