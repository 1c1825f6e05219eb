#include "picturelist/Paging.h"

#include "picturelist/Entries.h"
#include "picturelist/ListSteps.h"

namespace zelvano {

namespace {

constexpr int kLastRow = static_cast<int>(PicTable::kRows) - 1;

void ShowPageFromStart(Context& c) {
    c.win.listClear();
    FillPage(c);
    if (c.win.listCount() > 0) {
        SelectEntry(c, 0);
    }
    c.win.focusList();
}

} // namespace

void Command2_Click(Context& c) {
    AppState& s = c.state;
    s.PageStart -= kPageSize;
    if (s.PageStart <= 1) {
        s.PageStart = 0;
    }
    ShowPageFromStart(c);
}

void Command3_Click(Context& c) {
    AppState& s = c.state;
    if (s.PageStart + c.win.listCount() == s.PicCount()) {
        return; // the page already reaches the last record
    }
    if (s.PageStart + kPageSize < s.PicCount()) {
        if (s.PageStart + kPageSize >= kLastRow) {
            return;
        }
        s.PageStart += kPageSize;
        ShowPageFromStart(c);
    }
}

} // namespace zelvano
