#include "picturelist/Entries.h"

namespace zelvano {

std::size_t RowOf(const Context& c, int index) {
    return static_cast<std::size_t>(c.state.PageStart) + static_cast<std::size_t>(index);
}

std::string EntryPath(const Context& c, int index) {
    return std::string(c.state.PicList.folder(RowOf(c, index))) + c.win.listText(index);
}

std::string SelectedPath(const Context& c) {
    const int index = c.win.listIndex();
    return index < 0 ? std::string() : EntryPath(c, index);
}

void SelectEntry(Context& c, int index) {
    if (index < 0 || index >= c.win.listCount() || c.win.listIndex() == index) {
        return;
    }
    c.win.setListIndex(index);
    if (c.selectionHandling != nullptr) {
        c.selectionHandling(c);
    }
}

} // namespace zelvano
