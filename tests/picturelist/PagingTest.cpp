#include "picturelist/Paging.h"

#include "picturelist/ListSteps.h"
#include "support/AppFixture.h"

namespace zelvano::test {
namespace {

class Paging : public AppFixture {};

struct Step {
    char button;            // 'N' Next 30, 'P' Previous 30
    int pageStart, entries; // afterwards
    bool moves;             // false: nothing happens, not even a change of selection or focus
};

TEST_F(Paging, WorkedSequences) {
    // A list of so many records, and steps from its first page.
    const std::vector<std::pair<int, std::vector<Step>>> sequences = {
        {75,
         {{'N', 30, 30, true},
          {'N', 60, 15, true},
          {'N', 60, 15, false},
          {'P', 30, 30, true},
          {'P', 0, 30, true},
          {'P', 0, 30, true}}},
        {60, {{'N', 30, 30, true}, {'N', 30, 30, false}, {'P', 0, 30, true}}},
        {30, {{'N', 0, 30, false}, {'P', 0, 30, true}}},
        {10, {{'N', 0, 10, false}, {'P', 0, 10, true}}},
        {0, {{'N', 0, 0, false}, {'P', 0, 0, true}}},
    };
    for (const auto& [records, steps] : sequences) {
        load("jpg", picturesList(records));
        for (std::size_t i = 0; i < steps.size(); ++i) {
            const Step& step = steps[i];
            SCOPED_TRACE(std::to_string(records) + " records, step " + std::to_string(i + 1));
            const int otherEntry = std::min(3, win.listCount() - 1); // a selection that a move would reset
            win.selected = otherEntry;
            win.focused = false;
            const int previews = win.previews;
            (step.button == 'N' ? Command3_Click : Command2_Click)(c);

            EXPECT_EQ(c.state.PageStart, step.pageStart);
            ASSERT_EQ(win.listCount(), step.entries);
            if (step.entries > 0) {
                EXPECT_EQ(win.items.front(), "p" + std::to_string(step.pageStart) + ".jpg");
            }
            // A move shows the page with its first entry selected, and the list box has the focus.
            const bool shows = step.moves && step.entries > 0;
            EXPECT_EQ(win.focused, step.moves);
            EXPECT_EQ(win.selected, step.moves ? (shows ? 0 : -1) : otherEntry);
            EXPECT_EQ(win.previews, previews + (shows ? 1 : 0));
            if (shows) {
                EXPECT_EQ(win.counter,
                          std::to_string(records) + " jpg Pictures/ " + std::to_string(step.pageStart + 1));
            }
        }
    }
}

TEST_F(Paging, NoPageStartsAtTheTablesLastRow) {
    load("jpg", picturesList(1));
    for (int i = 1; i < static_cast<int>(PicTable::kRows); ++i) {
        c.state.PicList.append("/x/", "n.jpg");
    }
    c.state.PageStart = 499970; // the next page would start at row 500000, the last
    win.listClear();
    FillPage(c);
    Command3_Click(c);
    EXPECT_EQ(c.state.PageStart, 499970);
    EXPECT_EQ(win.listCount(), 30);
}

} // namespace
} // namespace zelvano::test
