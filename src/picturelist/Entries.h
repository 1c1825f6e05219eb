#pragma once

#include "state/Context.h"

#include <string>

namespace zelvano {

// The list box's entries and the table rows behind them.

// Selects a list-box entry as a user's click would: the selection handling runs (through
// Context::selectionHandling) when the selection changes, and not when the entry is already the
// selected one.
void SelectEntry(Context& c, int index);

// The table row of list-box entry `index`, and its picture's full path (the row's folder followed
// by the entry's text).
std::size_t RowOf(const Context& c, int index);
std::string EntryPath(const Context& c, int index);

// The full path of the selected entry; empty when nothing is selected.
std::string SelectedPath(const Context& c);

} // namespace zelvano
