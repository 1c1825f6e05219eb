#include "app/Startup.h"

#include "app/FmZelvano.h"
#include "support/AppFixture.h"

#include <filesystem>

namespace zelvano::test {
namespace {

class Startup : public AppFixture {};

TEST_F(Startup, PicksTheFirstTypeWithAListFile) {
    struct Case {
        std::vector<std::string> lists;
        std::string type;
        int option;
    };
    const std::vector<Case> cases = {
        {{"gif"}, "gif", 3},
        {{"tif"}, "tif", 4},
        {{"bmp", "jpeg"}, "jpeg", 1},
        {{"tif", "gif", "bmp", "jpeg", "jpg"}, "jpg", 0},
    };
    for (const auto& k : cases) {
        TestFolder folder;
        TestOs testOs(folder.path());
        FakeWindow w;
        for (const auto& type : k.lists) {
            folder.writeBmp("pics/a." + type, 4, 4);
            folder.write("Zelvano" + type + ".log", ListText({{folder.folder("pics"), "a." + type}}));
        }
        FmZelvano form(testOs, w);
        form.Form_Load();
        EXPECT_EQ(form.context().state.PicType, k.type);
        EXPECT_EQ(w.option, k.option);
        EXPECT_TRUE(w.enabled[Button::Command1]);
        EXPECT_EQ(w.items, std::vector<std::string>{"a." + k.type});
        EXPECT_EQ(w.previews, 1) << "the list is loaded once";
        EXPECT_TRUE(w.messages().empty());
        form.meUpdate_Click();
        EXPECT_EQ(testOs.opened, std::vector<std::string>{"https://zelvano.org/update"});
    }
}

TEST_F(Startup, WithoutAnyListFileTheWindowShowsAndAsksForAType) {
    std::filesystem::create_directory(dir.path() + "/Zelvanojpg.log"); // a folder is no list file
    Form_Load(c);
    EXPECT_EQ(win.journal,
              (std::vector<std::string>{"show", "message:Those, the picture format you want to scan fore."}));
    EXPECT_TRUE(c.state.PicType.empty());
    EXPECT_EQ(win.option, -1);
    EXPECT_FALSE(win.enabled[Button::Command1]);
    EXPECT_TRUE(win.counter.empty());

    // Choosing a type then makes scanning possible.
    OptionClick(c, 3);
    EXPECT_TRUE(win.enabled[Button::Command1]);
    EXPECT_EQ(win.messages().back(),
              "There have not been Scanned fore gif pictures. Click on 'Scan disk/disks'.");
}

TEST_F(Startup, AnEmptyListFileStillChoosesItsType) {
    writeList("jpeg", "");
    Form_Load(c);
    EXPECT_EQ(c.state.PicType, "jpeg");
    EXPECT_EQ(win.option, 1);
    EXPECT_EQ(win.counter, "0 jpeg Pictures/ 0");
    EXPECT_EQ(win.listCount(), 0);
    EXPECT_TRUE(win.messages().empty());
}

TEST_F(Startup, WindowIsPlacedInTheWorkArea) {
    Form_Load(c);
    EXPECT_EQ(win.placed.left, (1280 - 776) / 2) << "start-up places the window";
    // 1280 x 1024 screen with a 24-pixel panel at the top; 776 x 550 window.
    EXPECT_EQ(PlaceInWorkArea({0, 24, 1280, 1000}, {776, 550}, 15).left, 252);
    EXPECT_EQ(PlaceInWorkArea({0, 24, 1280, 1000}, {776, 550}, 15).top, 24 + 225);
    // A work area exactly 600 twips high puts the window at its top edge.
    EXPECT_EQ(PlaceInWorkArea({0, 0, 1280, 40}, {776, 550}, 15).top, 0);
    // A work area smaller than the window keeps the title bar on the screen.
    EXPECT_EQ(PlaceInWorkArea({0, 0, 640, 480}, {776, 550}, 15).top, 0);
    EXPECT_EQ(PlaceInWorkArea({0, 0, 640, 480}, {776, 550}, 15).left, 0);
}

} // namespace
} // namespace zelvano::test
